// tlins32a.exe: the installer as a Win32 program. Without options it is the interactive
// installer; with --answers it runs unattended on the same real dialogs, and --transcript
// records what happened, as the host program does.
#include "command_line.h"
#include "whole_file.h"

#include "platform/win32/ui/win32_window_system.h"
#include "platform/win32/win32_machine.h"
#include "startup/entry.h"
#include "startup/installer.h"
#include "ui/unattended/answers.h"
#include "ui/unattended/file_line_sink.h"
#include "ui/unattended/transcript.h"
#include "ui/unattended/unattended_frontend.h"

#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitStopped = 3;

// A GUI program has no console to write to: what stops it is said in a box, unless the run is
// unattended, where the transcript says it and nothing may wait.
int Fail(const std::wstring& why, bool unattended) {
    if (!unattended)
        MessageBoxW(nullptr, why.c_str(), L"tlins32a", MB_OK | MB_ICONERROR);
    return kExitUsage;
}

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

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    using namespace tl;
    app::WindowsOptionsParse parse = app::ParseWindowsCommandLine(GetCommandLineW());
    const app::WindowsOptions& options = parse.options;
    const bool unattended = options.answers.has_value();
    if (options.help) {
        MessageBoxW(nullptr, app::kWindowsUsage, L"tlins32a", MB_OK | MB_ICONINFORMATION);
        return 0;
    }
    if (!parse.error.empty())
        return Fail(parse.error + L"\n\n" + app::kWindowsUsage, false);

    std::optional<ui::Answers> answers;
    if (options.answers) {
        const std::optional<std::string> text = app::ReadWholeFile(*options.answers);
        if (!text)
            return Fail(L"cannot read answers file " + *options.answers, false);
        ui::AnswersParse answersParse = ui::Answers::Parse(*text);
        if (!answersParse.answers)
            return Fail(*options.answers + L": " + Wide(answersParse.error), false);
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
            return Fail(L"cannot write transcript " + *options.transcript, unattended);
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
    windows.SetStopHandler([&](const std::string& reason) {
        transcript.End(0, kExitStopped, reason);
        std::exit(kExitStopped);
    });

    Installer installer(machine.GetPlatform(), windows);
    installer.fonts = &windows.Fonts();
    int exitCode = Entry(installer, codePage.FromUtf8(Utf8(options.commandLine)), showCommand);
    transcript.End(installer.installationState, exitCode);
    if (transcriptFile)
        std::fclose(transcriptFile);
    return exitCode;
}
