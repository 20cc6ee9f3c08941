#include "removal/removal_report.h"

#include "dialogs/dialog_utils.h"

#include <algorithm>

namespace tl {

namespace {

constexpr unsigned kDoneText = 302;
constexpr unsigned kIncompleteText = 312;

unsigned LabelText(RemovalOutcome outcome) {
    switch (outcome) {
    case RemovalOutcome::Removed:
        return 304;
    case RemovalOutcome::Restored:
        return 305;
    case RemovalOutcome::AlreadyGone:
        return 306;
    case RemovalOutcome::InUse:
        return 307;
    case RemovalOutcome::StillUsed:
        return 308;
    case RemovalOutcome::Failed:
        return 309;
    case RemovalOutcome::Refused:
        return 310;
    case RemovalOutcome::Left:
        return 311;
    }
    return 309;
}

bool IsShortfall(const RemovalReport::Line& line) {
    return line.outcome == RemovalOutcome::InUse || line.outcome == RemovalOutcome::Failed ||
           line.outcome == RemovalOutcome::Refused;
}

} // namespace

bool RemovalReport::Incomplete() const {
    return std::any_of(lines.begin(), lines.end(), IsShortfall);
}

bool RemovalReport::Changed() const {
    return std::any_of(lines.begin(), lines.end(), [](const Line& line) {
        return line.outcome == RemovalOutcome::Removed || line.outcome == RemovalOutcome::Restored;
    });
}

std::string ReportText(const RemovalReport& report) {
    std::string text = LoadTextCopy(report.Incomplete() ? kIncompleteText : kDoneText);
    for (const RemovalReport::Line& line : report.lines) {
        text += LoadTextCopy(LabelText(line.outcome));
        text += line.what;
        text += '\n';
    }
    return text;
}

} // namespace tl
