#include "copy/confirm_replace.h"

#include <gtest/gtest.h>

namespace tl {
namespace {

// CONFIRMDLG offers "Yes to all" only while another font follows; its answers are the font
// scenarios' and the copy run's (ConfirmAnswersDecideTheReplacement).
TEST(HasLaterFont, AFullListIsSearchedToItsLastEntryAndNoFurther) {
    CopyList list;
    for (std::size_t i = 0; i < kCopyListEntries; ++i) {
        const bool font = i == 0 || i == kCopyListEntries - 1;
        ASSERT_EQ(list.Append(font ? kFlagFont : kFlagSystemFile, '1', "F.TTF"),
                  CopyListError::None);
    }
    EXPECT_TRUE(HasLaterFont(list, 0));
    EXPECT_FALSE(HasLaterFont(list, kCopyListEntries - 1));
    EXPECT_FALSE(HasLaterFont(list, kCopyListEntries + 5));
}

} // namespace
} // namespace tl
