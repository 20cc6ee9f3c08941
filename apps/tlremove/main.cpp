// tlremove on the host: the removal program run against a machine folder, answered by an
// answers file, a terminal or the defaults, and recorded in a transcript, as tlins32a is.
#include "../tlins32a/instance_lock.h"
#include "../tlins32a/options.h"

#include "platform/host/host_machine.h"
#include "platform/host/iconv_code_page.h"
#include "platform/host/ui/host_window_system.h"
#include "removal/removal_run.h"
#include "removal/settings_file.h"
#include "state/installer.h"
#include "ui/tui/terminal_frontend.h"
#include "ui/unattended/answers.h"
#include "ui/unattended/exit_status.h"
#include "ui/unattended/stream_line_sink.h"
#include "ui/unattended/transcript.h"
#include "ui/unattended/unattended_frontend.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <unistd.h>

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitStopped = 3;

int Fail(const std::string& why) {
    std::cerr << "tlremove: " << why << "\n";
    return kExitUsage;
}

} // namespace

int main(int argc, char** argv) {
    using namespace tl;
    std::vector<std::string> arguments(argv + 1, argv + argc);
    app::OptionsParse parse = app::ParseOptions(arguments, true);
    if (parse.options.help) {
        std::cout << app::kRemovalUsage;
        return 0;
    }
    if (!parse.error.empty()) {
        std::cerr << "tlremove: " << parse.error << "\n" << app::kRemovalUsage;
        return kExitUsage;
    }
    const app::Options& options = parse.options;

    host::IconvCodePage codePage;
    std::error_code error;
    if (!std::filesystem::is_directory(options.machine, error))
        return Fail("machine folder " + options.machine + " does not exist");
    if (options.disk && !std::filesystem::is_directory(*options.disk, error))
        return Fail("install disk " + *options.disk + " does not exist");
    for (const std::optional<std::string>* file : {&options.answers, &options.transcript}) {
        if (*file && std::filesystem::is_directory(**file, error))
            return Fail(**file + " is a folder, not a file");
    }

    std::optional<ui::Answers> answers;
    if (options.answers) {
        std::ifstream file(*options.answers, std::ios::binary);
        if (!file)
            return Fail("cannot read answers file " + *options.answers);
        std::stringstream text;
        text << file.rdbuf();
        ui::AnswersParse answersParse = ui::Answers::Parse(text.str());
        if (!answersParse.answers)
            return Fail(*options.answers + ": " + answersParse.error);
        answers = std::move(answersParse.answers);
    }

    std::ofstream transcriptFile;
    ui::StreamLineSink transcriptLines(transcriptFile);
    ui::DiscardedLines discarded;
    ui::LineSink* transcriptOut = &discarded;
    if (options.transcript) {
        transcriptFile.open(*options.transcript, std::ios::binary | std::ios::trunc);
        if (!transcriptFile)
            return Fail("cannot write transcript " + *options.transcript);
        transcriptOut = &transcriptLines;
    }
    ui::Transcript transcript(*transcriptOut, codePage);

    host::HostMachineOptions machineOptions{options.machine, {}, false};
    if (options.disk)
        machineOptions.diskDir = *options.disk;
    std::string machineError;
    std::unique_ptr<host::HostMachine> machine =
        host::HostMachine::Open(machineOptions, transcript, &machineError);
    if (!machine)
        return Fail(machineError);

    const bool interactive = !options.answers && isatty(STDIN_FILENO) && isatty(STDOUT_FILENO);
    ui::UnattendedFrontend unattended(answers ? &*answers : nullptr, codePage);
    ui::TerminalFrontend terminal(std::cin, std::cout, codePage);
    ui::Frontend* frontend = interactive ? static_cast<ui::Frontend*>(&terminal) : &unattended;

    host::HostWindowSystem windows(*frontend, codePage);
    windows.SetObserver(&transcript);
    windows.SetEventSink(&transcript);
    Installer installer(machine->GetPlatform(), windows);
    windows.SetStopHandler([&](const std::string& reason) {
        std::cerr << "tlremove: " << reason << "\n";
        transcript.End(installer.installationState, kExitStopped, reason);
        std::exit(kExitStopped);
    });

    // Never beside an installer working on the same machine.
    app::InstanceLock lock(options.machine);
    if (!lock.Held())
        return Fail("an installer or removal is running on " + options.machine);

    const std::optional<std::string> settingsName =
        options.settings ? std::optional<std::string>(codePage.FromUtf8(*options.settings))
                         : std::nullopt;
    if (!FindRemovalSettings(installer, settingsName)) {
        transcript.End(installer.installationState, kExitUsage, "unusable settings file name");
        return kExitUsage;
    }
    installer.installationState = RunRemoval(installer, WindowHandle{});
    for (const std::string& unused : unattended.Unused())
        std::cerr << "tlremove: warning: answers " << unused << " were never asked for\n";
    const int status =
        ui::UnattendedExitStatus(installer.installationState, transcript.ErrorCount() > 0);
    if (interactive) {
        transcript.End(installer.installationState, status);
        return status;
    }
    transcript.End(installer.installationState, status, {}, status);
    return status;
}
