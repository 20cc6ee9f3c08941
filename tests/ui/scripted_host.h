// The host window system driven by a ScriptedFrontend that also records what closed, and dialog
// procedures and drivers that tests share.
#pragma once

#include "platform/host/iconv_code_page.h"
#include "platform/host/ui/host_window_system.h"
#include "scripted_frontend.h"

#include <gtest/gtest.h>

namespace tl::test {

struct ScriptedHost : ::testing::Test {
    ScriptedFrontend frontend;
    host::IconvCodePage codePage;
    host::HostWindowSystem system{frontend, codePage};
    ScriptedHost() { system.SetObserver(&frontend); }
};

// A dialog procedure that ends the dialog with the id of any command.
inline DialogProc EndOnCommand() {
    return [](DialogWindow& dialog, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
        if (message == WM_COMMAND)
            dialog.EndDialog(LoWord(wParam));
        return message == WM_INITDIALOG || message == WM_COMMAND;
    };
}

// Drives a dialog by running `steps` on it, without an error.
inline auto Steps(std::function<void(ui::DialogDriver&, int)> steps) {
    return [steps](ui::DialogDriver& dialog, int attempt) -> std::optional<std::string> {
        steps(dialog, attempt);
        return std::nullopt;
    };
}

} // namespace tl::test
