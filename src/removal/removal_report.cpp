#include "removal/removal_report.h"

#include "dialogs/dialog_utils.h"

#include <algorithm>

namespace tl {

namespace {

TextId LabelText(RemovalOutcome outcome) {
    switch (outcome) {
    case RemovalOutcome::Removed:
        return TextId::RemovedLabel;
    case RemovalOutcome::Restored:
        return TextId::RestoredLabel;
    case RemovalOutcome::AlreadyGone:
        return TextId::AlreadyGoneLabel;
    case RemovalOutcome::InUse:
        return TextId::InUseLeftLabel;
    case RemovalOutcome::StillUsed:
        return TextId::StillUsedLeftLabel;
    case RemovalOutcome::Failed:
        return TextId::NotRemovedLabel;
    case RemovalOutcome::Refused:
        return TextId::RecordRefusedLabel;
    case RemovalOutcome::Left:
        return TextId::LeftAsItWasLabel;
    }
    return TextId::NotRemovedLabel;
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
    std::string text =
        LoadTextCopy(report.Incomplete() ? TextId::RemovalIncomplete : TextId::RemovalDone);
    for (const RemovalReport::Line& line : report.lines) {
        text += LoadTextCopy(LabelText(line.outcome));
        text += line.what;
        text += '\n';
    }
    return text;
}

} // namespace tl
