// Effects of the platform that leave no file (restart, broadcasts, fonts added, beeps, prompts).
// The host adapter records them here; the unattended frontend writes them to the transcript.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace tl {

// One transcript event: its name ("restart", "broadcast", "addfont", "beep", "prompt", ...) and
// its fields in order. Texts are UTF-8.
struct PlatformEvent {
    using Value = std::variant<std::int64_t, std::string, bool>;
    std::string event;
    std::vector<std::pair<std::string, Value>> fields;
};

class EventSink {
public:
    virtual ~EventSink() = default;
    virtual void Record(PlatformEvent event) = 0;
};

} // namespace tl
