#include "support/program_run.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace tl::test {

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A file for the child's output, in the system's temporary folder, removed with the object.
class OutputFile {
public:
    explicit OutputFile(const char* role) {
        std::string pattern =
            (fs::temp_directory_path() / (std::string("tlrun-") + role + "-XXXXXX")).string();
        fd_ = ::mkstemp(pattern.data());
        path_ = pattern;
    }
    ~OutputFile() {
        if (fd_ >= 0)
            ::close(fd_);
        std::error_code ec;
        fs::remove(path_, ec);
    }
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    int Fd() const { return fd_; }
    std::string Text() const { return ReadAll(path_); }

private:
    int fd_ = -1;
    fs::path path_;
};

} // namespace

fs::path ProgramDir(const char* fallback) {
    const char* bin = std::getenv("TL_BIN");
    return fs::path(bin != nullptr && *bin != '\0' ? bin : fallback);
}

ProgramRun RunProgram(const fs::path& program, const std::vector<std::string>& args,
                      std::chrono::milliseconds timeout) {
    ProgramRun run;
    OutputFile out("out");
    OutputFile err("err");
    if (out.Fd() < 0 || err.Fd() < 0) {
        run.err = "cannot make the output files";
        return run;
    }
    std::vector<std::string> words;
    words.push_back(program.string());
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    pid_t child = ::fork();
    if (child < 0) {
        run.err = "cannot start " + program.string();
        return run;
    }
    if (child == 0) {
        int input = ::open("/dev/null", O_RDONLY);
        ::dup2(input, STDIN_FILENO);
        ::dup2(out.Fd(), STDOUT_FILENO);
        ::dup2(err.Fd(), STDERR_FILENO);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }

    const auto deadline = std::chrono::steady_clock::now() + timeout;
    int status = 0;
    for (;;) {
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
    if (!run.timedOut && WIFEXITED(status))
        run.exitCode = WEXITSTATUS(status);
    run.out = out.Text();
    run.err = err.Text();
    return run;
}

} // namespace tl::test
