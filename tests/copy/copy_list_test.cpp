#include "state/copy_list.h"
#include "state/rename_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tl {
namespace {

std::string EntryText(const CopyList& list, std::size_t i) {
    const auto bytes = list.EntryBytes(i);
    return std::string(bytes.begin(), bytes.end());
}

TEST(CopyList, EntriesKeepTheirByteLayout) {
    CopyList list;
    EXPECT_TRUE(list.Empty());
    EXPECT_EQ(list.Count(), 0u);

    ASSERT_EQ(list.Append(kFlagDriver, '1', "SAMPLE.DRV"), CopyListError::None);
    ASSERT_EQ(list.Append(kFlagRenamedDriver, '2', "SAMPLE.DR_"), CopyListError::None);
    EXPECT_EQ(list.Count(), 2u);

    std::string expected = "\xB1"
                           "1:SAMPLE.DRV";
    expected.resize(kCopyEntrySize, '\0');
    EXPECT_EQ(EntryText(list, 0), expected);
    EXPECT_EQ(list.Bytes()[kCopyEntrySize], 0xB6);
    EXPECT_EQ(list.Name(1), "SAMPLE.DR_");
    EXPECT_EQ(list.DiskNumber(1), 2);
    // The list is ended behind its last entry.
    EXPECT_EQ(list.Flag(2), 0);
}

TEST(CopyList, KindsComeFromTheLowSevenBitsOfFlagMinusZero) {
    EXPECT_EQ(CopyKind('0'), kKindSkipped);
    EXPECT_EQ(CopyKind('1'), kKindSystemFile);
    EXPECT_EQ(CopyKind(0xB1), kKindSystemFile);
    EXPECT_EQ(CopyKind(0xB2), kKindDevice);
    EXPECT_EQ(CopyKind(0xB6), kKindRenamed);
    EXPECT_EQ(CopyKind('5'), kKindFont);
    // Below "0" the difference wraps: a kind above 6, which walkers pass over.
    EXPECT_GT(CopyKind(' '), 6);
    EXPECT_GT(CopyKind('7'), 6);
}

TEST(CopyList, FullTableHasNoEndEntryAndRefusesTheNext) {
    CopyList list;
    for (std::size_t i = 0; i < kCopyListEntries; ++i) {
        ASSERT_EQ(list.Append(kFlagSystemFile, '1', "F" + std::to_string(i) + ".DLL"),
                  CopyListError::None);
    }
    EXPECT_EQ(list.Count(), kCopyListEntries);
    const std::vector<std::uint8_t> before(list.Bytes().begin(), list.Bytes().end());

    EXPECT_EQ(list.Append(kFlagSystemFile, '1', "ONEMORE.DLL"), CopyListError::ListFull);
    EXPECT_EQ(list.AppendFontPair('1', "A.TTF", "Arial"), CopyListError::ListFull);
    EXPECT_EQ(std::vector<std::uint8_t>(list.Bytes().begin(), list.Bytes().end()), before);
    EXPECT_FALSE(CopyListErrorText(CopyListError::ListFull).empty());
}

TEST(CopyList, FontPairIsWrittenWholeOrNotAtAll) {
    CopyList list;
    for (std::size_t i = 0; i + 1 < kCopyListEntries; ++i) {
        ASSERT_EQ(list.Append(kFlagSystemFile, '1', "X.DLL"), CopyListError::None);
    }
    EXPECT_EQ(list.AppendFontPair('3', "ARIAL.TTF", "Arial"), CopyListError::ListFull);
    EXPECT_EQ(list.Count(), kCopyListEntries - 1);

    list.Clear();
    ASSERT_EQ(list.AppendFontPair('3', "ARIAL.TTF", "Arial Bold"), CopyListError::None);
    EXPECT_EQ(list.Flag(0), kFlagFont);
    EXPECT_EQ(list.DiskDigit(0), '3');
    EXPECT_EQ(list.Name(0), "ARIAL.TTF");
    EXPECT_EQ(list.Flag(1), kFlagSkipped);
    EXPECT_EQ(list.DiskDigit(1), '0');
    EXPECT_EQ(list.Name(1), "Arial Bold");
    EXPECT_EQ(list.Count(), 2u);
}

TEST(CopyList, NamesAreRefusedRatherThanCut) {
    CopyList list;
    const std::string longest(kCopyNameMax, 'N');
    ASSERT_EQ(list.Append(kFlagSystemFile, '1', longest), CopyListError::None);
    EXPECT_EQ(list.Name(0), longest);
    EXPECT_EQ(list.EntryBytes(0)[kCopyEntrySize - 1], 0);

    EXPECT_EQ(list.Append(kFlagSystemFile, '1', longest + "N"), CopyListError::NameTooLong);
    EXPECT_EQ(list.Append(kFlagSystemFile, '1', ""), CopyListError::BadName);
    EXPECT_EQ(list.Append(kFlagSystemFile, '1', std::string("A\0B", 3)), CopyListError::BadName);
    EXPECT_EQ(list.Append(0, '1', "A.DLL"), CopyListError::BadFlag);
    EXPECT_EQ(list.Count(), 1u);
}

TEST(CopyList, MarkingTruncatingAndRefilling) {
    CopyList list;
    list.Append(kFlagSystemFile, '1', "A.DLL");
    list.Append(kFlagDevice, '1', "B.386");
    list.Append(kFlagSystemFile, '1', "C.DLL");
    EXPECT_TRUE(list.MarkSkipped(1));
    EXPECT_EQ(list.Kind(1), kKindSkipped);
    EXPECT_EQ(list.Name(1), "B.386");               // entries are marked, never removed
    EXPECT_FALSE(list.SetFlag(3, kFlagSystemFile)); // behind the end

    // A filler that gives up on an entry ends the list before it.
    EXPECT_TRUE(list.Truncate(2));
    EXPECT_EQ(list.Count(), 2u);
    EXPECT_FALSE(list.Truncate(3));

    // A later step fills it again from entry 0; a shorter name leaves nothing of the old one.
    list.Clear();
    list.Append(kFlagSystemFile, '1', "Z");
    EXPECT_EQ(list.Name(0), "Z");
    EXPECT_EQ(list.Count(), 1u);
}

TEST(RenameList, NamesAreNulSeparatedAndEndWithAnEmptyName) {
    RenameList renames;
    EXPECT_EQ(renames.Append("A.DRV"), RenameListError::NotHeld);
    ASSERT_TRUE(renames.Create(16));
    EXPECT_FALSE(renames.Create(32));
    ASSERT_EQ(renames.Append("A.DRV"), RenameListError::None);
    ASSERT_EQ(renames.Append("BB.HLP"), RenameListError::None);
    EXPECT_EQ(std::string(renames.Bytes().begin(), renames.Bytes().end()),
              std::string("A.DRV\0BB.HLP\0\0\0\0", 16));

    auto reader = renames.Read();
    EXPECT_EQ(reader.Next(), "A.DRV");
    EXPECT_EQ(reader.Next(), "BB.HLP");
    EXPECT_EQ(reader.Next(), std::nullopt);
    EXPECT_EQ(reader.Next(), std::nullopt);
}

TEST(RenameList, OverflowIsRefusedAndGrowingMakesRoom) {
    RenameList renames;
    ASSERT_TRUE(renames.Create(8));
    // "ABCDEF" + NUL + the ending empty name fill the block exactly.
    ASSERT_EQ(renames.Append("ABCDEF"), RenameListError::None);
    EXPECT_EQ(renames.Append("G"), RenameListError::Full);
    EXPECT_EQ(renames.Append(""), RenameListError::BadName);
    EXPECT_EQ(std::string(renames.Bytes().begin(), renames.Bytes().end()),
              std::string("ABCDEF\0\0", 8));

    ASSERT_TRUE(renames.Grow(2));
    ASSERT_EQ(renames.Append("G"), RenameListError::None);
    auto reader = renames.Read();
    EXPECT_EQ(reader.Next(), "ABCDEF");
    EXPECT_EQ(reader.Next(), "G");
    EXPECT_EQ(reader.Next(), std::nullopt);

    renames.Release();
    EXPECT_FALSE(renames.Held());
    EXPECT_EQ(renames.Read().Next(), std::nullopt);
    EXPECT_FALSE(renames.Grow(4));
}

} // namespace
} // namespace tl
