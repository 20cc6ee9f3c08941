#include "ui/repeat_guard.h"

namespace tl::ui {
namespace {

// Everything a user sees of the dialog, one field a line.
std::string Contents(const DialogDriver& dialog) {
    const DialogSnapshot snapshot = dialog.Snapshot();
    std::string text = dialog.Name() + "\n" + snapshot.caption + "\n";
    for (const ControlSnapshot& control : snapshot.controls) {
        text += std::to_string(control.id) + ":" + std::to_string(static_cast<int>(control.type)) +
                (control.enabled ? "e" : "-") + (control.visible ? "v" : "-") +
                (control.checked ? "x" : "-") + control.text + "\n";
        for (const std::string& item : control.items)
            text += " " + item + "\n";
        for (int index : control.selected)
            text += " *" + std::to_string(index) + "\n";
    }
    return text;
}

std::string Why(const std::string& what, const char* happened) {
    return what + " " + happened + " " + std::to_string(kRepeatedQuestionLimit) +
           " times in this run, answered the same way each time: the answers would bring it "
           "back for ever";
}

} // namespace

int RepeatGuard::Count(const std::string& question, const std::string& answer) {
    Seen& seen = seen_[question];
    if (seen.times == 0 || seen.answer != answer) {
        seen.answer = answer;
        seen.times = 0;
    }
    return ++seen.times;
}

std::optional<std::string> RepeatGuard::Message(const MessageBoxRequest& request, int result) {
    const std::string question = "message " + request.key + "\n" + request.text;
    if (Count(question, std::to_string(result)) < kRepeatedQuestionLimit)
        return std::nullopt;
    return Why("message " + request.key, "has been shown");
}

std::optional<std::string> RepeatGuard::Dialog(const DialogDriver& dialog,
                                               const std::string& answer) {
    if (Count(Contents(dialog), answer) < kRepeatedQuestionLimit)
        return std::nullopt;
    return Why("dialog " + dialog.Name(), "has opened");
}

} // namespace tl::ui
