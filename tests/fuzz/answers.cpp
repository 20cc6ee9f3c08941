// Answers files from arbitrary text: whatever parses is applied to a dialog with every kind of
// control and a message box, and the run either goes on or stops cleanly.
#include "ui/unattended/answers.h"
#include "fuzz.h"
#include "platform/host/iconv_code_page.h"
#include "platform/host/ui/host_window_system.h"
#include "ui/unattended/unattended_frontend.h"

TL_FUZZ_TARGET(bytes) {
    using namespace tl;
    auto parse = ui::Answers::Parse(fuzz::Text(bytes));
    if (!parse.answers)
        return;
    host::IconvCodePage codePage;
    ui::UnattendedFrontend frontend(&*parse.answers, codePage);
    host::HostWindowSystem system(frontend, codePage);
    system.SetStopHandler([](const std::string&) {});
    DialogProc proc = [](DialogWindow& dialog, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
        if (message == WM_INITDIALOG) {
            dialog.ListAdd(110, "Gothic");
            dialog.ListAdd(110, "Myungjo");
            dialog.EnableItem(111, false);
            return TRUE;
        }
        if (message == WM_COMMAND && (LoWord(wParam) == 1 || LoWord(wParam) == 118))
            dialog.EndDialog(LoWord(wParam));
        return message == WM_COMMAND;
    };
    for (const char* name : {"FONT", "DIRECTORY", "FONT"})
        system.DialogBox(name, {}, proc, 0);
    system.MessageBox({}, "text", "caption", MB_YESNO, "139");
}
