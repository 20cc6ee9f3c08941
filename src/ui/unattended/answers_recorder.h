// Records a run as an answers file (the format of answers.h) that replays it: each message box's
// answer as it is given, and each dialog, when it closes, as the controls a user changed and the
// button that closed it. Lines are written as the run goes, so a run that stops keeps what it
// answered before.
//
//   [Messages]            139=Yes, and 139#2=No for the second box with that key
//   [SELECTDRV]           the first opening of a dialog; [DIRECTORY#2] the second
//   119=Telmora LP 300    an edit's text, a list's selected items, 1/0 for a check
//   Press=1               the button that closed it (Escape, Enter where it has no such button)
//
// Radio buttons that were cleared come before the one that was checked, so a replay ends with the
// same one checked. What the format cannot say is left out: a dialog that closed by itself (no
// key or click ended it), keys other than Enter and Escape (F3), and the earlier presses of a
// dialog that refused them and stayed open (its final controls and press are written, so a box
// it showed in between is not shown when it is replayed).
#pragma once

#include "platform/code_page.h"
#include "platform/frontend.h"
#include "ui/unattended/line_sink.h"

#include <map>
#include <string>

namespace tl::ui {

class AnswersRecorder final : public Observer {
public:
    AnswersRecorder(LineSink& out, const CodePage& codePage);

    void MessageBoxShown(const MessageBoxRequest& request, int result) override;
    void DialogClosed(const DialogRecord& record) override;
    void TimerFired(UINT_PTR, UINT, std::uint64_t) override {}

private:
    LineSink& out_;
    const CodePage& codePage_;
    bool inMessages_ = false;
    std::map<std::string, int> openings_; // dialogs closed so far, by name
};

// Hands every observation to two observers in turn (the transcript and the recorder).
class ObserverPair final : public Observer {
public:
    ObserverPair(Observer& first, Observer& second) : first_(first), second_(second) {}

    void MessageBoxShown(const MessageBoxRequest& request, int result) override {
        first_.MessageBoxShown(request, result);
        second_.MessageBoxShown(request, result);
    }
    void DialogClosed(const DialogRecord& record) override {
        first_.DialogClosed(record);
        second_.DialogClosed(record);
    }
    void TimerFired(UINT_PTR id, UINT delayMs, std::uint64_t timeMs) override {
        first_.TimerFired(id, delayMs, timeMs);
        second_.TimerFired(id, delayMs, timeMs);
    }

private:
    Observer& first_;
    Observer& second_;
};

} // namespace tl::ui
