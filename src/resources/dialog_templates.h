// Dialog templates as data: what a DLGTEMPLATE resource says (style, place and size in dialog
// units, font, and per control its class, style, id and place). The host dialog manager makes its
// in-memory controls from these records; the Win32 build turns the same records into DLGTEMPLATE
// bytes. The installer's templates carry no texts of their own (every text is set when the dialog
// opens) except the two "K" labels of FONT.
#pragma once

#include "platform/win_types.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tl {

// The predefined control classes (the DLGITEMTEMPLATE class ordinals 0x0080..0x0085), or a
// registered class given by name (kind Named, e.g. "probar").
enum class ControlClass : WORD {
    Button = 0x0080,
    Edit = 0x0081,
    Static = 0x0082,
    ListBox = 0x0083,
    ScrollBar = 0x0084,
    ComboBox = 0x0085,
    Named = 0,
};

struct DialogItemTemplate {
    ControlClass controlClass = ControlClass::Static;
    std::string className; // only for ControlClass::Named
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0;
    short y = 0;
    short cx = 0;
    short cy = 0;
    WORD id = 0;
    std::string text; // ANSI; empty for the installer's own templates but for "K"

    friend bool operator==(const DialogItemTemplate&, const DialogItemTemplate&) = default;
};

struct DialogTemplate {
    std::string name; // the resource name ("SELECTDRV", ...); for in-memory ones, what it is
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0;
    short y = 0;
    short cx = 0;
    short cy = 0;
    std::string menu;      // empty: none
    std::string className; // empty: the standard dialog class
    std::string caption;   // ANSI
    WORD pointSize = 8;    // used when style has DS_SETFONT
    std::string typeface = "MS Sans Serif";
    std::vector<DialogItemTemplate> items;

    const DialogItemTemplate* FindItem(WORD id) const;
    friend bool operator==(const DialogTemplate&, const DialogTemplate&) = default;
};

// The installer's dialog resources by name, compared without regard to case as resource names
// are: SELECTDRV, PRINTERNAME, VER_CHECK, CONFIRMDLG, DIRECTORY, KEIKOKU, CHANGE, FONT,
// SELECTDRIVE (also found as "SelectDrive"), COPYING, WAITING.
const DialogTemplate* FindDialogTemplate(std::string_view name);
const std::vector<DialogTemplate>& AllDialogTemplates();

} // namespace tl
