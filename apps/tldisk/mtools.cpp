#include "mtools.h"

#include <cerrno>
#include <cstring>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace tl::tools {

std::string RunTool(const std::string& program, const std::vector<std::string>& arguments) {
    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    const int failed = posix_spawnp(&child, program.c_str(), nullptr, nullptr, argv.data(), environ);
    if (failed != 0)
        return program + " cannot be started (" + std::strerror(failed) +
               "; install Debian's mtools package)";
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            return program + ": lost (" + std::strerror(errno) + ")";
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
        return {};
    return program + " failed (" +
           (WIFEXITED(status) ? "exit code " + std::to_string(WEXITSTATUS(status))
                              : std::string("killed")) +
           ")";
}

} // namespace tl::tools
