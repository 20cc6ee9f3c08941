#include "ui/unattended/answers_recorder.h"

#include <vector>

namespace tl::ui {
namespace {

constexpr std::string_view kHeader =
    "; Answers recorded by tlins32a --record-answers; replay them with --answers.";

std::optional<std::string_view> AnswerWord(int result) {
    switch (result) {
    case IDOK:
        return "OK";
    case IDCANCEL:
        return "Cancel";
    case IDYES:
        return "Yes";
    case IDNO:
        return "No";
    default:
        return std::nullopt;
    }
}

std::string WithOccurrence(std::string_view name, int occurrence) {
    std::string label(name);
    if (occurrence > 1)
        label += "#" + std::to_string(occurrence);
    return label;
}

bool IsButton(const ControlSnapshot* control) {
    return control &&
           (control->type == ControlType::PushButton || control->type == ControlType::CheckButton);
}

// The selected items' texts, as a list answer names them.
std::string SelectedItems(const ControlSnapshot& control, const CodePage& codePage) {
    std::string value;
    for (const int index : control.selected) {
        if (index < 0 || static_cast<std::size_t>(index) >= control.items.size())
            continue;
        if (!value.empty())
            value += ",";
        value += codePage.ToUtf8(control.items[static_cast<std::size_t>(index)]);
    }
    return value;
}

// "id=value" for each control a user could have changed and that differs from when the dialog
// opened: cleared checks first, then everything else in template order.
std::vector<std::string> ChangedControls(const DialogRecord& record, const CodePage& codePage) {
    std::vector<std::string> cleared;
    std::vector<std::string> changed;
    for (const ControlSnapshot& now : record.closed.controls) {
        const ControlSnapshot* then = record.opened.Find(now.id);
        if (!then || !now.enabled || !now.visible)
            continue;
        const std::string id = std::to_string(now.id);
        if (now.type == ControlType::Edit && now.text != then->text)
            changed.push_back(id + "=" + codePage.ToUtf8(now.text));
        else if (now.type == ControlType::List && now.selected != then->selected)
            changed.push_back(id + "=" + SelectedItems(now, codePage));
        else if (now.type == ControlType::CheckButton && now.checked != then->checked)
            (now.checked ? changed : cleared).push_back(id + (now.checked ? "=1" : "=0"));
    }
    cleared.insert(cleared.end(), changed.begin(), changed.end());
    return cleared;
}

} // namespace

AnswersRecorder::AnswersRecorder(LineSink& out, const CodePage& codePage)
    : out_(out), codePage_(codePage) {
    out_.WriteLine(kHeader);
}

void AnswersRecorder::MessageBoxShown(const MessageBoxRequest& request, int result) {
    const std::optional<std::string_view> word = AnswerWord(result);
    if (!word || request.key.empty())
        return;
    if (!inMessages_)
        out_.WriteLine("[Messages]");
    inMessages_ = true;
    out_.WriteLine(WithOccurrence(codePage_.ToUtf8(request.key), request.occurrence) + "=" +
                   std::string(*word));
}

void AnswersRecorder::DialogClosed(const DialogRecord& record) {
    // Every opening counts, as the replay counts them; only the ones a key or click ended are
    // answers (a modeless dialog, or one that ended itself, asked nothing).
    const int occurrence = ++openings_[record.name];
    if (!record.result || !record.pressed)
        return;
    std::string press;
    const ControlSnapshot* button = record.closed.Find(*record.pressed);
    if (IsButton(button))
        press = std::to_string(*record.pressed);
    else
        press = *record.pressed == IDCANCEL ? "Escape" : "Enter";
    inMessages_ = false;
    out_.WriteLine("[" + WithOccurrence(record.name, occurrence) + "]");
    for (const std::string& line : ChangedControls(record, codePage_))
        out_.WriteLine(line);
    out_.WriteLine("Press=" + press);
}

} // namespace tl::ui
