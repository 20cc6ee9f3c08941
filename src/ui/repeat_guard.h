// Keeps a run that nobody answers from going round for ever: when the same question (a message
// box's key and text, a dialog's template and its contents as it opens) comes for the 20th time
// in one run and has been answered the same way each time, the answers will bring it back again,
// and the run is stopped naming it. Questions that differ, such as the replace question for each
// file, never count together.
#pragma once

#include "platform/frontend.h"

#include <map>
#include <optional>
#include <string>

namespace tl::ui {

inline constexpr int kRepeatedQuestionLimit = 20;

class RepeatGuard {
public:
    // A message box about to be answered with `result`: the reason to stop the run, if any.
    std::optional<std::string> Message(const MessageBoxRequest& request, int result);
    // A dialog as it opened, about to be answered as `answer` says (any text that tells one
    // answer from another; the same text is the same answer).
    std::optional<std::string> Dialog(const DialogDriver& dialog, const std::string& answer);

private:
    struct Seen {
        std::string answer;
        int times = 0;
    };
    // How often in a row `question` has now been answered `answer`.
    int Count(const std::string& question, const std::string& answer);

    std::map<std::string, Seen> seen_;
};

} // namespace tl::ui
