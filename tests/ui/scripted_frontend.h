// A frontend for tests: message boxes answered from a queue (else their default), dialogs driven
// by a function the test gives; the host window system driven by it, and dialog procedures and
// drivers that tests share.
#pragma once

#include "platform/frontend.h"
#include "platform/host/iconv_code_page.h"
#include "platform/host/ui/host_window_system.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace tl::test {

class ScriptedFrontend : public ui::Frontend, public ui::Observer {
public:
    std::deque<int> boxAnswers;
    std::function<std::optional<std::string>(ui::DialogDriver&, int)> drive =
        [](ui::DialogDriver& dialog, int) -> std::optional<std::string> {
        dialog.PressKey(VK_RETURN);
        return std::nullopt;
    };
    std::vector<ui::MessageBoxRequest> boxes;
    std::vector<ui::DialogRecord> dialogs;
    std::vector<std::pair<UINT_PTR, std::uint64_t>> timers; // id, time fired

    ui::MessageBoxAnswer AnswerMessageBox(const ui::MessageBoxRequest& request) override {
        boxes.push_back(request);
        if (boxAnswers.empty())
            return {request.DefaultResult(), {}};
        int answer = boxAnswers.front();
        boxAnswers.pop_front();
        return {answer, {}};
    }
    std::optional<std::string> DriveDialog(ui::DialogDriver& dialog, int attempt) override {
        return drive(dialog, attempt);
    }
    void MessageBoxShown(const ui::MessageBoxRequest&, int) override {}
    void DialogClosed(const ui::DialogRecord& record) override { dialogs.push_back(record); }
    void TimerFired(UINT_PTR id, UINT, std::uint64_t time) override {
        timers.emplace_back(id, time);
    }
};

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
