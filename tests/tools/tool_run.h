// The tools as a person runs them, and the sample disk they are tried on.
#pragma once

#include "support/program_run.h"
#include "support/temp_machine.h"

#include <filesystem>
#include <string>
#include <vector>

namespace tl::test {

inline const std::filesystem::path kSampleDisk = TL_SOURCE_DIR "/examples/disk";

inline ProgramRun RunTool(const char* tool, const std::vector<std::string>& args) {
    return RunProgram(ProgramDir(TL_BINARY_DIR "/bin") / tool, args);
}

// A copy of the sample disk in `scratch`, as "disk".
inline std::filesystem::path CopySampleDisk(const TempMachine& scratch) {
    const auto disk = scratch.Root() / "disk";
    std::filesystem::copy(kSampleDisk, disk, std::filesystem::copy_options::recursive);
    return disk;
}

} // namespace tl::test
