// Dialogs made from arbitrary DLGTEMPLATE bytes, whatever the styles, classes, sizes and texts,
// answered with Enter and then with Escape.
#include "fuzz.h"
#include "platform/host/iconv_code_page.h"
#include "platform/host/ui/host_window_system.h"
#include "ui/unattended/unattended_frontend.h"

TL_FUZZ_TARGET(bytes) {
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
    system.DialogBoxIndirect(bytes, "FUZZ", {}, proc, 0);
}
