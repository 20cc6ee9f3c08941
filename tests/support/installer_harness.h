// An installer on a temporary machine folder, for the tests of every subsystem: the folder (with
// drive_c/WINDOWS/SYSTEM and, unless told otherwise, an install disk disk/ as drive A:), a user
// (the scripted one: message boxes answered from a queue, dialogs from per-template scripts; or
// an answers file), the installer object, and what the run showed and did: message boxes,
// dialogs, timers, platform events, error modes, step messages, files, INI values, removal
// records and registry values.
#pragma once

#include "platform/host/event_log.h"
#include "platform/host/host_machine.h"
#include "platform/host/iconv_code_page.h"
#include "platform/host/ui/host_window_system.h"
#include "state/installer.h"
#include "support/temp_machine.h"
#include "ui/scripted_frontend.h"
#include "ui/unattended/answers.h"
#include "ui/unattended/unattended_frontend.h"

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tl::test {

// The text of a string table entry.
std::string Text(unsigned id);

// The copy list's entries, each its three bytes of flags and disk followed by its file name.
std::vector<std::string> Entries(const CopyList& list);

// One turn of a scripted dialog, and the common turn: a button pressed.
using DialogStep = std::function<void(ui::DialogDriver&)>;
DialogStep Press(int id);

struct ShownBox {
    ui::MessageBoxRequest request;
    int answer = 0;
};

// What the machine holds before it opens; set with the chained calls:
// InstallerHarness machine(HarnessOptions().Ini("...").Registry("...")).
struct HarnessOptions {
    std::string machineIni; // machine.ini (UTF-8); the default PC when empty
    std::string registry;   // registry.reg's lines behind its REGEDIT4 header
    // An answers file's text: the unattended frontend answers from it. Without, the scripted
    // user answers.
    std::optional<std::string> answers;
    bool diskAsDriveA = true;         // the host folder disk/ is drive A:
    std::vector<std::string> folders; // host folders made before the machine opens ("drive_d")

    HarnessOptions& Ini(std::string_view text) { return machineIni = text, *this; }
    HarnessOptions& Registry(std::string_view lines) { return registry = lines, *this; }
    HarnessOptions& Answers(std::string_view text) { return answers = std::string(text), *this; }
    HarnessOptions& NoDisk() { return diskAsDriveA = false, *this; }
    HarnessOptions& Folder(std::string_view folder) { return folders.emplace_back(folder), *this; }
};

// Passes every call to the machine's System, keeping the SetErrorMode calls.
class ErrorModeRecorder final : public System {
public:
    explicit ErrorModeRecorder(System& inner) : inner_(inner) {}
    std::vector<UINT> modes;

    std::string GetWindowsDirectory() const override { return inner_.GetWindowsDirectory(); }
    std::string GetSystemDirectory() const override { return inner_.GetSystemDirectory(); }
    std::string GetModuleFileName() const override { return inner_.GetModuleFileName(); }
    DWORD GetVersion() const override { return inner_.GetVersion(); }
    ATOM GlobalFindAtom(std::string_view name) const override {
        return inner_.GlobalFindAtom(name);
    }
    ATOM GlobalAddAtom(std::string_view name) override { return inner_.GlobalAddAtom(name); }
    ATOM GlobalDeleteAtom(ATOM atom) override { return inner_.GlobalDeleteAtom(atom); }
    UINT SetErrorMode(UINT mode) override {
        return modes.push_back(mode), inner_.SetErrorMode(mode);
    }
    BOOL ExitWindowsEx(UINT flags, DWORD r) override { return inner_.ExitWindowsEx(flags, r); }
    void BroadcastMessage(UINT m, std::string_view t) override { inner_.BroadcastMessage(m, t); }
    int AddFontResource(std::string_view f) override { return inner_.AddFontResource(f); }
    BOOL RemoveFontResource(std::string_view f) override { return inner_.RemoveFontResource(f); }
    BOOL MessageBeep(UINT type) override { return inner_.MessageBeep(type); }

private:
    System& inner_;
};

class InstallerHarness final : public ui::Observer {
public:
    explicit InstallerHarness(HarnessOptions options = {});
    ~InstallerHarness() override;
    InstallerHarness(const InstallerHarness&) = delete;
    InstallerHarness& operator=(const InstallerHarness&) = delete;

    // False when the machine did not open (reported to the test).
    bool Ready() const { return installer_ != nullptr; }
    Installer& Get() { return *installer_; }
    Platform& Ports() { return *platform_; }
    host::HostMachine& Machine() { return *machine_; }
    host::HostWindowSystem& Windows() { return *windows_; }
    const TempMachine& Folder() const { return folder_; }
    std::string Utf8(std::string_view ansi) const { return codePage_.ToUtf8(ansi); }

    // The paths start-up would set: C:\WINDOWS, C:\WINDOWS\SYSTEM and the settings file.
    void SetPaths(std::string_view settingsFile = "C:\\WINDOWS\\TLSETUP.INI");
    // A plain visible window, made the installer's main window; the owner of dialogs run here.
    WindowHandle MainWindow();

    // The scripted user: answers to the next message boxes (else their default), and each
    // opening of a dialog takes the next step of its template's script (Escape once the steps are
    // used up). A dialog without a script is driven by Unscripted() (default: Return).
    std::deque<int>& BoxAnswers() { return user_.boxAnswers; }
    void Script(const std::string& dialog, std::deque<DialogStep> steps);
    std::function<std::optional<std::string>(ui::DialogDriver&, int)>& Unscripted() {
        return unscripted_;
    }
    using DialogFunction = INT_PTR (*)(Installer&, DialogWindow&, UINT, WPARAM, LPARAM);
    // Shows the dialog of `templateName` run by `function`, owned by MainWindow().
    INT_PTR RunDialog(std::string_view templateName, DialogFunction function);

    // The program's run: start-up (configuration, the progress classes), then the main window
    // with MainWndProc behind a recorder of the step messages; none when start-up failed.
    WindowHandle StartUp(std::string_view commandLine = "");
    // Sends `step` to the main window and runs the message loop until the quit message.
    void RunFrom(UINT step);
    void Loop();
    // Start-up, the first step (at once, or on the timer under "/ND"), the loop. False when
    // start-up failed.
    bool Run(std::string_view commandLine = "");
    const std::vector<UINT>& Steps() const { return steps_; }

    // Host files: the disk's below disk/, the Windows directory's below drive_c/WINDOWS/.
    void WriteDiskFile(const std::string& name, std::string_view bytes) const;
    void WriteWindowsFile(const std::string& name, std::string_view bytes) const;
    std::string ReadWindowsFile(const std::string& name) const;
    bool WindowsFileExists(const std::string& name) const;

    // An INI value by Windows path through the installer's profile port; `fallback` when absent.
    std::string IniValue(std::string_view file, std::string_view section, std::string_view key,
                         std::string_view fallback = "");
    // A value of [Install] in the settings file.
    std::string Setting(std::string_view key, std::string_view fallback = "");
    // A string value of the registry; none when the key or value is missing.
    std::optional<std::string> RegistryString(HKEY root, std::string_view subKey,
                                              std::string_view valueName);

    // What the run showed and did.
    const std::vector<ShownBox>& Boxes() const { return boxes_; }
    std::vector<std::string> BoxKeys() const;
    const std::vector<ui::DialogRecord>& Dialogs() const { return dialogs_; }
    // The occurrence-th (from 1) closed dialog of that template (a failure when there is none).
    const ui::DialogRecord& Closed(std::string_view name, int occurrence = 1) const;
    std::optional<std::string> StopReason() const;
    const std::vector<UINT>& ErrorModes() const { return system_->modes; }
    const std::vector<PlatformEvent>& Events() const { return events_.Events(); }
    // Whether a platform event of that name with these texts as its first fields happened.
    bool HasEvent(std::string_view name, const std::vector<std::string>& texts) const;

    // ui::Observer
    void MessageBoxShown(const ui::MessageBoxRequest& request, int result) override;
    void DialogClosed(const ui::DialogRecord& record) override;
    void TimerFired(UINT_PTR, UINT, std::uint64_t) override {}

private:
    std::optional<std::string> Drive(ui::DialogDriver& dialog, int attempt);

    TempMachine folder_;
    host::EventLog events_;
    host::IconvCodePage codePage_;
    std::optional<ui::Answers> answers_;
    ScriptedFrontend user_;
    std::unique_ptr<ui::UnattendedFrontend> unattended_;
    std::unique_ptr<host::HostWindowSystem> windows_;
    std::unique_ptr<host::HostMachine> machine_;
    std::unique_ptr<ErrorModeRecorder> system_;
    std::unique_ptr<Platform> platform_;
    std::unique_ptr<Installer> installer_;
    WindowHandle mainWindow_{};
    std::map<std::string, std::deque<DialogStep>, std::less<>> scripts_;
    std::function<std::optional<std::string>(ui::DialogDriver&, int)> unscripted_;
    std::vector<ShownBox> boxes_;
    std::vector<ui::DialogRecord> dialogs_;
    std::vector<UINT> steps_;
};

} // namespace tl::test
