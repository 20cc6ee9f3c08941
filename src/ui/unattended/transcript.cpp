#include "ui/unattended/transcript.h"

#include "ui/unattended/json_text.h"
#include "ui/unattended/unattended_frontend.h"

#include <type_traits>

namespace tl::ui {

void Transcript::Write(const std::string& line) {
    out_.WriteLine(line);
}

std::string Transcript::State(const DialogSnapshot& snapshot) const {
    JsonObject controls;
    for (const ControlSnapshot& control : snapshot.controls) {
        JsonObject entry;
        entry.String("text", codePage_.ToUtf8(control.text));
        entry.Bool("enabled", control.enabled);
        if (!control.visible)
            entry.Bool("visible", false);
        if (control.type == ControlType::List) {
            std::vector<std::string> items;
            for (const std::string& item : control.items)
                items.push_back(JsonQuote(codePage_.ToUtf8(item)));
            std::vector<std::string> selected;
            for (int index : control.selected)
                selected.push_back(std::to_string(index));
            entry.Raw("items", JsonArray(items));
            entry.Raw("selected", JsonArray(selected));
        }
        if (control.type == ControlType::CheckButton)
            entry.Bool("checked", control.checked);
        controls.Raw(std::to_string(control.id), entry.Text());
    }
    JsonObject state;
    state.String("caption", codePage_.ToUtf8(snapshot.caption));
    state.Raw("controls", controls.Text());
    return state.Text();
}

void Transcript::MessageBoxShown(const MessageBoxRequest& request, int result) {
    JsonObject line;
    line.String("event", "message")
        .String("key", codePage_.ToUtf8(request.key))
        .String("caption", codePage_.ToUtf8(request.caption))
        .String("text", codePage_.ToUtf8(request.text))
        .String("buttons", ButtonsName(request.type))
        .String("icon", IconName(request.type))
        .String("answer", AnswerName(result));
    Write(line.Text());
}

void Transcript::DialogClosed(const DialogRecord& record) {
    JsonObject line;
    line.String("event", "dialog")
        .String("template", record.name)
        .Raw("opened", State(record.opened))
        .Raw("closed", State(record.closed));
    if (record.pressed)
        line.Number("pressed", *record.pressed);
    else
        line.Null("pressed");
    if (record.result)
        line.Number("result", static_cast<std::int64_t>(*record.result));
    else
        line.Null("result");
    Write(line.Text());
}

void Transcript::TimerFired(UINT_PTR id, UINT delayMs, std::uint64_t timeMs) {
    JsonObject line;
    line.String("event", "timer")
        .Number("id", static_cast<std::int64_t>(id))
        .Number("delay", delayMs)
        .Number("time", static_cast<std::int64_t>(timeMs));
    Write(line.Text());
}

void Transcript::Record(PlatformEvent event) {
    if (event.event == "error")
        ++errors_;
    JsonObject line;
    line.String("event", event.event);
    for (const auto& [name, value] : event.fields) {
        std::visit(
            [&, &fieldName = name](const auto& v) {
                using T = std::decay_t<decltype(v)>;
                if constexpr (std::is_same_v<T, std::string>)
                    line.String(fieldName, v);
                else if constexpr (std::is_same_v<T, bool>)
                    line.Bool(fieldName, v);
                else
                    line.Number(fieldName, v);
            },
            value);
    }
    Write(line.Text());
}

void Transcript::End(InstallationState state, int exitCode, std::string_view error,
                     std::optional<int> status) {
    JsonObject line;
    line.String("event", "end").Number("state", StateNumber(state)).Number("exitCode", exitCode);
    if (status)
        line.Number("status", *status);
    if (!error.empty())
        line.String("error", error);
    Write(line.Text());
}

} // namespace tl::ui
