// Runs one of the built programs as a separate process, as a person or a script would: input
// from /dev/null (no terminal), output and errors kept, and a time-out after which the program
// is killed, so a program that hangs fails its test instead of the whole suite.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace tl::test {

struct ProgramRun {
    int exitCode = -1; // -1 when it did not exit normally (killed, signalled)
    bool timedOut = false;
    std::string out;
    std::string err;
};

// The folder of the built programs: $TL_BIN (set by ctest), else `fallback`.
std::filesystem::path ProgramDir(const char* fallback);

ProgramRun RunProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
                      std::chrono::milliseconds timeout = std::chrono::seconds(30));

} // namespace tl::test
