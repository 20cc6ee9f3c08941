#include "sequencer/step_support.h"

#include "copy/copy_engine.h"
#include "copy/progress_display.h"
#include "dialogs/dialog_utils.h"
#include "platform/canvas.h"
#include "platform/error_event.h"
#include "platform/profile.h"
#include "platform/recorded_profile.h"
#include "sequencer/configuration.h"
#include "state/installer.h"
#include "state/removal_log.h"

namespace tl {
namespace {

// Without a font port the progress display draws its file name in the system font.
class NoFontObjects final : public FontPort {
public:
    FontHandle CreateFont(const LogFont&) override { return {}; }
    void DeleteFont(FontHandle) override {}
};

} // namespace

void PostStep(Installer& installer, WindowHandle window, UINT step) {
    installer.windows.PostMessage(window, step, 0, 0);
}

void ShowStepMessage(Installer& installer, WindowHandle owner, std::string_view text,
                     unsigned caption, UINT icon, std::string_view key) {
    installer.windows.MessageBox(owner, text, LoadTextCopy(caption), MB_OK | icon, key);
}

void ShowStepError(Installer& installer, WindowHandle owner, unsigned id) {
    ShowStepMessage(installer, owner, LoadTextCopy(id), Id(TextId::InstallCaption), MB_ICONHAND,
                    MessageKey(id));
}

void ReportMissingFile(Installer& installer, WindowHandle owner, std::string_view name) {
    RecordError(installer.platform, "GetFileAttributes", name, kErrorFileNotFound);
    ShowStepMessage(installer, owner, std::string(name) + LoadTextCopy(TextId::NotFound),
                    Id(TextId::InstallCaption), MB_ICONHAND, MessageKey(TextId::NotFound));
}

bool AskYesNo(Installer& installer, WindowHandle owner, unsigned id) {
    return installer.windows.MessageBox(owner, LoadTextCopy(id),
                                        LoadTextCopy(TextId::QuestionCaption), MB_YESNO,
                                        MessageKey(id)) == IDYES;
}

std::string FormatText(std::string_view pattern, std::string_view argument) {
    std::string text(pattern);
    if (const std::size_t at = text.find("%s"); at != std::string::npos)
        text.replace(at, 2, argument);
    return text;
}

void Repaint(Installer& installer, WindowHandle window) {
    installer.windows.InvalidateRect(window, nullptr, TRUE);
    installer.windows.UpdateWindow(window);
}

BusyCursor::BusyCursor(Installer& installer, WindowHandle window) : windows_(installer.windows) {
    windows_.SetCapture(window);
    previous_ = windows_.SetCursor(installer.waitCursor);
}

BusyCursor::~BusyCursor() {
    windows_.SetCursor(previous_);
    windows_.ReleaseCapture();
}

CopyOutcome CopyWithProgress(Installer& installer, WindowHandle window) {
    NoFontObjects noFonts;
    FontPort& fonts = installer.fonts ? *installer.fonts : noFonts;
    OpenProgressDisplay(installer.windows, fonts, installer.progress, window);
    const CopyCallback notify = [&installer](WindowHandle owner, int code, int value,
                                             std::string_view fileName) {
        return CopyNotify(installer, owner, code, value, fileName);
    };
    const CopyOutcome outcome = RunCopyList(installer, window, notify);
    CloseProgressDisplay(installer.windows, fonts, installer.progress, window);
    return outcome;
}

void MarkInstalling(Installer& installer, PendingRestart pending) {
    if (pending == PendingRestart::Keep &&
        installer.installationState == InstallationState::RestartNeeded)
        return;
    installer.installationState = InstallationState::Installed;
}

CopyOutcome CopyAddedFiles(Installer& installer, WindowHandle window) {
    BusyCursor busy(installer, window);
    const InstallationState before = installer.installationState;
    MarkInstalling(installer, PendingRestart::Keep);
    const CopyOutcome outcome = CopyWithProgress(installer, window);
    if (outcome != CopyOutcome::Done && installer.installationState == InstallationState::Installed)
        installer.installationState = before;
    return outcome;
}

std::optional<InfScript> LoadStepScript(Installer& installer, WindowHandle owner,
                                        std::string_view path, std::string_view name) {
    if (!StepFileExists(installer, path)) {
        ReportMissingFile(installer, owner, name);
        return std::nullopt;
    }
    const InfLoadResult loaded = LoadInf(installer.scripts, installer.platform.files, path);
    if (loaded.status == InfLoadStatus::Loaded)
        return loaded.script;
    ReportScriptNotLoaded(installer, owner, path, loaded.status);
    return std::nullopt;
}

void ReportScriptNotLoaded(Installer& installer, WindowHandle owner, std::string_view path,
                           InfLoadStatus status) {
    // An empty file holds no script however it is read: the system calls that invalid data.
    constexpr DWORD kErrorInvalidData = 13;
    RecordError(installer.platform, "ReadFile", path,
                status == InfLoadStatus::Empty ? kErrorInvalidData
                                               : installer.platform.files.GetLastError());
    // An empty script would read as one without any section; saying so is plainer.
    ShowStepError(installer, owner,
                  status == InfLoadStatus::Empty ? Id(TextId::CannotReadScript)
                                                 : Id(TextId::OutOfMemory));
}

bool StepFileExists(Installer& installer, std::string_view path) {
    return installer.platform.files.GetFileAttributes(path) != kInvalidFileAttributes;
}

void WriteInstallSetting(Installer& installer, const char* key, const std::string& value) {
    // The removal program deletes a settings file the installation made.
    static_cast<void>(NoteSettingsWrite(installer));
    WriteProfileRecorded(installer.platform, kInstallSection, key, value.c_str(),
                         installer.paths.privateSettingsFile);
}

} // namespace tl
