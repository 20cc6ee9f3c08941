// The fonts step's copy list: the pairs of the chosen fonts' sections, ordered by disk.
#include "sequencer/font_copy_list.h"
#include "state/inf_compact.h"

#include <gtest/gtest.h>

namespace tl {
namespace {

using Names = std::vector<std::string>;

std::vector<std::string> Entries(const CopyList& list) {
    std::vector<std::string> entries;
    for (std::size_t i = 0; i < list.Count(); ++i) {
        const auto bytes = list.EntryBytes(i);
        entries.emplace_back(reinterpret_cast<const char*>(bytes.data()), 3);
        entries.back() += list.Name(i);
    }
    return entries;
}

// A long font name finds its whole section, not one that matches its first 127 letters.
TEST(FontCopyList, PairsAreOrderedByDiskThenByTheScript) {
    const std::string font(200, 'F');
    SetupScripts scripts;
    scripts.Adopt(CompactInf("[Gothic.TrueType]\n"
                             "3:GT.TTF, 0:\"Gothic\", 1:GTB.TTF, 0:\"Gothic Bold\"\n"
                             "2:GTI.TTF, 0:\"Gothic Italic\", x:ignored, 1:NOT.TTF, 0:Not\n"
                             "[Batang.TrueType]\n"
                             "1:BT.TTF, 0:\"Batang\"\n[" +
                             std::string(127, 'F') + ".TrueType]\n1:CUT.TTF, 0:Cut\n[" + font +
                             ".TrueType]\n4:LONG.TTF, 0:Long\n"));
    std::vector<FontListFault> faults;
    std::vector<FontPair> pairs = CollectFontPairs(
        scripts, SplitSelectedFonts(" Gothic,,Missing,\"Batang\"," + font), faults);
    EXPECT_TRUE(faults.empty());
    ASSERT_EQ(pairs.size(), 5u);

    CopyList list;
    list.Append('1', '1', "OLD.DRV");
    ASSERT_EQ(FillFontCopyList(list, pairs), CopyListError::None);
    EXPECT_EQ(Entries(list),
              (Names{"51:GTB.TTF", "00:Gothic Bold", "51:BT.TTF", "00:Batang", "52:GTI.TTF",
                     "00:Gothic Italic", "53:GT.TTF", "00:Gothic", "54:LONG.TTF", "00:Long"}));
}

TEST(FontCopyList, AFileWithoutItsNameIsLeftOutAndNamed) {
    SetupScripts scripts;
    scripts.Adopt(CompactInf("[Gothic.TrueType]\n"
                             "1:A.TTF, 1:B.TTF, 0:\"B\"\n"
                             "1:C.TTF\n"));
    std::vector<FontListFault> faults;
    std::vector<FontPair> pairs = CollectFontPairs(scripts, {"Gothic"}, faults);
    ASSERT_EQ(pairs.size(), 1u);
    EXPECT_EQ(pairs[0].fileName, "B.TTF");
    ASSERT_EQ(faults.size(), 2u);
    EXPECT_EQ(faults[0].field, "1:A.TTF");
    EXPECT_EQ(faults[1].field, "1:C.TTF");
    EXPECT_EQ(faults[1].section, "Gothic.TrueType");
}

TEST(FontCopyList, AListThatWouldOverflowStopsAtAWholePair) {
    std::vector<FontPair> pairs(81, FontPair{'1', "F.TTF", "F", ""});
    pairs.back().fileName = "LAST.TTF";
    CopyList list;
    FontPair refused;
    EXPECT_EQ(FillFontCopyList(list, pairs, &refused), CopyListError::ListFull);
    EXPECT_EQ(list.Count(), 160u);
    EXPECT_EQ(refused.fileName, "LAST.TTF");
    // A name the entry cannot hold is refused, not cut.
    pairs = {FontPair{'1', std::string(141, 'N'), "N", ""}};
    EXPECT_EQ(FillFontCopyList(list, pairs, &refused), CopyListError::NameTooLong);
    EXPECT_TRUE(list.Empty());
}

} // namespace
} // namespace tl
