#include "support/program_run.h"

#include "support/temp_machine.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace tl::test {

namespace fs = std::filesystem;

fs::path ProgramDir(const char* fallback) {
    const char* bin = std::getenv("TL_BIN");
    return fs::path(bin != nullptr && *bin != '\0' ? bin : fallback);
}

ProgramRun RunProgram(const fs::path& program, const std::vector<std::string>& args,
                      std::chrono::milliseconds timeout) {
    ProgramRun run;
    const TempFolder scratch("tlrun-");
    const int out = ::open((scratch.Root() / "out").c_str(), O_WRONLY | O_CREAT, 0600);
    const int err = ::open((scratch.Root() / "err").c_str(), O_WRONLY | O_CREAT, 0600);
    std::vector<std::string> words;
    words.push_back(program.string());
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    pid_t child = out < 0 || err < 0 ? -1 : ::fork();
    if (child == 0) {
        int input = ::open("/dev/null", O_RDONLY);
        ::dup2(input, STDIN_FILENO);
        ::dup2(out, STDOUT_FILENO);
        ::dup2(err, STDERR_FILENO);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }

    const auto deadline = std::chrono::steady_clock::now() + timeout;
    int status = 0;
    for (; child > 0;) {
        pid_t done = ::waitpid(child, &status, WNOHANG);
        if (done == child)
            break;
        if (done < 0 && errno != EINTR)
            break;
        if (std::chrono::steady_clock::now() >= deadline) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            run.timedOut = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ::close(out);
    ::close(err);
    if (child > 0 && !run.timedOut && WIFEXITED(status))
        run.exitCode = WEXITSTATUS(status);
    run.out = scratch.ReadFile("out");
    run.err = child > 0 ? scratch.ReadFile("err") : "cannot start " + program.string();
    return run;
}

} // namespace tl::test
