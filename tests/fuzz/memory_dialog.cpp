// Dialogs made from arbitrary DLGTEMPLATE bytes: never a crash, whatever the styles, classes,
// sizes and texts; the dialog is answered with Enter and then with Escape.
#include "platform/host/iconv_code_page.h"
#include "platform/host/ui/host_window_system.h"
#include "ui/unattended/unattended_frontend.h"

#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tl;
    host::IconvCodePage codePage;
    ui::UnattendedFrontend frontend(nullptr, codePage);
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
            return TRUE;
        }
        if (message == WM_COMMAND)
            dialog.EndDialog(LoWord(wParam));
        return FALSE;
    };
    system.DialogBoxIndirect(std::span(data, size), "FUZZ", {}, proc, 0);
    return 0;
}
