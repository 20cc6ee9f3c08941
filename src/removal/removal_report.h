// What the removal did with each thing the records name, for the report at its end.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tl {

enum class RemovalOutcome {
    Removed,
    Restored,    // the earlier version is back
    AlreadyGone, // nothing left to undo
    InUse,       // a file in use, left as it is
    StillUsed,   // a driver, monitor or print processor another printer or driver still uses
    Failed,
    Refused, // the record names something outside what an installation touches, or is damaged
    Left,    // left as it is on purpose (the earlier version is not there to bring back)
};

struct RemovalReport {
    struct Line {
        RemovalOutcome outcome;
        std::string what;
    };
    std::vector<Line> lines;
    bool restartNeeded = false;

    void Add(RemovalOutcome outcome, std::string_view what) {
        lines.push_back({outcome, std::string(what)});
    }
    // Something could not be undone: the records stay for another run.
    bool Incomplete() const;
    // Anything was removed or brought back.
    bool Changed() const;
};

// The report's text: the heading, then a line for each thing, by outcome.
std::string ReportText(const RemovalReport& report);

} // namespace tl
