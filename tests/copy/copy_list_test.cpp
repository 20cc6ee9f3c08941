#include "state/copy_list.h"
#include "state/rename_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

namespace tl {
namespace {

TEST(CopyList, AFullListRefusesMoreAndAFontPairIsWrittenWholeOrNotAtAll) {
    CopyList list;
    for (std::size_t i = 0; i + 1 < kCopyListEntries; ++i) {
        ASSERT_EQ(list.Append(kFlagSystemFile, '1', "F" + std::to_string(i) + ".DLL"),
                  CopyListError::None);
    }
    EXPECT_EQ(list.AppendFontPair('3', "A.TTF", "Arial"), CopyListError::ListFull);
    EXPECT_EQ(list.Count(), kCopyListEntries - 1);
    ASSERT_EQ(list.Append(kFlagSystemFile, '1', "LAST.DLL"), CopyListError::None);
    EXPECT_EQ(list.Count(), kCopyListEntries); // no end entry behind the last
    const std::vector<std::uint8_t> before(list.Bytes().begin(), list.Bytes().end());
    EXPECT_EQ(list.Append(kFlagSystemFile, '1', "ONEMORE.DLL"), CopyListError::ListFull);
    EXPECT_EQ(list.AppendFontPair('1', "A.TTF", "Arial"), CopyListError::ListFull);
    EXPECT_TRUE(std::ranges::equal(list.Bytes(), before));
    EXPECT_FALSE(CopyListErrorText(CopyListError::ListFull).empty());

    list.Clear();
    ASSERT_EQ(list.AppendFontPair('3', "ARIAL.TTF", "Arial Bold"), CopyListError::None);
    EXPECT_EQ(list.Count(), 2u);
    using Entry = std::tuple<std::uint8_t, char, std::string_view>;
    EXPECT_EQ(Entry(list.Flag(0), list.DiskDigit(0), list.Name(0)),
              Entry(kFlagFont, '3', "ARIAL.TTF"));
    EXPECT_EQ(Entry(list.Flag(1), list.DiskDigit(1), list.Name(1)),
              Entry(kFlagSkipped, '0', "Arial Bold"));
}

TEST(CopyList, RefusesBadNamesAndEditsOnlyInsideTheList) {
    CopyList list;
    const std::string longest(kCopyNameMax, 'N');
    ASSERT_EQ(list.Append(kFlagSystemFile, '1', longest), CopyListError::None);
    EXPECT_EQ(list.Name(0), longest);
    EXPECT_EQ(list.EntryBytes(0)[kCopyEntrySize - 1], 0);
    EXPECT_EQ(list.Append(kFlagSystemFile, '1', longest + "N"), CopyListError::NameTooLong);
    EXPECT_EQ(list.Append(kFlagSystemFile, '1', ""), CopyListError::BadName);
    EXPECT_EQ(list.Append(kFlagSystemFile, '1', std::string("A\0B", 3)), CopyListError::BadName);
    EXPECT_EQ(list.Append(0, '1', "A.DLL"), CopyListError::BadFlag);
    ASSERT_EQ(list.Append(kFlagSystemFile, '1', "B.386"), CopyListError::None);
    ASSERT_EQ(list.Append(kFlagSystemFile, '1', "C.DLL"), CopyListError::None);
    EXPECT_TRUE(list.MarkSkipped(1));
    EXPECT_EQ(list.Kind(1), kKindSkipped);
    EXPECT_EQ(list.Name(1), "B.386");
    EXPECT_FALSE(list.SetFlag(3, kFlagSystemFile));
    EXPECT_TRUE(list.Truncate(2));
    EXPECT_EQ(list.Count(), 2u);
    EXPECT_FALSE(list.Truncate(3));
}

TEST(RenameList, OverflowIsRefusedAndGrowingMakesRoom) {
    RenameList renames;
    EXPECT_EQ(renames.Append("A.DRV"), RenameListError::NotHeld);
    ASSERT_TRUE(renames.Create(8));
    EXPECT_FALSE(renames.Create(32));
    // "ABCDEF", its NUL and the ending empty name fill the block exactly.
    ASSERT_EQ(renames.Append("ABCDEF"), RenameListError::None);
    EXPECT_EQ(renames.Append("G"), RenameListError::Full);
    EXPECT_EQ(renames.Append(""), RenameListError::BadName);
    ASSERT_TRUE(renames.Grow(2));
    ASSERT_EQ(renames.Append("G"), RenameListError::None);
    auto reader = renames.Read();
    EXPECT_EQ(reader.Next(), "ABCDEF");
    EXPECT_EQ(reader.Next(), "G");
    EXPECT_EQ(reader.Next(), std::nullopt);
    EXPECT_EQ(reader.Next(), std::nullopt);

    renames.Release();
    EXPECT_FALSE(renames.Held());
    EXPECT_EQ(renames.Read().Next(), std::nullopt);
    EXPECT_FALSE(renames.Grow(4));
}

} // namespace
} // namespace tl
