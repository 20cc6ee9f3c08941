// An EventSink that keeps the events in order, for tests and for tools that look at a run
// before writing it anywhere.
#pragma once

#include "platform/events.h"

#include <vector>

namespace tl::host {

class EventLog final : public EventSink {
public:
    void Record(PlatformEvent event) override { events_.push_back(std::move(event)); }
    const std::vector<PlatformEvent>& Events() const { return events_; }
    void Clear() { events_.clear(); }

private:
    std::vector<PlatformEvent> events_;
};

} // namespace tl::host
