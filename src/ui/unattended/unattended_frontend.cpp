#include "ui/unattended/unattended_frontend.h"

#include "ui/answer_apply.h"

namespace tl::ui {
namespace {

bool Offers(UINT type, int result) {
    switch (type & MB_TYPEMASK) {
    case MB_OK:
        return result == IDOK;
    case MB_OKCANCEL:
        return result == IDOK || result == IDCANCEL;
    case MB_YESNO:
        return result == IDYES || result == IDNO;
    case 0x3: // MB_YESNOCANCEL
        return result == IDYES || result == IDNO || result == IDCANCEL;
    default:
        return false;
    }
}

} // namespace

std::string ButtonsName(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_OK:
        return "ok";
    case MB_OKCANCEL:
        return "okcancel";
    case 0x2:
        return "abortretryignore";
    case 0x3:
        return "yesnocancel";
    case MB_YESNO:
        return "yesno";
    case 0x5:
        return "retrycancel";
    default:
        return "ok";
    }
}

std::string IconName(UINT type) {
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND:
        return "error";
    case MB_ICONQUESTION:
        return "question";
    case MB_ICONEXCLAMATION:
        return "warning";
    case MB_ICONASTERISK:
        return "information";
    default:
        return "none";
    }
}

std::string AnswerName(int result) {
    switch (result) {
    case IDOK:
        return "ok";
    case IDCANCEL:
        return "cancel";
    case IDYES:
        return "yes";
    case IDNO:
        return "no";
    default:
        return std::to_string(result);
    }
}

MessageBoxAnswer UnattendedFrontend::AnswerMessageBox(const MessageBoxRequest& request) {
    const MessageAnswer* answer =
        answers_ ? answers_->ForMessage(request.key, request.occurrence) : nullptr;
    if (answer) {
        used_.insert(answer);
        if (!Offers(request.type, answer->result))
            return {request.DefaultResult(),
                    "message " + request.key + " offers " + ButtonsName(request.type) +
                        "; the answer " + answer->key + "=" + answer->word + " does not fit"};
    }
    const int result = answer ? answer->result : request.DefaultResult();
    return {result, repeats_.Message(request, result).value_or(std::string())};
}

std::vector<std::string> UnattendedFrontend::Unused() const {
    std::vector<std::string> unused;
    if (!answers_)
        return unused;
    for (const MessageAnswer* answer : answers_->AllMessages()) {
        if (!used_.count(answer))
            unused.push_back("[Messages] " + answer->key);
    }
    for (const DialogAnswers* answers : answers_->AllDialogs()) {
        if (!used_.count(answers))
            unused.push_back("[" + answers->section + "]");
    }
    return unused;
}

std::optional<std::string> UnattendedFrontend::DriveDialog(DialogDriver& dialog, int attempt) {
    if (attempt >= 2)
        return "dialog " + DialogLabel(dialog) +
               " is still open after its answers were applied and its button pressed twice: "
               "it refused them";
    const DialogAnswers* answers =
        answers_ ? answers_->ForDialog(dialog.Name(), dialog.Occurrence()) : nullptr;
    if (attempt == 0) {
        if (auto endless = repeats_.Dialog(dialog, answers ? answers->section : std::string()))
            return endless;
    }
    if (answers) {
        used_.insert(answers);
        for (const ControlAnswer& value : answers->values) {
            if (auto error = ApplyControlAnswer(dialog, value.id, value.value, codePage_))
                return *error + " (answers line " + std::to_string(value.line) + ")";
        }
        if (answers->press)
            return PressAnswer(dialog, *answers->press);
    }
    dialog.PressKey(VK_RETURN);
    return std::nullopt;
}

} // namespace tl::ui
