#include "host_session.h"

#include "dry_run_report.h"
#include "instance_lock.h"
#include "restart_watch.h"
#include "throwaway_machine.h"

#include "platform/host/host_machine.h"
#include "platform/host/iconv_code_page.h"
#include "platform/host/ui/host_window_system.h"
#include "platform/host/ui/machine_directories.h"
#include "state/installer.h"
#include "ui/tui/terminal_frontend.h"
#include "ui/unattended/answers.h"
#include "ui/unattended/answers_recorder.h"
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

namespace tl::app {

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitStopped = 3;

int Fail(const char* name, const std::string& why) {
    std::cerr << name << ": " << why << "\n";
    return kExitUsage;
}

} // namespace

int RunHostProgram(int argc, char** argv, const HostProgram& program) {
    const char* name = program.name;
    std::vector<std::string> arguments(argv + 1, argv + argc);
    OptionsParse parse = ParseOptions(arguments, program.removal);
    if (parse.options.help) {
        std::cout << program.usage;
        return 0;
    }
    if (!parse.error.empty()) {
        std::cerr << name << ": " << parse.error << "\n" << program.usage;
        return kExitUsage;
    }
    const Options& options = parse.options;

    host::IconvCodePage codePage;
    std::error_code error;
    if (!std::filesystem::is_directory(options.machine, error))
        return Fail(name, "machine folder " + options.machine + " does not exist");
    if (options.disk && !std::filesystem::is_directory(*options.disk, error))
        return Fail(name, "install disk " + *options.disk + " does not exist");

    // A folder opens as an empty file on some systems: it is no answers file and no transcript.
    for (const std::optional<std::string>* file :
         {&options.answers, &options.transcript, &options.recordAnswers}) {
        if (*file && std::filesystem::is_directory(**file, error))
            return Fail(name, **file + " is a folder, not a file");
    }

    std::optional<ui::Answers> answers;
    if (options.answers) {
        std::ifstream file(*options.answers, std::ios::binary);
        if (!file)
            return Fail(name, "cannot read answers file " + *options.answers);
        std::stringstream text;
        text << file.rdbuf();
        ui::AnswersParse answersParse = ui::Answers::Parse(text.str());
        if (!answersParse.answers)
            return Fail(name, *options.answers + ": " + answersParse.error);
        answers = std::move(answersParse.answers);
    }

    std::ofstream transcriptFile;
    ui::StreamLineSink transcriptLines(transcriptFile);
    ui::DiscardedLines discarded;
    ui::LineSink* transcriptOut = &discarded;
    if (options.transcript) {
        transcriptFile.open(*options.transcript, std::ios::binary | std::ios::trunc);
        if (!transcriptFile)
            return Fail(name, "cannot write transcript " + *options.transcript);
        transcriptOut = &transcriptLines;
    }
    ui::Transcript transcript(*transcriptOut, codePage);

    std::ofstream recordFile;
    ui::StreamLineSink recordLines(recordFile);
    std::optional<ui::AnswersRecorder> recorder;
    if (options.recordAnswers) {
        recordFile.open(*options.recordAnswers, std::ios::binary | std::ios::trunc);
        if (!recordFile)
            return Fail(name, "cannot write answers file " + *options.recordAnswers);
        recorder.emplace(recordLines, codePage);
    }
    // Platform events go on to the transcript through the watch; every observer hears the
    // window system.
    RestartWatch watch(transcript);
    std::optional<ui::ObserverPair> withRecorder;
    ui::Observer* observer = &transcript;
    if (recorder)
        observer = &withRecorder.emplace(*observer, *recorder);
    ui::ObserverPair observers(*observer, watch);

    // A dry run installs on a throwaway copy; the machine folder itself is only read.
    std::unique_ptr<ThrowawayMachine> throwaway;
    if (options.dryRun) {
        std::string why;
        throwaway = ThrowawayMachine::Make(options.machine, codePage, why);
        if (!throwaway)
            return Fail(name, why);
    }
    const std::filesystem::path machineDir =
        throwaway ? throwaway->Folder() : std::filesystem::path(options.machine);

    host::HostMachineOptions machineOptions{machineDir, {}, options.diskWritable};
    if (options.disk)
        machineOptions.diskDir = *options.disk;
    std::string machineError;
    std::unique_ptr<host::HostMachine> machine =
        host::HostMachine::Open(machineOptions, watch, &machineError);
    if (!machine)
        return Fail(name, machineError);

    // Ask at the terminal only when one is attached and no answers were given.
    const bool interactive = !options.answers && isatty(STDIN_FILENO) && isatty(STDOUT_FILENO);
    ui::UnattendedFrontend unattended(answers ? &*answers : nullptr, codePage);
    ui::TerminalFrontend terminal(std::cin, std::cout, codePage);
    ui::Frontend* frontend = interactive ? static_cast<ui::Frontend*>(&terminal) : &unattended;

    host::HostWindowSystem windows(*frontend, codePage);
    windows.SetObserver(&observers);
    windows.SetEventSink(&watch);
    windows.SetDirectoryLister(
        host::MachineDirectoryLister(machine->Resolver(), machine->Config(), codePage));
    Installer installer(machine->GetPlatform(), windows);
    windows.SetStopHandler([&](const std::string& reason) {
        std::cerr << name << ": " << reason << "\n";
        transcript.End(installer.installationState, kExitStopped, reason);
        if (throwaway)
            throwaway->Remove();
        std::exit(kExitStopped);
    });

    // Another installer working on this machine shows as its main window.
    InstanceLock lock(machineDir);
    if (!lock.Held() && !program.busy(windows))
        return Fail(name, "another program is working on " + options.machine);

    const int exitCode = program.run(installer, options);
    for (const std::string& unused : unattended.Unused())
        std::cerr << name << ": warning: answers " << unused << " were never asked for\n";
    int status = exitCode;
    if (interactive) {
        transcript.End(installer.installationState, exitCode);
    } else {
        status = ui::UnattendedExitStatus(installer.installationState, transcript.ErrorCount() > 0);
        transcript.End(installer.installationState, exitCode, {}, status);
    }
    if (!throwaway)
        return status;

    std::string why;
    std::optional<MachineChanges> changes =
        CompareMachines(options.machine, throwaway->Folder(), codePage, why);
    if (!changes)
        return Fail(name, "the dry run's changes cannot be read: " + why);
    const DryRunOutcome outcome{std::move(*changes), watch.Asked(), watch.Restarted(), status};
    std::cout << (options.json ? FormatDryRunJson(outcome) : FormatDryRunText(outcome));
    return status;
}

} // namespace tl::app
