// The dialog templates among the resources survive DLGTEMPLATE bytes read back.
#include "platform/host/iconv_code_page.h"
#include "resources/dialog_template_fields.h"
#include "resources/dialog_templates.h"

#include <gtest/gtest.h>

namespace tl {
namespace {

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
