// What a dry run tells about the restart: whether the installer asked for one (its restart
// dialog) and whether the run then restarted Windows (the platform's restart). Events go on to
// the transcript unchanged.
#pragma once

#include "platform/events.h"
#include "platform/frontend.h"

#include <optional>

namespace tl::app {

inline constexpr std::string_view kRestartDialog = "WIN_RESTART";

class RestartWatch final : public EventSink, public ui::Observer {
public:
    explicit RestartWatch(EventSink& next) : next_(next) {}

    void Record(PlatformEvent event) override {
        if (event.event == "restart")
            restarted_ = true;
        next_.Record(std::move(event));
    }
    void MessageBoxShown(const ui::MessageBoxRequest&, int) override {}
    void DialogClosed(const ui::DialogRecord& record) override {
        if (record.name == kRestartDialog)
            asked_ = true;
    }
    void TimerFired(UINT_PTR, UINT, std::uint64_t) override {}

    bool Asked() const { return asked_; }
    bool Restarted() const { return restarted_; }

private:
    EventSink& next_;
    bool asked_ = false;
    bool restarted_ = false;
};

} // namespace tl::app
