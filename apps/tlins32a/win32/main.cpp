// tlins32a.exe: the installer as a Win32 program. Without options it is the interactive
// installer; with --answers it runs unattended on the same real dialogs, and --transcript
// records what happened, as the host program does.
#include "command_line.h"
#include "whole_file.h"

#include "platform/win32/ui/win32_window_system.h"
#include "platform/win32/win32_machine.h"
#include "sequencer/entry.h"
#include "state/installer.h"
#include "ui/unattended/answers.h"
#include "ui/unattended/exit_status.h"
#include "ui/unattended/file_line_sink.h"
#include "ui/unattended/transcript.h"
#include "ui/unattended/unattended_frontend.h"

#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitStopped = 3;

std::wstring Wide(const std::string& utf8) {
    if (utf8.empty())
        return {};
    int length = static_cast<int>(utf8.size());
    int needed = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(needed > 0 ? needed : 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, wide.data(), needed);
    return wide;
}

std::string Utf8(const std::wstring& wide) {
    if (wide.empty())
        return {};
    int length = static_cast<int>(wide.size());
    int needed = WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(needed > 0 ? needed : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, utf8.data(), needed, nullptr, nullptr);
    return utf8;
}

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Standard error, when the program was given one (a GUI program started by a person has none).
void WriteStandardError(const std::string& utf8) {
    HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    if (error == nullptr || error == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(error, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

// Says why the program cannot run. A person is told in a box; an unattended run shows none
// (nobody would answer it): the reason goes to standard error and, when a transcript was asked
// for, into its only line. `usage`, when given, follows the reason on the screen and on standard
// error.
int Fail(const std::wstring& why, const tl::app::WindowsOptions& options,
         const std::wstring& usage = {}) {
    if (!options.unattended) {
        const std::wstring text = usage.empty() ? why : why + L"\n\n" + usage;
        MessageBoxW(nullptr, text.c_str(), L"tlins32a", MB_OK | MB_ICONERROR);
        return kExitUsage;
    }
    const std::string reason = Utf8(why);
    WriteStandardError("tlins32a: " + reason + "\n" + Utf8(usage));
    if (options.transcript && !IsFolder(*options.transcript)) {
        if (std::FILE* file = _wfopen(options.transcript->c_str(), L"wb")) {
            tl::ui::FileLineSink lines(file);
            tl::win32::Win32CodePage codePage;
            tl::ui::Transcript(lines, codePage)
                .End(tl::InstallationState::NotStarted, kExitUsage, reason);
            std::fclose(file);
        }
    }
    return kExitUsage;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    using namespace tl;
    app::WindowsOptionsParse parse = app::ParseWindowsCommandLine(GetCommandLineW());
    const app::WindowsOptions& options = parse.options;
    const bool unattended = options.unattended;
    if (options.help && parse.error.empty()) {
        if (unattended)
            WriteStandardError(Utf8(app::kWindowsUsage));
        else
            MessageBoxW(nullptr, app::kWindowsUsage, L"tlins32a", MB_OK | MB_ICONINFORMATION);
        return 0;
    }
    if (!parse.error.empty())
        return Fail(parse.error, options, app::kWindowsUsage);

    // A folder is neither an answers file nor a place for a transcript.
    for (const std::optional<std::wstring>* file : {&options.answers, &options.transcript}) {
        if (*file && IsFolder(**file))
            return Fail(**file + L" is a folder, not a file", options);
    }

    std::optional<ui::Answers> answers;
    if (options.answers) {
        const std::optional<std::string> text = app::ReadWholeFile(*options.answers);
        if (!text)
            return Fail(L"cannot read answers file " + *options.answers, options);
        ui::AnswersParse answersParse = ui::Answers::Parse(*text);
        if (!answersParse.answers)
            return Fail(*options.answers + L": " + Wide(answersParse.error), options);
        answers = std::move(answersParse.answers);
    }

    // Every line is flushed as written; a run that is stopped leaves the closing to the C runtime.
    std::FILE* transcriptFile = nullptr;
    ui::DiscardedLines discarded;
    std::optional<ui::FileLineSink> transcriptLines;
    ui::LineSink* transcriptOut = &discarded;
    if (options.transcript) {
        transcriptFile = _wfopen(options.transcript->c_str(), L"wb");
        if (!transcriptFile)
            return Fail(L"cannot write transcript " + *options.transcript, options);
        transcriptOut = &transcriptLines.emplace(transcriptFile);
    }
    win32::Win32CodePage codePage;
    ui::Transcript transcript(*transcriptOut, codePage);

    win32::Win32MachineOptions machineOptions;
    // An unattended run records a restart and leaves the session alone.
    machineOptions.system.restartForReal = !unattended;
    win32::Win32Machine machine(transcript, machineOptions);

    win32ui::Win32WindowSystem windows(instance, codePage);
    ui::UnattendedFrontend frontend(answers ? &*answers : nullptr, codePage);
    windows.SetObserver(&transcript);
    windows.SetEventSink(&transcript);
    if (unattended) {
        // No critical-error box or file prompt of the system's may wait for a person.
        SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
        windows.SetFrontend(&frontend);
        if (options.screenshots)
            windows.SetPictureDirectory(*options.screenshots);
    }
    Installer installer(machine.GetPlatform(), windows);
    installer.fonts = &windows.Fonts();
    windows.SetStopHandler([&](const std::string& reason) {
        WriteStandardError("tlins32a: " + reason + "\n");
        transcript.End(installer.installationState, kExitStopped, reason);
        std::exit(kExitStopped);
    });

    int exitCode = Entry(installer, codePage.FromUtf8(Utf8(options.commandLine)), showCommand);
    int status = exitCode;
    if (!unattended) {
        transcript.End(installer.installationState, exitCode);
    } else {
        status = ui::UnattendedExitStatus(installer.installationState, transcript.ErrorCount() > 0);
        transcript.End(installer.installationState, exitCode, {}, status);
    }
    if (transcriptFile)
        std::fclose(transcriptFile);
    return status;
}
