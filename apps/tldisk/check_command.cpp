#include "check_command.h"

#include "disk_check.h"

#include <ostream>

namespace tl::tools {
namespace {

constexpr int kExitClean = 0;
constexpr int kExitFindings = 1;
constexpr int kExitUnreadable = 2;

} // namespace

int RunCheckCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    if (args.size() != 1) {
        err << "usage: tldisk check DISK\n";
        return kExitUnreadable;
    }
    const DiskCheckResult result = CheckDisk(args[0]);
    if (!result.readable) {
        err << "tldisk: " << args[0] << ": " << result.error << "\n";
        return kExitUnreadable;
    }
    // FILE:LINE: [SECTION] KIND: what is wrong
    for (const Finding& finding : result.findings)
        out << finding.file << ":" << finding.line << ": [" << finding.section << "] "
            << finding.kind << ": " << finding.text << "\n";
    if (result.findings.empty()) {
        out << args[0] << ": no findings\n";
        return kExitClean;
    }
    out << result.findings.size() << (result.findings.size() == 1 ? " finding\n" : " findings\n");
    return kExitFindings;
}

} // namespace tl::tools
