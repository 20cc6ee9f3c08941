// A plain text frontend for a terminal: message boxes and dialogs are shown as text and the
// user answers line by line. An empty line takes the default button. The end of the input is a
// cancel: dialogs get the Escape key, message boxes their Cancel button (or, without one, their
// default), and a question that keeps coming back then stops the run (RepeatGuard), so nothing
// waits for input that cannot come.
#pragma once

#include "platform/code_page.h"
#include "platform/frontend.h"
#include "ui/repeat_guard.h"

#include <istream>
#include <ostream>

namespace tl::ui {

class TerminalFrontend final : public Frontend {
public:
    TerminalFrontend(std::istream& in, std::ostream& out, const CodePage& codePage)
        : in_(in), out_(out), codePage_(codePage) {}

    MessageBoxAnswer AnswerMessageBox(const MessageBoxRequest& request) override;
    std::optional<std::string> DriveDialog(DialogDriver& dialog, int attempt) override;

private:
    bool ReadLine(std::string& line);
    MessageBoxAnswer AnswerAfterInputEnded(const MessageBoxRequest& request);
    std::optional<std::string> CancelAfterInputEnded(DialogDriver& dialog, int attempt);
    void Show(const DialogSnapshot& snapshot);

    std::istream& in_;
    std::ostream& out_;
    const CodePage& codePage_;
    bool ended_ = false; // the input has ended: cancels from now on
    RepeatGuard repeats_;
};

} // namespace tl::ui
