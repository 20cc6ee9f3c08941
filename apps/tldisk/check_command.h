// `tldisk check DISK`: the install disk folder DISK read as the installer will read it, each
// fault reported with its script, line and section.
#pragma once

#include <iosfwd>
#include <span>
#include <string>

namespace tl::tools {

// The exit code: 0 nothing found, 1 findings, 2 bad usage or a disk that cannot be read.
int RunCheckCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err);

} // namespace tl::tools
