// The transcript of a run: JSON Lines, UTF-8, one event a line in the order things happened.
//
//   {"event":"message","key":"139","caption":...,"text":...,"buttons":"yesno","icon":"none",
//    "answer":"no"}
//   {"event":"dialog","template":"PRINTERNAME","opened":{"caption":...,"controls":{"2107":
//    {"text":...,"enabled":true},...}},"closed":{...},"pressed":1,"result":1}
//   {"event":"timer","id":1,"delay":2000,"time":2000}
//   platform events ({"event":"restart","flags":2}, broadcast, addfont, beep, prompt, error)
//   {"event":"end","state":4,"exitCode":0,"status":0}
//
// A control shows "items" and "selected" when it is a list box, "checked" when it is a radio
// button or check box, and "visible":false when it is hidden. A dialog's line is written when it
// closes (modeless ones when destroyed, with "result":null). Each line is flushed at once, so a
// run that stops keeps what it did.
#pragma once

#include "platform/code_page.h"
#include "platform/events.h"
#include "platform/frontend.h"
#include "platform/installation_state.h"
#include "ui/unattended/line_sink.h"

#include <optional>
#include <string>
#include <string_view>

namespace tl::ui {

class Transcript final : public Observer, public EventSink {
public:
    Transcript(LineSink& out, const CodePage& codePage) : out_(out), codePage_(codePage) {}

    void MessageBoxShown(const MessageBoxRequest& request, int result) override;
    void DialogClosed(const DialogRecord& record) override;
    void TimerFired(UINT_PTR id, UINT delayMs, std::uint64_t timeMs) override;
    void Record(PlatformEvent event) override;
    // The last line. `error` (UTF-8) says why a run stopped; empty for a run that ended. An
    // unattended run adds the exit status it ends with, which a POSIX parent sees only modulo
    // 256.
    void End(InstallationState state, int exitCode, std::string_view error = {},
             std::optional<int> status = std::nullopt);
    // How many failures ("error" events) the run has recorded so far.
    int ErrorCount() const { return errors_; }

private:
    std::string State(const DialogSnapshot& snapshot) const;
    void Write(const std::string& line);

    LineSink& out_;
    const CodePage& codePage_;
    int errors_ = 0;
};

} // namespace tl::ui
