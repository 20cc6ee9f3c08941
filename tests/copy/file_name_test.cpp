#include "copy/file_name.h"

#include <gtest/gtest.h>

namespace tl {
namespace {

TEST(FileNamePart, TakesTheTextBehindTheLastSeparator) {
    EXPECT_EQ(FileNamePart("C:\\FONTS\\ARIAL.TTF"), "ARIAL.TTF");
    EXPECT_EQ(FileNamePart("A:ARIAL.TTF"), "ARIAL.TTF");
    EXPECT_EQ(FileNamePart("C:/WINDOWS\\SYSTEM/LPT.VXD"), "LPT.VXD");
    EXPECT_EQ(FileNamePart("ARIAL.TTF"), "ARIAL.TTF");
    EXPECT_EQ(FileNamePart("C:\\WINDOWS\\"), "");
    EXPECT_EQ(FileNamePart(""), "");
    // A Korean name (code page 949) is taken whole.
    EXPECT_EQ(FileNamePart("C:\\\xB1\xDB\xB2\xC3\\\xB1\xDB\xB2\xC3.TTF"), "\xB1\xDB\xB2\xC3.TTF");
}

} // namespace
} // namespace tl
