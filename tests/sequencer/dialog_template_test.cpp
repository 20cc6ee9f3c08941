#include "dialogs/memory_dialogs_layout.h"
#include "platform/host/iconv_code_page.h"
#include "resources/dialog_template_builder.h"
#include "resources/dialog_template_fields.h"
#include "resources/dialog_templates.h"

#include <gtest/gtest.h>

#include <vector>

namespace tl {
namespace {

WORD WordAt(std::span<const BYTE> bytes, std::size_t offset) {
    return static_cast<WORD>(bytes[offset] | (bytes[offset + 1] << 8));
}
DialogTemplateBuilder Built(const DialogTemplateFields& fields) {
    DialogTemplateBuilder builder;
    EXPECT_TRUE(BuildDialogTemplate(fields, builder));
    return builder;
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
    for (std::size_t size = 0; size < exact.size(); ++size)
        ASSERT_FALSE(ReadDialogTemplate(std::span(exact.data(), size))) << size;
    std::vector<BYTE> extended(64, 0); // DLGTEMPLATEEX: version 1, signature 0xFFFF
    extended[0] = 0x01;
    extended[2] = extended[3] = 0xFF;
    EXPECT_FALSE(ReadDialogTemplate(extended));
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

TEST(DialogTemplates, SurviveTheTripThroughDlgTemplateBytes) {
    host::IconvCodePage codePage;
    for (const DialogTemplate& original : AllDialogTemplates()) {
        DialogTemplateBuilder builder;
        const DialogTemplateFields fields = ui::FieldsFromDialogTemplate(original, codePage);
        ASSERT_TRUE(builder.SetHeader(fields)) << original.name;
        for (const auto& item : fields.items)
            ASSERT_TRUE(builder.AddItem(item)) << original.name;
        auto back = ui::DialogTemplateFromBytes(builder.Block(), codePage);
        ASSERT_TRUE(back.has_value()) << original.name;
        back->name = original.name;
        EXPECT_EQ(*back, original) << original.name;
    }
    EXPECT_FALSE(ui::DialogTemplateFromBytes(std::vector<BYTE>(10, 0), codePage).has_value());
}

} // namespace
} // namespace tl
