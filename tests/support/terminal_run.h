// A program run at a terminal: a pseudo-terminal is its standard input, output and error, so it
// takes itself to be run by a person. The test types `input` (then the end of input) and gets
// back everything the terminal showed.
#pragma once

#include "support/program_run.h"

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace tl::test {

ProgramRun RunAtTerminal(const std::filesystem::path& program, const std::vector<std::string>& args,
                         const std::string& input,
                         std::chrono::milliseconds timeout = std::chrono::seconds(60));

} // namespace tl::test
