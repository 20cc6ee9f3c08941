// Stands in for the user in an unattended run: every message box and dialog is answered from the
// answers file, or with its default button and the dialog's initial contents. A dialog still open
// after its answers were applied twice has refused them, and the run stops; so does a question
// that keeps coming back answered the same way (RepeatGuard).
#pragma once

#include "platform/code_page.h"
#include "platform/frontend.h"
#include "ui/repeat_guard.h"
#include "ui/unattended/answers.h"

#include <set>
#include <string>
#include <vector>

namespace tl::ui {

class UnattendedFrontend final : public Frontend {
public:
    // `answers` may be null: everything is answered by default.
    UnattendedFrontend(const Answers* answers, const CodePage& codePage)
        : answers_(answers), codePage_(codePage) {}

    MessageBoxAnswer AnswerMessageBox(const MessageBoxRequest& request) override;
    std::optional<std::string> DriveDialog(DialogDriver& dialog, int attempt) override;

    // The answers no message box or dialog asked for ("[Messages] 139", "[FONT#2]"): most often
    // a mistyped id or an opening that never came.
    std::vector<std::string> Unused() const;

private:
    const Answers* answers_;
    std::set<const void*> used_;
    const CodePage& codePage_;
    RepeatGuard repeats_;
};

// "ok", "okcancel", "yesno" (and the names of the other button sets the system knows).
std::string ButtonsName(UINT type);
// "none", "information", "warning", "error", "question".
std::string IconName(UINT type);
// "ok", "cancel", "yes", "no".
std::string AnswerName(int result);

} // namespace tl::ui
