// The installer's dialog resources. Places and sizes are in dialog units. All of them are modal
// pop-ups with a caption and a system menu in 8-point "MS Sans Serif" but for the two modeless
// ones (COPYING without a modal frame, WAITING), which are visible from their creation. Control
// styles are those a resource compiler gives the control kinds (LTEXT, CTEXT, RTEXT,
// PUSHBUTTON, DEFPUSHBUTTON, EDITTEXT, LISTBOX) plus what each table asks for.
#include "resources/dialog_templates.h"

#include "resources/control_ids.h"

#include "text/ansi_text.h"

#include <cctype>

namespace tl {
namespace {

constexpr DWORD kChild = 0x40000000u;   // WS_CHILD
constexpr DWORD kVisible = 0x10000000u; // WS_VISIBLE
constexpr DWORD kTabStop = 0x00010000u; // WS_TABSTOP
constexpr DWORD kGroup = 0x00020000u;   // WS_GROUP
constexpr DWORD kBorder = 0x00800000u;  // WS_BORDER
constexpr DWORD kVScroll = 0x00200000u; // WS_VSCROLL
constexpr DWORD kModalPopup =
    0x80C800C0u;                      // WS_POPUP|WS_CAPTION|WS_SYSMENU|DS_MODALFRAME|DS_SETFONT
constexpr DWORD kPopup = 0x80C80040u; // the same without DS_MODALFRAME

DialogItemTemplate Item(ControlClass cls, DWORD style, WORD id, short x, short y, short cx,
                        short cy, std::string text = {}) {
    DialogItemTemplate item;
    item.controlClass = cls;
    item.style = style;
    item.id = id;
    item.x = x;
    item.y = y;
    item.cx = cx;
    item.cy = cy;
    item.text = std::move(text);
    return item;
}

DialogItemTemplate Text(WORD id, short x, short y, short cx, short cy, DWORD align = 0,
                        std::string text = {}) {
    return Item(ControlClass::Static, kChild | kVisible | kGroup | align, id, x, y, cx, cy,
                std::move(text));
}
DialogItemTemplate HiddenText(WORD id, short x, short y, short cx, short cy) {
    return Item(ControlClass::Static, kChild | kGroup, id, x, y, cx, cy);
}
DialogItemTemplate Push(WORD id, short x, short y, short cx, short cy) {
    return Item(ControlClass::Button, kChild | kVisible | kTabStop, id, x, y, cx, cy);
}
DialogItemTemplate DefPush(WORD id, short x, short y, short cx, short cy) {
    return Item(ControlClass::Button, kChild | kVisible | kTabStop | 0x1u, id, x, y, cx, cy);
}
// EDITTEXT with ES_AUTOHSCROLL, optionally ES_UPPERCASE.
DialogItemTemplate EditBox(WORD id, short x, short y, short cx, short cy, bool upper = false) {
    DWORD style = kChild | kVisible | kTabStop | kBorder | 0x80u;
    if (upper)
        style |= 0x8u;
    return Item(ControlClass::Edit, style, id, x, y, cx, cy);
}
DialogItemTemplate List(WORD id, short x, short y, short cx, short cy, DWORD listStyle,
                        bool visible = true) {
    DWORD style = kChild | kTabStop | kBorder | kVScroll | listStyle;
    if (visible)
        style |= kVisible;
    return Item(ControlClass::ListBox, style, id, x, y, cx, cy);
}

constexpr DWORD kCentre = 0x1u;      // SS_CENTER
constexpr DWORD kRight = 0x2u;       // SS_RIGHT
constexpr DWORD kNotify = 0x1u;      // LBS_NOTIFY
constexpr DWORD kMultipleSel = 0x8u; // LBS_MULTIPLESEL
constexpr WORD kUnnamed = 0xFFFF;    // a static nobody addresses

DialogTemplate Dialog(std::string name, DWORD style, short cx, short cy,
                      std::vector<DialogItemTemplate> items) {
    DialogTemplate dialog;
    dialog.name = std::move(name);
    dialog.style = style;
    dialog.cx = cx;
    dialog.cy = cy;
    dialog.items = std::move(items);
    return dialog;
}

std::vector<DialogTemplate> MakeTemplates() {
    std::vector<DialogTemplate> all;
    all.push_back(Dialog("SELECTDRV", kModalPopup, 224, 91,
                         {
                             Text(kModelListLabelId, 10, 6, 200, 8),
                             Text(kSelectDriverPromptId, 131, 15, 80, 40),
                             List(kModelListId, 10, 18, 115, 48, kNotify),
                             DefPush(1, 44, 71, 46, 14),
                             Push(118, 134, 71, 46, 14),
                         }));
    all.push_back(Dialog("PRINTERNAME", kModalPopup, 186, 145,
                         {
                             Text(kPrinterNameId, 13, 11, 170, 13),
                             Text(kPrinterNameExplanationId, 16, 34, 164, 26),
                             Text(kPrinterNameLabelId, 24, 68, 120, 11),
                             EditBox(kQueueNameEditId, 24, 82, 137, 17),
                             DefPush(1, 33, 121, 50, 14),
                             Push(2, 95, 121, 50, 14),
                         }));
    all.push_back(Dialog("VER_CHECK", kModalPopup, 200, 100,
                         {
                             Text(kVersionTextId, 20, 6, 130, 66),
                             DefPush(1, 40, 75, 50, 14),
                             Push(2, 110, 75, 50, 14),
                         }));
    all.push_back(Dialog("CONFIRMDLG", kModalPopup, 269, 105,
                         {
                             Text(kConfirmFileNameId, 63, 11, 180, 14),
                             Text(kConfirmExistsId, 64, 31, 180, 13),
                             Text(kConfirmQuestionId, 64, 49, 180, 14),
                             DefPush(1, 21, 78, 50, 14),
                             Push(1004, 81, 78, 50, 14),
                             Push(4, 143, 78, 50, 14),
                             Push(2, 203, 78, 50, 14),
                         }));
    all.push_back(Dialog("DIRECTORY", kModalPopup, 254, 84,
                         {
                             Text(kDirectoryPromptId, 40, 14, 200, 18),
                             Text(kLocationLabelId, 30, 37, 43, 9),
                             EditBox(kFontDirEditId, 79, 35, 144, 12, true),
                             DefPush(1, 65, 60, 50, 16),
                             Push(118, 145, 60, 50, 16),
                         }));
    all.push_back(Dialog("KEIKOKU", kModalPopup, 244, 112,
                         {
                             Text(140, 56, 8, 180, 8),
                             Text(141, 63, 18, 160, 8),
                             Text(143, 19, 37, 220, 8),
                             Text(142, 19, 55, 200, 8),
                             Text(144, 19, 73, 200, 8),
                             DefPush(2, 19, 92, 61, 14),
                             Push(1, 99, 92, 61, 14),
                             Push(118, 179, 92, 46, 14),
                         }));
    all.push_back(Dialog("CHANGE", kModalPopup, 226, 61,
                         {
                             Text(kChangeLocationLabelId, 18, 17, 44, 8),
                             EditBox(kFontDirEditId, 64, 16, 144, 12, true),
                             DefPush(1, 44, 40, 46, 14),
                             Push(2, 136, 40, 46, 14),
                         }));
    all.push_back(Dialog("FONT", kModalPopup, 236, 142,
                         {
                             Text(133, 25, 3, 195, 18),
                             Text(134, 61, 22, 80, 8),
                             List(kFontListId, 61, 32, 114, 41, kNotify | kMultipleSel),
                             Text(135, 20, 80, 50, 8),
                             Text(136, 20, 90, 100, 8),
                             Text(137, 20, 100, 100, 8),
                             Text(kFontDriveId, 121, 80, 47, 8, kCentre),
                             Text(kFontNeededId, 121, 90, 37, 8, kRight),
                             Text(kUnnamed, 159, 90, 6, 8, 0, "K"),
                             Text(kFontFreeId, 121, 100, 37, 8, kRight),
                             Text(kUnnamed, 159, 100, 6, 8, 0, "K"),
                             Text(kWindowsDriveId, 165, 80, 47, 8, kCentre),
                             Text(kWindowsNeededId, 165, 90, 47, 8, kRight),
                             Text(kWindowsNeededUnitId, 214, 90, 6, 8),
                             Text(kWindowsFreeId, 165, 100, 47, 8, kRight),
                             Text(kWindowsFreeUnitId, 214, 100, 6, 8),
                             DefPush(1, 29, 120, 46, 14),
                             Push(118, 95, 120, 46, 14),
                             Push(kHelpButtonId, 161, 120, 46, 14),
                         }));
    all.push_back(Dialog("SELECTDRIVE", kModalPopup, 268, 102,
                         {
                             Text(153, 21, 15, 141, 19),
                             Text(154, 21, 35, 141, 19),
                             Text(155, 21, 64, 141, 10),
                             EditBox(kSelectDrivePathId, 21, 75, 160, 13),
                             DefPush(1, 205, 16, 50, 14),
                             Push(2, 205, 34, 50, 14),
                             List(kSelectDriveListId, 181, 87, 48, 12, kNotify, false),
                             HiddenText(kSelectDriveStaticId, 185, 75, 41, 7),
                         }));
    all.push_back(Dialog("COPYING", kPopup | kVisible, 238, 68, {}));
    all.push_back(Dialog("WAITING", kModalPopup | kVisible, 175, 50,
                         {
                             Text(kWaitingTextId, 6, 8, 165, 40),
                         }));
    return all;
}

} // namespace

const DialogItemTemplate* DialogTemplate::FindItem(WORD id) const {
    for (const auto& item : items) {
        if (item.id == id)
            return &item;
    }
    return nullptr;
}

const std::vector<DialogTemplate>& AllDialogTemplates() {
    static const std::vector<DialogTemplate> templates = MakeTemplates();
    return templates;
}

const DialogTemplate* FindDialogTemplate(std::string_view name) {
    for (const auto& dialog : AllDialogTemplates()) {
        if (text::EqualsIgnoreCase(dialog.name, name))
            return &dialog;
    }
    return nullptr;
}

} // namespace tl
