#include "support/terminal_run.h"

#include <cerrno>
#include <csignal>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace tl::test {

ProgramRun RunAtTerminal(const std::filesystem::path& program, const std::vector<std::string>& args,
                         const std::string& input, std::chrono::milliseconds timeout) {
    ProgramRun run;
    std::vector<std::string> words{program.string()};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    // Lines as a person types them; what is typed is not echoed, so the output is the program's.
    termios settings{};
    settings.c_iflag = ICRNL;
    settings.c_oflag = OPOST | ONLCR;
    settings.c_cflag = CS8 | CREAD;
    settings.c_lflag = ICANON;
    settings.c_cc[VEOF] = 4;
    cfsetispeed(&settings, B38400);
    cfsetospeed(&settings, B38400);
    int terminal = -1;
    const pid_t child = ::forkpty(&terminal, nullptr, &settings, nullptr);
    if (child < 0) {
        run.err = "cannot start " + program.string() + " at a terminal";
        return run;
    }
    if (child == 0) {
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    // The typed lines wait in the terminal until the program reads them; Ctrl-D at the start of
    // a line is the end of input.
    const std::string typed = input + "\x04";
    std::size_t sent = 0;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (std::chrono::steady_clock::now() >= deadline) {
            ::kill(child, SIGKILL);
            run.timedOut = true;
            break;
        }
        pollfd watch{terminal, static_cast<short>(POLLIN | (sent < typed.size() ? POLLOUT : 0)), 0};
        if (::poll(&watch, 1, 50) < 0 && errno != EINTR)
            break;
        if ((watch.revents & POLLOUT) && sent < typed.size()) {
            const ssize_t n = ::write(terminal, typed.data() + sent, typed.size() - sent);
            if (n > 0)
                sent += static_cast<std::size_t>(n);
        }
        if (watch.revents & (POLLIN | POLLHUP | POLLERR)) {
            char buffer[4096];
            const ssize_t n = ::read(terminal, buffer, sizeof buffer);
            if (n <= 0)
                break; // the program has closed the terminal (EIO)
            run.out.append(buffer, static_cast<std::size_t>(n));
        }
    }
    ::close(terminal);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!run.timedOut && WIFEXITED(status))
        run.exitCode = WEXITSTATUS(status);
    return run;
}

} // namespace tl::test
