// The dialog templates among the resources, and DLGTEMPLATE bytes read back.
#include "platform/host/iconv_code_page.h"
#include "platform/window_types.h"
#include "resources/dialog_template_fields.h"
#include "resources/dialog_templates.h"

#include <gtest/gtest.h>

namespace tl {
namespace {

TEST(DialogTemplates, EveryNamedTemplateIsThereAndFoundWithoutRegardToCase) {
    for (const char* name : {"SELECTDRV", "PRINTERNAME", "VER_CHECK", "CONFIRMDLG", "DIRECTORY",
                             "KEIKOKU", "CHANGE", "FONT", "SelectDrive", "COPYING", "WAITING"}) {
        const DialogTemplate* found = FindDialogTemplate(name);
        ASSERT_NE(found, nullptr) << name;
        EXPECT_EQ(found->typeface, "MS Sans Serif") << name;
        for (const auto& item : found->items) {
            EXPECT_EQ(item.style & WS_CHILD, WS_CHILD) << name << " " << item.id;
            EXPECT_LE(item.x + item.cx, found->cx + 1) << name << " " << item.id;
        }
    }
    EXPECT_EQ(FindDialogTemplate("printername"), FindDialogTemplate("PRINTERNAME"));
    EXPECT_EQ(FindDialogTemplate("CHOICE"), nullptr); // built in memory, not a resource
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
