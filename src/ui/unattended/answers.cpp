#include "ui/unattended/answers.h"

#include "platform/window_types.h"
#include "resources/dialog_templates.h"

#include <cctype>
#include <charconv>

namespace tl::ui {
namespace {

// Joins texts by appending (GCC 12 at -O3 misreads a literal + std::string as an overlap).
std::string Join(std::initializer_list<std::string_view> parts) {
    std::string out;
    for (std::string_view part : parts)
        out.append(part);
    return out;
}

std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

// Drops a comment: ";" after a blank (values may hold ";" otherwise).
std::string_view WithoutComment(std::string_view line) {
    for (std::size_t i = 1; i < line.size(); ++i) {
        if (line[i] == ';' && (line[i - 1] == ' ' || line[i - 1] == '\t'))
            return line.substr(0, i);
    }
    return line;
}

std::optional<int> Number(std::string_view text, int low, int high) {
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value < low || value > high)
        return std::nullopt;
    return value;
}

// "NAME" or "NAME#n" with n from 1: the upper-cased base name and n (0 when absent).
std::optional<std::pair<std::string, int>> SplitOccurrence(std::string_view name) {
    auto hash = name.rfind('#');
    if (hash == std::string_view::npos)
        return std::make_pair(Upper(name), 0);
    auto n = Number(name.substr(hash + 1), 1, 1000000);
    if (!n || hash == 0)
        return std::nullopt;
    return std::make_pair(Upper(name.substr(0, hash)), *n);
}

bool IsDialogName(const std::string& upper) {
    return upper == "CHOICE" || upper == "WIN_RESTART" || FindDialogTemplate(upper) != nullptr;
}

std::string Key(const std::string& upper, int occurrence) {
    return occurrence ? upper + "#" + std::to_string(occurrence) : upper;
}

std::optional<int> MessageResult(std::string_view word) {
    std::string upper = Upper(word);
    if (upper == "OK")
        return IDOK;
    if (upper == "CANCEL")
        return IDCANCEL;
    if (upper == "YES")
        return IDYES;
    if (upper == "NO")
        return IDNO;
    return std::nullopt;
}

} // namespace

AnswersParse Answers::Parse(std::string_view text) {
    Answers answers;
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    enum class In { Nothing, Messages, Dialog } in = In::Nothing;
    DialogAnswers* dialog = nullptr;
    int lineNumber = 0;
    auto fail = [&](const std::string& why) {
        return AnswersParse{std::nullopt,
                            "answers line " + std::to_string(lineNumber) + ": " + why};
    };
    while (!text.empty()) {
        auto end = text.find('\n');
        std::string_view raw = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++lineNumber;
        std::string_view line = Trim(raw);
        if (line.empty() || line.front() == ';')
            continue;
        line = Trim(WithoutComment(line));
        if (line.front() == '[') {
            if (line.back() != ']')
                return fail("a section name lacks its \"]\"");
            std::string_view name = Trim(line.substr(1, line.size() - 2));
            if (Upper(name) == "MESSAGES") {
                in = In::Messages;
                continue;
            }
            auto split = SplitOccurrence(name);
            if (!split || !IsDialogName(split->first))
                return fail(Join({"[", name,
                                  "] is neither [Messages] nor a dialog (a template name, CHOICE "
                                  "or WIN_RESTART, optionally with #n)"}));
            std::string key = Key(split->first, split->second);
            for (auto& [existing, entry] : answers.dialogs_) {
                if (existing == key)
                    return fail(Join({"section [", name, "] appears twice"}));
            }
            answers.dialogs_.emplace_back(key, DialogAnswers{std::string(name), {}, std::nullopt});
            dialog = &answers.dialogs_.back().second;
            in = In::Dialog;
            continue;
        }
        auto equals = line.find('=');
        if (equals == std::string_view::npos)
            return fail("expected name=value");
        std::string_view name = Trim(line.substr(0, equals));
        std::string_view value = Trim(line.substr(equals + 1));
        if (in == In::Nothing)
            return fail("an answer before any section");
        if (in == In::Messages) {
            auto result = MessageResult(value);
            auto split = SplitOccurrence(name);
            if (!result)
                return fail(
                    Join({"a message's answer is Yes, No, OK or Cancel, not \"", value, "\""}));
            if (name.empty() || !split)
                return fail("a message key is a string id or a fixed text's name, with #n");
            answers.messages_.emplace_back(
                Key(split->first, split->second),
                MessageAnswer{std::string(name), *result, std::string(value)});
            continue;
        }
        if (Upper(name) == "PRESS") {
            std::string upper = Upper(value);
            if (upper != "ENTER" && upper != "ESCAPE" && !Number(value, 0, 65535))
                return fail("Press is a button id, Enter or Escape");
            dialog->press = std::string(value);
            continue;
        }
        auto id = Number(name, 0, 65535);
        if (!id)
            return fail(Join({"\"", name, "\" is not a control id"}));
        dialog->values.push_back(ControlAnswer{*id, std::string(value), lineNumber});
    }
    return AnswersParse{std::move(answers), {}};
}

const MessageAnswer* Answers::ForMessage(std::string_view key, int occurrence) const {
    std::string upper = Upper(key);
    for (const std::string& wanted : {Key(upper, occurrence), upper}) {
        for (const auto& [name, answer] : messages_) {
            if (name == wanted)
                return &answer;
        }
    }
    return nullptr;
}

const DialogAnswers* Answers::ForDialog(std::string_view name, int occurrence) const {
    std::string upper = Upper(name);
    for (const std::string& wanted : {Key(upper, occurrence), upper}) {
        for (const auto& [key, answers] : dialogs_) {
            if (key == wanted)
                return &answers;
        }
    }
    return nullptr;
}

std::vector<const MessageAnswer*> Answers::AllMessages() const {
    std::vector<const MessageAnswer*> all;
    for (const auto& [key, answer] : messages_)
        all.push_back(&answer);
    return all;
}

std::vector<const DialogAnswers*> Answers::AllDialogs() const {
    std::vector<const DialogAnswers*> all;
    for (const auto& [key, answers] : dialogs_)
        all.push_back(&answers);
    return all;
}

} // namespace tl::ui
