#include "session.h"

#include "whole_file.h"

#include "platform/win32/ui/win32_window_system.h"
#include "platform/win32/win32_machine.h"
#include "state/installer.h"
#include "ui/unattended/answers.h"
#include "ui/unattended/answers_recorder.h"
#include "ui/unattended/exit_status.h"
#include "ui/unattended/file_line_sink.h"
#include "ui/unattended/transcript.h"
#include "ui/unattended/unattended_frontend.h"

#include <cstdio>
#include <cstdlib>
#include <optional>

namespace tl::app {

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

} // namespace

std::string Utf8(const std::wstring& wide) {
    if (wide.empty())
        return {};
    int length = static_cast<int>(wide.size());
    int needed = WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(needed > 0 ? needed : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, utf8.data(), needed, nullptr, nullptr);
    return utf8;
}

namespace {

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Standard error, when the program was given one (a GUI program started by a person has none).
void WriteStandardError(const std::string& utf8) {
    HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    if (error == nullptr || error == INVALID_HANDLE_VALUE)
        return;
    ::DWORD written = 0;
    WriteFile(error, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

// Says why the program cannot run. A person is told in a box; an unattended run shows none
// (nobody would answer it): the reason goes to standard error and, when a transcript was asked
// for, into its only line. `usage`, when given, follows the reason on the screen and on standard
// error.
int Fail(const std::wstring& why, const wchar_t* name, const tl::app::WindowsOptions& options,
         const std::wstring& usage = {}) {
    if (!options.unattended) {
        const std::wstring text = usage.empty() ? why : why + L"\n\n" + usage;
        MessageBoxW(nullptr, text.c_str(), name, MB_OK | MB_ICONERROR);
        return kExitUsage;
    }
    const std::string reason = Utf8(why);
    WriteStandardError(Utf8(name) + ": " + reason + "\n" + Utf8(usage));
    if (options.transcript && !IsFolder(*options.transcript)) {
        if (std::FILE* file = _wfopen(options.transcript->c_str(), L"wb")) {
            tl::ui::FileLineSink lines(file);
            tl::win32::Win32CodePage codePage;
            tl::ui::Transcript(lines, codePage)
                .End(InstallationState::NotStarted, kExitUsage, reason);
            std::fclose(file);
        }
    }
    return kExitUsage;
}

} // namespace

int RunWindowsSession(HINSTANCE instance, int showCommand, const wchar_t* name,
                      const WindowsOptionsParse& parse, const wchar_t* usage,
                      const SessionBody& body) {
    const WindowsOptions& options = parse.options;
    const bool unattended = options.unattended;
    if (options.help && parse.error.empty()) {
        if (unattended)
            WriteStandardError(Utf8(usage));
        else
            MessageBoxW(nullptr, usage, name, MB_OK | MB_ICONINFORMATION);
        return 0;
    }
    if (!parse.error.empty())
        return Fail(parse.error, name, options, usage);

    // A folder is neither an answers file nor a place for a transcript.
    for (const std::optional<std::wstring>* file :
         {&options.answers, &options.transcript, &options.recordAnswers}) {
        if (*file && IsFolder(**file))
            return Fail(**file + L" is a folder, not a file", name, options);
    }

    std::optional<ui::Answers> answers;
    if (options.answers) {
        const std::optional<std::string> text = ReadWholeFile(*options.answers);
        if (!text)
            return Fail(L"cannot read answers file " + *options.answers, name, options);
        ui::AnswersParse answersParse = ui::Answers::Parse(*text);
        if (!answersParse.answers)
            return Fail(*options.answers + L": " + Wide(answersParse.error), name, options);
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
            return Fail(L"cannot write transcript " + *options.transcript, name, options);
        transcriptOut = &transcriptLines.emplace(transcriptFile);
    }
    win32::Win32CodePage codePage;
    ui::Transcript transcript(*transcriptOut, codePage);

    std::FILE* recordFile = nullptr;
    std::optional<ui::FileLineSink> recordLines;
    std::optional<ui::AnswersRecorder> recorder;
    std::optional<ui::ObserverPair> observers;
    if (options.recordAnswers) {
        recordFile = _wfopen(options.recordAnswers->c_str(), L"wb");
        if (!recordFile)
            return Fail(L"cannot write answers file " + *options.recordAnswers, name, options);
        recorder.emplace(recordLines.emplace(recordFile), codePage);
        observers.emplace(transcript, *recorder);
    }

    win32::Win32MachineOptions machineOptions;
    // An unattended run records a restart and leaves the session alone.
    machineOptions.system.restartForReal = !unattended;
    win32::Win32Machine machine(transcript, machineOptions);

    win32ui::Win32WindowSystem windows(instance, codePage);
    ui::UnattendedFrontend frontend(answers ? &*answers : nullptr, codePage);
    windows.SetObserver(observers ? static_cast<ui::Observer*>(&*observers) : &transcript);
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
        WriteStandardError(Utf8(name) + ": " + reason + "\n");
        transcript.End(installer.installationState, kExitStopped, reason);
        std::exit(kExitStopped);
    });

    const int exitCode = body(installer, options, showCommand);
    int status = exitCode;
    if (!unattended) {
        transcript.End(installer.installationState, exitCode);
    } else {
        status = ui::UnattendedExitStatus(installer.installationState, transcript.ErrorCount() > 0);
        transcript.End(installer.installationState, exitCode, {}, status);
    }
    if (transcriptFile)
        std::fclose(transcriptFile);
    if (recordFile)
        std::fclose(recordFile);
    return status;
}

} // namespace tl::app
