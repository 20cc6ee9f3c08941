// Writing a floppy image with mtools (Debian's mtools package): mformat, mmd and mcopy, each
// started with its arguments as they are (no shell).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tl::tools {

// Runs `program` with `arguments`; empty when it exited with 0, else what went wrong.
std::string RunTool(const std::string& program, const std::vector<std::string>& arguments);

} // namespace tl::tools
