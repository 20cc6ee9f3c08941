#include "dialogs/memory_dialogs_layout.h"
#include "resources/dialog_template_builder.h"

#include <gtest/gtest.h>

#include <vector>

namespace tl {
namespace {

WORD WordAt(std::span<const BYTE> bytes, std::size_t offset) {
    return static_cast<WORD>(bytes[offset] | (bytes[offset + 1] << 8));
}
DWORD DwordAt(std::span<const BYTE> bytes, std::size_t offset) {
    return WordAt(bytes, offset) | (static_cast<DWORD>(WordAt(bytes, offset + 2)) << 16);
}
std::u16string TextAt(std::span<const BYTE> bytes, std::size_t offset) {
    std::u16string text;
    for (WORD c = WordAt(bytes, offset); c != 0; offset += 2, c = WordAt(bytes, offset)) {
        text.push_back(static_cast<char16_t>(c));
    }
    return text;
}

DialogTemplateBuilder Built(const DialogTemplateFields& fields) {
    DialogTemplateBuilder builder;
    EXPECT_TRUE(BuildDialogTemplate(fields, builder));
    return builder;
}

TEST(DialogTemplateBytes, ItemsStartOnFourByteBoundaries) {
    // "sys" makes the header end at 34, so the first item is padded to 36; items of odd text
    // lengths are padded too.
    DialogTemplateFields fields = ChoiceDialogTemplate(2, kAutoRadioButton, u"sys");
    fields.items[0].title.text = u"O"; // 18 + 14 + 4 + 2 = 38 bytes: the next item is padded
    const DialogTemplateBuilder builder = Built(fields);
    const auto bytes = builder.Block();
    EXPECT_EQ(DwordAt(bytes, 36), 0x50010001u);
    EXPECT_EQ(TextAt(bytes, 36 + 32), u"O");
    EXPECT_EQ(WordAt(bytes, 74), 0); // padding
    EXPECT_EQ(DwordAt(bytes, 76), 0x50010000u);
    EXPECT_EQ(WordAt(bytes, 76 + 16), 2);
}

TEST(DialogTemplateBytes, ReaderRoundTripsAndRejectsEveryTruncation) {
    DialogTemplateFields fields = ChoiceDialogTemplate(9, kAutoRadioButton, u"\uC2DC\uC2A4\uD15C");
    fields.title = u"Choice";
    fields.items[2].windowClass = TemplateName{u"", 0x0082};
    fields.items[3].creationData = {1, 2, 3};
    const DialogTemplateBuilder builder = Built(fields);
    const auto read = ReadDialogTemplate(builder.Block());
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, fields);
    const std::vector<BYTE> exact(builder.Block().begin(),
                                  builder.Block().begin() +
                                      static_cast<std::ptrdiff_t>(builder.Used()));
    EXPECT_TRUE(ReadDialogTemplate(exact));
    for (std::size_t size = 0; size < exact.size(); ++size) {
        ASSERT_FALSE(ReadDialogTemplate(std::span(exact.data(), size))) << size;
    }
}

TEST(DialogTemplateBytes, ExtendedTemplatesAreNotRead) {
    std::vector<BYTE> ex(64, 0);
    ex[0] = 0x01;
    ex[2] = 0xFF;
    ex[3] = 0xFF;
    EXPECT_FALSE(ReadDialogTemplate(ex));
}

TEST(DialogTemplateBytes, BuilderRefusesWhatDoesNotFit) {
    DialogTemplateBuilder small(80);
    const DialogTemplateFields fields = ChoiceDialogTemplate(4, kAutoRadioButton, u"system");
    ASSERT_TRUE(small.SetHeader(fields));
    EXPECT_TRUE(small.AddItem(fields.items[0]));
    EXPECT_FALSE(small.AddItem(fields.items[1]));
    EXPECT_EQ(WordAt(small.Block(), 8), 1);
    EXPECT_EQ(small.Used(), 76u); // header 40, one item of 36
    DialogTemplateBuilder tiny(10);
    EXPECT_FALSE(tiny.SetHeader(fields));
    EXPECT_FALSE(tiny.AddItem(fields.items[0]));
}

TEST(DialogTemplateBytes, TypefaceConversion) {
    EXPECT_EQ(Utf8ToUtf16("system"), u"system");
    EXPECT_EQ(Utf8ToUtf16("\xEC\x8B\x9C\xF0\x9F\x98\x80"), u"\uC2DC\U0001F600");
    EXPECT_EQ(Utf8ToUtf16("a\xFF"
                          "b\xE0\x80"),
              u"a\uFFFDb\uFFFD\uFFFD");
    EXPECT_EQ(Utf16ToUtf8(u"\uC2DC\U0001F600"), "\xEC\x8B\x9C\xF0\x9F\x98\x80");
}

struct Box {
    int x, y, cx, cy;
};
Box BoxOf(const DialogItemFields& item) {
    return {item.x, item.y, item.cx, item.cy};
}
bool Overlap(Box a, Box b) {
    return a.x < b.x + b.cx && b.x < a.x + a.cx && a.y < b.y + b.cy && b.y < a.y + a.cy;
}

TEST(ChoiceDialog, NoChoiceTouchesTheButtonsOrLeavesTheDialog) {
    for (std::size_t n = 1; n <= 9; ++n) {
        const auto fields = ChoiceDialogTemplate(n, kAutoRadioButton, u"system");
        ASSERT_EQ(fields.items.size(), n + 3);
        EXPECT_EQ(fields.items[2].y + fields.items[2].cy, 15); // question above the choices
        const Box ok = BoxOf(fields.items[0]);
        const Box cancel = BoxOf(fields.items[1]);
        EXPECT_LE(ok.y + ok.cy, fields.cy) << n;
        for (std::size_t j = 3; j < fields.items.size(); ++j) {
            const Box choice = BoxOf(fields.items[j]);
            EXPECT_FALSE(Overlap(choice, ok) || Overlap(choice, cancel)) << n << " choice " << j;
            EXPECT_LT(choice.y + choice.cy, ok.y) << n;
            for (std::size_t k = 3; k < j; ++k) {
                EXPECT_FALSE(Overlap(choice, BoxOf(fields.items[k]))) << n;
            }
        }
    }
    // Small counts keep the four-choice spacing: rows at 40, 52 and 64.
    EXPECT_EQ(ChoiceDialogTemplate(1, 9, u"s").items[0].y, 40);
    EXPECT_EQ(ChoiceDialogTemplate(2, 9, u"s").cy, 76);
    EXPECT_EQ(ChoiceDialogTemplate(3, 9, u"s").items[0].y, 64);
}

TEST(RestartDialog, WidthFollowsTheReturnText) {
    const auto narrow = RestartDialogTemplate("WIN_RESTART", 26, u"system");
    ASSERT_TRUE(narrow);
    EXPECT_EQ(narrow->cx, 230);
    EXPECT_EQ(narrow->items[1].x, 120); // the buttons side by side
    const auto wide = RestartDialogTemplate("WIN_RESTART", 40, u"system");
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->cx, 200);
    EXPECT_EQ(wide->items[1].x, 10); // one above the other
    EXPECT_EQ(wide->items[1].y, 80);
    EXPECT_EQ(RestartDialogTemplate("WIN_RESTART", 27, u"s")->cx, 142); // 121.5 rounds up
    EXPECT_FALSE(RestartDialogTemplate("CHOICE", 26, u"system"));
    EXPECT_EQ(MulDiv(-27, 45, 10), -122);
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
}

} // namespace
} // namespace tl
