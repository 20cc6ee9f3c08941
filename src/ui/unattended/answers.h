// The answers file of an unattended run (INI, UTF-8):
//
//   [Messages]          key=Yes|No|OK|Cancel; key#n only for the n-th box with that key
//   [TEMPLATE]          control-id=value ... then Press=id (or Enter, Escape); every opening
//   [TEMPLATE#n]        the same, for the n-th opening only (it replaces [TEMPLATE] there)
//
// TEMPLATE is a dialog's name: a template of the resources, CHOICE (the language dialog) or
// WIN_RESTART. Values are applied in the order written. A value is the text typed (edit), the
// items to select, comma-separated (list box), or 1/0 (radio button, check box). Names compare
// without regard to case; ";" at the start of a line, or after a blank, starts a comment.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tl::ui {

struct ControlAnswer {
    int id = 0;
    std::string value; // UTF-8, as written
    int line = 0;
};

struct DialogAnswers {
    std::string section; // as written, for messages
    std::vector<ControlAnswer> values;
    std::optional<std::string> press; // a button id, "Enter" or "Escape"
};

struct MessageAnswer {
    std::string key; // as written
    int result = 0;  // IDOK, IDCANCEL, IDYES or IDNO
    std::string word;
};

struct AnswersParse;

class Answers {
public:
    static AnswersParse Parse(std::string_view utf8Text);

    // The answer for the occurrence-th box of `key` ("139#2" before "139"), or none.
    const MessageAnswer* ForMessage(std::string_view key, int occurrence) const;
    // The answers for the occurrence-th opening of dialog `name`, or none.
    const DialogAnswers* ForDialog(std::string_view name, int occurrence) const;

    // Every answer, in the order written (for telling which were never used).
    std::vector<const MessageAnswer*> AllMessages() const;
    std::vector<const DialogAnswers*> AllDialogs() const;

private:
    std::vector<std::pair<std::string, MessageAnswer>> messages_;
    std::vector<std::pair<std::string, DialogAnswers>> dialogs_;
};

struct AnswersParse {
    std::optional<Answers> answers;
    std::string error; // names the line
};

} // namespace tl::ui
