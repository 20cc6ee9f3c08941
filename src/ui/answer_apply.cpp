#include "ui/answer_apply.h"

#include "text/ansi_text.h"

#include <cctype>
#include <charconv>

namespace tl::ui {
namespace {

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

std::string Unreachable(const DialogDriver& dialog, const ControlSnapshot& control) {
    return "dialog " + DialogLabel(dialog) + ": control " + std::to_string(control.id) + " is " +
           (control.visible ? "disabled" : "hidden") + ", a user could not change it";
}

} // namespace

std::string DialogLabel(const DialogDriver& dialog) {
    if (dialog.Occurrence() <= 1)
        return dialog.Name();
    return dialog.Name() + "#" + std::to_string(dialog.Occurrence());
}

std::optional<std::string> ApplyControlAnswer(DialogDriver& dialog, int id,
                                              std::string_view utf8Value,
                                              const CodePage& codePage) {
    DialogSnapshot snapshot = dialog.Snapshot();
    const ControlSnapshot* control = snapshot.Find(id);
    std::string where = "dialog " + DialogLabel(dialog) + ": ";
    if (!control)
        return where + "it has no control " + std::to_string(id);
    switch (control->type) {
    case ControlType::Edit:
        if (!dialog.TypeText(id, codePage.FromUtf8(utf8Value)))
            return Unreachable(dialog, *control);
        return std::nullopt;
    case ControlType::List: {
        std::vector<int> indexes;
        std::string_view rest = utf8Value;
        // An empty value selects nothing; otherwise every comma-separated item must be there.
        for (bool more = !Trim(utf8Value).empty(); more;) {
            auto comma = rest.find(',');
            std::string item = codePage.FromUtf8(Trim(rest.substr(0, comma)));
            std::size_t index = 0;
            while (index < control->items.size() && control->items[index] != item)
                ++index;
            if (index == control->items.size())
                return where + "list " + std::to_string(id) + " has no item \"" +
                       std::string(Trim(rest.substr(0, comma))) + "\"";
            indexes.push_back(static_cast<int>(index));
            more = comma != std::string_view::npos;
            if (more)
                rest.remove_prefix(comma + 1);
        }
        if (!control->enabled || !control->visible)
            return Unreachable(dialog, *control);
        if (!dialog.SelectItems(id, indexes))
            return where + "list " + std::to_string(id) +
                   " takes one item at most and cannot be left without a selection";
        return std::nullopt;
    }
    case ControlType::CheckButton: {
        std::string_view value = Trim(utf8Value);
        if (value != "1" && value != "0")
            return where + "control " + std::to_string(id) + " is a button to check: 1 or 0";
        if (!dialog.SetCheck(id, value == "1"))
            return Unreachable(dialog, *control);
        return std::nullopt;
    }
    default:
        return where + "control " + std::to_string(id) +
               " takes no value (press a button with Press=)";
    }
}

std::optional<std::string> PressAnswer(DialogDriver& dialog, std::string_view press) {
    press = Trim(press);
    if (text::EqualsIgnoreCase(press, "Enter")) {
        dialog.PressKey(VK_RETURN);
        return std::nullopt;
    }
    if (text::EqualsIgnoreCase(press, "Escape")) {
        dialog.PressKey(VK_ESCAPE);
        return std::nullopt;
    }
    int id = 0;
    auto [end, error] = std::from_chars(press.data(), press.data() + press.size(), id);
    std::string where = "dialog " + DialogLabel(dialog) + ": ";
    if (error != std::errc{} || end != press.data() + press.size())
        return where + "cannot press \"" + std::string(press) + "\"";
    DialogSnapshot snapshot = dialog.Snapshot();
    const ControlSnapshot* control = snapshot.Find(id);
    if (!control && id == IDCANCEL) {
        dialog.PressKey(VK_ESCAPE);
        return std::nullopt;
    }
    if (!control ||
        (control->type != ControlType::PushButton && control->type != ControlType::CheckButton))
        return where + "it has no button " + std::to_string(id);
    if (!dialog.Click(id))
        return Unreachable(dialog, *control);
    return std::nullopt;
}

} // namespace tl::ui
