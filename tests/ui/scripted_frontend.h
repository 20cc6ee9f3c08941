// A frontend for tests: message boxes answered from a queue (else their default), dialogs driven
// by a function the test gives.
#pragma once

#include "platform/frontend.h"

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

} // namespace tl::test
