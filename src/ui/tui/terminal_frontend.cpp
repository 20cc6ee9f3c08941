#include "ui/tui/terminal_frontend.h"

#include "ui/answer_apply.h"

#include <cctype>
#include <charconv>
#include <string>

namespace tl::ui {
namespace {

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    while (!out.empty() && std::isspace(static_cast<unsigned char>(out.back())))
        out.pop_back();
    while (!out.empty() && std::isspace(static_cast<unsigned char>(out.front())))
        out.erase(out.begin());
    return out;
}

struct Choice {
    const char* word;
    const char* letter;
    int result;
};

std::vector<Choice> ChoicesOf(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return {{"ok", "o", IDOK}, {"cancel", "c", IDCANCEL}};
    case MB_YESNO:
        return {{"yes", "y", IDYES}, {"no", "n", IDNO}};
    default:
        return {{"ok", "o", IDOK}};
    }
}

const char* TypeName(ControlType type) {
    switch (type) {
    case ControlType::Static:
        return "text";
    case ControlType::PushButton:
        return "button";
    case ControlType::CheckButton:
        return "check";
    case ControlType::Edit:
        return "edit";
    case ControlType::List:
        return "list";
    default:
        return "control";
    }
}

} // namespace

bool TerminalFrontend::ReadLine(std::string& line) {
    if (ended_ || !std::getline(in_, line)) {
        ended_ = true;
        out_ << "(no more input: cancelled)\n";
        return false;
    }
    return true;
}

// Nobody is left to answer: a box that can be cancelled is, any other takes its default button.
MessageBoxAnswer TerminalFrontend::AnswerAfterInputEnded(const MessageBoxRequest& request) {
    const int result =
        (request.type & MB_TYPEMASK) == MB_OKCANCEL ? IDCANCEL : request.DefaultResult();
    return {result, repeats_.Message(request, result).value_or(std::string())};
}

MessageBoxAnswer TerminalFrontend::AnswerMessageBox(const MessageBoxRequest& request) {
    if (ended_)
        return AnswerAfterInputEnded(request);
    std::vector<Choice> choices = ChoicesOf(request.type);
    out_ << "\n== " << codePage_.ToUtf8(request.caption) << " ==\n"
         << codePage_.ToUtf8(request.text) << "\n";
    std::string prompt = "[";
    for (const Choice& choice : choices) {
        if (prompt.size() > 1)
            prompt += "/";
        prompt += choice.word;
    }
    int fallback = request.DefaultResult();
    for (;;) {
        const char* fallbackWord = "ok";
        for (const Choice& choice : choices) {
            if (choice.result == fallback)
                fallbackWord = choice.word;
        }
        out_ << prompt << "] (empty line: " << fallbackWord << ") > " << std::flush;
        std::string line;
        if (!ReadLine(line))
            return AnswerAfterInputEnded(request);
        std::string word = Lower(line);
        if (word.empty())
            return {fallback, {}};
        for (const Choice& choice : choices) {
            if (word == choice.word || word == choice.letter)
                return {choice.result, {}};
        }
        out_ << "please answer one of " << prompt << "]\n";
    }
}

void TerminalFrontend::Show(const DialogSnapshot& snapshot) {
    out_ << "\n== " << codePage_.ToUtf8(snapshot.caption) << " ==\n";
    for (const ControlSnapshot& control : snapshot.controls) {
        out_ << "  [" << control.id << "] " << TypeName(control.type);
        if (control.type == ControlType::CheckButton)
            out_ << (control.checked ? " (x)" : " ( )");
        out_ << " \"" << codePage_.ToUtf8(control.text) << "\"";
        if (!control.enabled)
            out_ << " (disabled)";
        if (!control.visible)
            out_ << " (hidden)";
        out_ << "\n";
        for (std::size_t i = 0; i < control.items.size(); ++i) {
            bool selected = false;
            for (int index : control.selected)
                selected = selected || index == static_cast<int>(i);
            out_ << "      " << (selected ? "* " : "  ") << codePage_.ToUtf8(control.items[i])
                 << "\n";
        }
    }
}

// Nobody is left to answer: the dialog is cancelled as the Escape key cancels it.
std::optional<std::string> TerminalFrontend::CancelAfterInputEnded(DialogDriver& dialog,
                                                                   int attempt) {
    if (attempt == 0) {
        if (auto endless = repeats_.Dialog(dialog, "escape"))
            return endless;
    }
    dialog.PressKey(VK_ESCAPE);
    return std::nullopt;
}

std::optional<std::string> TerminalFrontend::DriveDialog(DialogDriver& dialog, int attempt) {
    if (ended_ && attempt >= 2)
        return "dialog " + DialogLabel(dialog) + " stays open and the input has ended";
    if (ended_)
        return CancelAfterInputEnded(dialog, attempt);
    for (;;) {
        Show(dialog.Snapshot());
        auto defaultButton = dialog.DefaultButton();
        out_ << "id=value to fill in, \"press ID\", \"esc\", or an empty line for "
             << (defaultButton ? "button " + std::to_string(*defaultButton) : "OK") << " > "
             << std::flush;
        std::string line;
        if (!ReadLine(line))
            return CancelAfterInputEnded(dialog, attempt);
        if (Lower(line).empty()) {
            dialog.PressKey(VK_RETURN);
            return std::nullopt;
        }
        std::string word = Lower(line);
        if (word == "esc" || word == "escape") {
            dialog.PressKey(VK_ESCAPE);
            return std::nullopt;
        }
        if (word.rfind("press", 0) == 0) {
            auto error = PressAnswer(dialog, word.substr(5));
            if (!error)
                return std::nullopt;
            out_ << *error << "\n";
            continue;
        }
        auto equals = line.find('=');
        int id = -1;
        if (equals != std::string::npos) {
            std::string_view number = line;
            number = number.substr(0, equals);
            while (!number.empty() && number.back() == ' ')
                number.remove_suffix(1);
            auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), id);
            if (error != std::errc{} || end != number.data() + number.size())
                id = -1;
        }
        if (id < 0) {
            out_ << "not understood: " << line << "\n";
            continue;
        }
        if (auto error = ApplyControlAnswer(dialog, id, line.substr(equals + 1), codePage_))
            out_ << *error << "\n";
    }
}

} // namespace tl::ui
