// A plain text frontend for a terminal: message boxes and dialogs are shown as text and the
// user answers line by line. An empty line takes the default button; at the end of the input
// everything left is answered by default, so nothing waits for input that cannot come.
#pragma once

#include "platform/code_page.h"
#include "platform/frontend.h"

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
    void Show(const DialogSnapshot& snapshot);

    std::istream& in_;
    std::ostream& out_;
    const CodePage& codePage_;
    bool ended_ = false; // the input has ended: defaults from now on
};

} // namespace tl::ui
