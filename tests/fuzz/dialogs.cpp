// Dialogs from arbitrary input: the text before the first NUL byte is an answers file, the bytes
// after it a DLGTEMPLATE. Answers that parse are applied to dialogs with every kind of control and
// to a message box; the template makes a dialog whatever its styles, classes, sizes and texts,
// answered by the answers or by default (Enter, then Escape). The run either goes on or stops
// cleanly.
#include "fuzz.h"
#include "platform/host/iconv_code_page.h"
#include "platform/host/ui/host_window_system.h"
#include "ui/unattended/answers.h"
#include "ui/unattended/unattended_frontend.h"

TL_FUZZ_TARGET(bytes) {
    const std::string_view input = Text(bytes);
    const std::size_t split = std::min(input.find('\0'), input.size());
    auto parse = ui::Answers::Parse(input.substr(0, split));
    host::IconvCodePage codePage;
    ui::UnattendedFrontend frontend(split && parse.answers ? &*parse.answers : nullptr, codePage);
    host::HostWindowSystem system(frontend, codePage);
    system.SetStopHandler([](const std::string&) {});
    DialogProc proc = [](DialogWindow& dialog, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
        if (message == WM_INITDIALOG) {
            for (int id = 0; id < 4; ++id) {
                dialog.SetItemText(id, "x");
                dialog.ListAdd(id, "item");
                dialog.ListSetSel(id, true, -1);
                dialog.CheckRadioButton(0, 3, id);
            }
            dialog.ListAdd(110, "Gothic");
            dialog.ListAdd(110, "Myungjo");
            dialog.EnableItem(111, false);
            return TRUE;
        }
        if (message == WM_COMMAND && (LoWord(wParam) <= IDCANCEL || LoWord(wParam) == 118))
            dialog.EndDialog(LoWord(wParam));
        return message == WM_COMMAND;
    };
    if (split < input.size())
        system.DialogBoxIndirect(bytes.subspan(split + 1), "FUZZ", {}, proc, 0);
    if (!parse.answers)
        return;
    for (const char* name : {"FONT", "DIRECTORY", "FONT"})
        system.DialogBox(name, {}, proc, 0);
    system.MessageBox({}, "text", "caption", MB_YESNO, "139");
}
