#include "platform/host/iconv_code_page.h"
#include "platform/host/ui/host_window_system.h"
#include "platform/window_types.h"
#include "resources/dialog_template_fields.h"
#include "resources/dialog_templates.h"
#include "scripted_frontend.h"

#include <gtest/gtest.h>

namespace tl {
namespace {

TEST(DialogTemplates, EveryNamedTemplateIsThereAndFoundWithoutRegardToCase) {
    for (const char* name : {"SELECTDRV", "PRINTERNAME", "VER_CHECK", "CONFIRMDLG", "DIRECTORY",
                             "KEIKOKU", "CHANGE", "FONT", "SelectDrive", "COPYING", "WAITING"}) {
        const DialogTemplate* found = FindDialogTemplate(name);
        ASSERT_NE(found, nullptr) << name;
        EXPECT_EQ(found->style & DS_SETFONT, DS_SETFONT) << name;
        EXPECT_EQ(found->pointSize, 8) << name;
        EXPECT_EQ(found->typeface, "MS Sans Serif") << name;
        for (const auto& item : found->items) {
            EXPECT_EQ(item.style & WS_CHILD, WS_CHILD) << name << " " << item.id;
            EXPECT_LE(item.x + item.cx, found->cx + 1) << name << " " << item.id;
        }
    }
    EXPECT_EQ(FindDialogTemplate("CHOICE"), nullptr); // built in memory, not a resource
}

TEST(DialogTemplates, StylesSayWhatEachControlIs) {
    const DialogTemplate& keikoku = *FindDialogTemplate("KEIKOKU");
    EXPECT_EQ(keikoku.FindItem(2)->style & BS_TYPEMASK, BS_DEFPUSHBUTTON); // "change fonts"
    EXPECT_EQ(keikoku.FindItem(1)->style & BS_TYPEMASK, BS_PUSHBUTTON);
    const DialogTemplate& font = *FindDialogTemplate("FONT");
    const DialogItemTemplate& list = *font.FindItem(110);
    EXPECT_EQ(list.controlClass, ControlClass::ListBox);
    EXPECT_EQ(list.style & (LBS_MULTIPLESEL | LBS_NOTIFY | LBS_SORT), LBS_MULTIPLESEL | LBS_NOTIFY);
    EXPECT_EQ(font.FindItem(112)->style & 0xF, SS_RIGHT);
    EXPECT_EQ(font.FindItem(127)->style & 0xF, SS_CENTER);
    EXPECT_EQ(FindDialogTemplate("SELECTDRV")->FindItem(119)->style & LBS_MULTIPLESEL, 0u);
    EXPECT_EQ(FindDialogTemplate("DIRECTORY")->FindItem(117)->style & ES_UPPERCASE, ES_UPPERCASE);
    EXPECT_EQ(FindDialogTemplate("CHANGE")->FindItem(117)->style & ES_UPPERCASE, ES_UPPERCASE);
    EXPECT_EQ(FindDialogTemplate("PRINTERNAME")->FindItem(1006)->style & ES_UPPERCASE, 0u);
    const DialogTemplate& drive = *FindDialogTemplate("SELECTDRIVE");
    EXPECT_EQ(drive.FindItem(651)->style & WS_VISIBLE, 0u);
    EXPECT_EQ(drive.FindItem(652)->style & WS_VISIBLE, 0u);
    EXPECT_EQ(FindDialogTemplate("COPYING")->style & DS_MODALFRAME, 0u);
    EXPECT_TRUE(FindDialogTemplate("COPYING")->items.empty());
}

TEST(DialogTemplates, SurviveTheTripThroughDlgTemplateBytes) {
    host::IconvCodePage codePage;
    for (const DialogTemplate& original : AllDialogTemplates()) {
        DialogTemplateBuilder builder;
        DialogTemplateFields fields = ui::FieldsFromDialogTemplate(original, codePage);
        ASSERT_TRUE(builder.SetHeader(fields)) << original.name;
        for (const auto& item : fields.items)
            ASSERT_TRUE(builder.AddItem(item)) << original.name;
        auto back = ui::DialogTemplateFromBytes(builder.Block(), codePage);
        ASSERT_TRUE(back.has_value()) << original.name;
        back->name = original.name;
        EXPECT_EQ(*back, original) << original.name;
    }
    std::vector<BYTE> truncated(10, 0);
    EXPECT_FALSE(ui::DialogTemplateFromBytes(truncated, codePage).has_value());
}

// A dialog built in memory runs like one from the resources: here a choice among automatic
// radio buttons with a Korean caption.
TEST(DialogTemplates, InMemoryDialogWithAutomaticRadioButtons) {
    host::IconvCodePage codePage;
    test::ScriptedFrontend frontend;
    host::HostWindowSystem system{frontend, codePage};
    system.SetObserver(&frontend);

    DialogTemplateFields header;
    header.style = 0x10C800C4;
    header.cx = 174;
    header.cy = 98;
    header.title = Utf8ToUtf16("언어선택");
    header.pointSize = 8;
    header.typeface = u"system";
    DialogTemplateBuilder builder;
    ASSERT_TRUE(builder.SetHeader(header));
    auto item = [&](WORD id, WORD cls, DWORD style, SHORT y) {
        DialogItemFields field;
        field.id = id;
        field.style = style;
        field.windowClass.ordinal = cls;
        field.x = 50;
        field.y = y;
        field.cx = 50;
        field.cy = 10;
        ASSERT_TRUE(builder.AddItem(field));
    };
    item(1, 0x80, 0x50010001, 74);
    item(2, 0x80, 0x50010000, 74);
    item(3, 0x82, 0x50000000, 7);
    for (WORD j = 0; j < 4; ++j)
        item(static_cast<WORD>(20 + j), 0x80, 0x50010000 | 9, static_cast<SHORT>(22 + 12 * j));

    DialogProc proc = [](DialogWindow& dialog, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
        if (message == WM_INITDIALOG) {
            dialog.CheckRadioButton(20, 23, 21);
            return TRUE;
        }
        if (message == WM_COMMAND && LoWord(wParam) == IDOK) {
            for (int id = 20; id < 24; ++id) {
                if (dialog.IsButtonChecked(id) == BST_CHECKED)
                    dialog.EndDialog(id);
            }
        }
        return TRUE;
    };
    frontend.drive = [](ui::DialogDriver& dialog, int) -> std::optional<std::string> {
        EXPECT_TRUE(dialog.SetCheck(23, true));
        dialog.PressKey(VK_RETURN);
        return std::nullopt;
    };
    EXPECT_EQ(system.DialogBoxIndirect(builder.Block(), "CHOICE", {}, proc, 0), 23);
    ASSERT_EQ(frontend.dialogs.size(), 1u);
    const auto& record = frontend.dialogs[0];
    EXPECT_EQ(record.name, "CHOICE");
    EXPECT_EQ(record.opened.caption, codePage.FromUtf8("언어선택"));
    EXPECT_TRUE(record.opened.Find(21)->checked);
    EXPECT_FALSE(record.closed.Find(21)->checked); // the click cleared the rest of the group
    EXPECT_TRUE(record.closed.Find(23)->checked);
}

} // namespace
} // namespace tl
