// tlins32a on the host: the installer run against a machine folder, answered by an answers file,
// a terminal, or the defaults, and recorded in a transcript.
#include "instance_lock.h"
#include "dry_run_report.h"
#include "options.h"
#include "other_instance.h"
#include "restart_watch.h"
#include "throwaway_machine.h"

#include "platform/host/host_machine.h"
#include "platform/host/iconv_code_page.h"
#include "platform/host/ui/host_window_system.h"
#include "platform/host/ui/machine_directories.h"
#include "sequencer/entry.h"
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
#include <optional>
#include <sstream>
#include <unistd.h>

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitStopped = 3;

int Fail(const std::string& why) {
    std::cerr << "tlins32a: " << why << "\n";
    return kExitUsage;
}

} // namespace

int main(int argc, char** argv) {
    using namespace tl;
    std::vector<std::string> arguments(argv + 1, argv + argc);
    app::OptionsParse parse = app::ParseOptions(arguments);
    if (parse.options.help) {
        std::cout << app::kUsage;
        return 0;
    }
    if (!parse.error.empty()) {
        std::cerr << "tlins32a: " << parse.error << "\n" << app::kUsage;
        return kExitUsage;
    }
    const app::Options& options = parse.options;

    host::IconvCodePage codePage;
    std::error_code error;
    if (!std::filesystem::is_directory(options.machine, error))
        return Fail("machine folder " + options.machine + " does not exist");
    if (options.disk && !std::filesystem::is_directory(*options.disk, error))
        return Fail("install disk " + *options.disk + " does not exist");

    // A folder opens as an empty file on some systems: it is no answers file and no transcript.
    for (const std::optional<std::string>* file :
         {&options.answers, &options.transcript, &options.recordAnswers}) {
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

    std::ofstream recordFile;
    ui::StreamLineSink recordLines(recordFile);
    std::optional<ui::AnswersRecorder> recorder;
    if (options.recordAnswers) {
        recordFile.open(*options.recordAnswers, std::ios::binary | std::ios::trunc);
        if (!recordFile)
            return Fail("cannot write answers file " + *options.recordAnswers);
        recorder.emplace(recordLines, codePage);
    }
    // Platform events go on to the transcript through the watch; every observer hears the
    // window system.
    app::RestartWatch watch(transcript);
    std::optional<ui::ObserverPair> withRecorder;
    ui::Observer* observer = &transcript;
    if (recorder)
        observer = &withRecorder.emplace(*observer, *recorder);
    ui::ObserverPair observers(*observer, watch);

    // A dry run installs on a throwaway copy; the machine folder itself is only read.
    std::unique_ptr<app::ThrowawayMachine> throwaway;
    if (options.dryRun) {
        std::string why;
        throwaway = app::ThrowawayMachine::Make(options.machine, codePage, why);
        if (!throwaway)
            return Fail(why);
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
        return Fail(machineError);

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
        std::cerr << "tlins32a: " << reason << "\n";
        transcript.End(installer.installationState, kExitStopped, reason);
        if (throwaway)
            throwaway->Remove();
        std::exit(kExitStopped);
    });

    // Another installer working on this machine shows as its main window.
    app::InstanceLock lock(machineDir);
    if (!lock.Held())
        app::ShowOtherInstance(windows);

    int exitCode = Entry(installer, codePage.FromUtf8(options.commandLine), SW_SHOWNORMAL);
    for (const std::string& unused : unattended.Unused())
        std::cerr << "tlins32a: warning: answers " << unused << " were never asked for\n";
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
    std::optional<app::MachineChanges> changes =
        app::CompareMachines(options.machine, throwaway->Folder(), codePage, why);
    if (!changes)
        return Fail("the dry run's changes cannot be read: " + why);
    const app::DryRunOutcome outcome{std::move(*changes), watch.Asked(), watch.Restarted(), status};
    std::cout << (options.json ? app::FormatDryRunJson(outcome) : app::FormatDryRunText(outcome));
    return status;
}
