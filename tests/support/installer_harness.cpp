#include "support/installer_harness.h"

#include "copy/progress_display.h"
#include "dialogs/dialog_utils.h"
#include "platform/host/ui/machine_directories.h"
#include "platform/registry.h"
#include "resources/string_table.h"
#include "sequencer/configuration.h"
#include "sequencer/main_window.h"
#include "startup/option_flags.h"
#include "state/paths.h"

#include <gtest/gtest.h>

namespace tl::test {

std::string Text(unsigned id) {
    return std::string(LookupString(id).value_or(""));
}

std::vector<std::string> Entries(const CopyList& list) {
    std::vector<std::string> entries;
    for (std::size_t i = 0; i < list.Count(); ++i) {
        const auto bytes = list.EntryBytes(i);
        entries.emplace_back(reinterpret_cast<const char*>(bytes.data()), 3);
        entries.back() += list.Name(i);
    }
    return entries;
}

DialogStep Press(int id) {
    return [id](ui::DialogDriver& dialog) { dialog.Click(id); };
}

InstallerHarness::InstallerHarness(HarnessOptions options) {
    unscripted_ = user_.drive;
    user_.drive = [this](ui::DialogDriver& dialog, int attempt) { return Drive(dialog, attempt); };
    ui::Frontend* frontend = &user_;
    if (options.answers) {
        auto parsed = ui::Answers::Parse(*options.answers);
        if (!parsed.answers) {
            ADD_FAILURE() << parsed.error;
            return;
        }
        answers_ = std::move(parsed.answers);
        unattended_ = std::make_unique<ui::UnattendedFrontend>(&*answers_, codePage_);
        frontend = unattended_.get();
    }
    windows_ = std::make_unique<host::HostWindowSystem>(*frontend, codePage_);
    if (!options.machineIni.empty())
        folder_.WriteMachineIni(options.machineIni);
    if (!options.registry.empty())
        folder_.WriteFile("registry.reg", "REGEDIT4\r\n\r\n" + options.registry);
    folder_.MakeDirectory("drive_c/WINDOWS/SYSTEM");
    for (const std::string& folder : options.folders)
        folder_.MakeDirectory(folder);
    std::optional<std::filesystem::path> disk;
    if (options.diskAsDriveA) {
        folder_.MakeDirectory("disk");
        disk = folder_.Root() / "disk";
    }
    std::string error;
    machine_ = host::HostMachine::Open({folder_.Root(), disk}, events_, &error);
    if (!machine_) {
        ADD_FAILURE() << error;
        return;
    }
    Platform& real = machine_->GetPlatform();
    system_ = std::make_unique<ErrorModeRecorder>(real.system);
    platform_ = std::make_unique<Platform>(Platform{.files = real.files,
                                                    .storage = real.storage,
                                                    .system = *system_,
                                                    .clock = real.clock,
                                                    .codePage = real.codePage,
                                                    .events = real.events,
                                                    .profile = real.profile,
                                                    .registry = real.registry,
                                                    .spooler = real.spooler,
                                                    .lz = real.lz,
                                                    .versionInfo = real.versionInfo});
    windows_->SetObserver(this);
    windows_->SetEventSink(&events_);
    windows_->SetDirectoryLister(
        host::MachineDirectoryLister(machine_->Resolver(), machine_->Config(), codePage_));
    installer_ = std::make_unique<Installer>(*platform_, *windows_);
}

InstallerHarness::~InstallerHarness() = default;

void InstallerHarness::SetPaths(std::string_view settingsFile) {
    installer_->paths.windowsDir = "C:\\WINDOWS";
    installer_->paths.systemDir = "C:\\WINDOWS\\SYSTEM";
    installer_->paths.privateSettingsFile = std::string(settingsFile);
}

WindowHandle InstallerHarness::MainWindow() {
    if (mainWindow_)
        return mainWindow_;
    WindowClass main;
    main.name = "HarnessMain";
    main.proc = [this](WindowHandle window, UINT message, WPARAM wParam, LPARAM lParam) {
        return windows_->DefWindowProc(window, message, wParam, lParam);
    };
    windows_->RegisterClass(main);
    mainWindow_ = windows_->CreateWindow("HarnessMain", "Setup", WS_POPUP | WS_VISIBLE, 0, 0, 640,
                                         480, WindowHandle{}, 0, 0);
    installer_->mainWindow = mainWindow_;
    return mainWindow_;
}

void InstallerHarness::Script(const std::string& dialog, std::deque<DialogStep> steps) {
    scripts_[dialog] = std::move(steps);
}

std::optional<std::string> InstallerHarness::Drive(ui::DialogDriver& dialog, int attempt) {
    auto script = scripts_.find(dialog.Name());
    if (script == scripts_.end())
        return unscripted_(dialog, attempt);
    if (script->second.empty()) {
        dialog.PressKey(VK_ESCAPE);
        return std::nullopt;
    }
    DialogStep step = std::move(script->second.front());
    script->second.pop_front();
    step(dialog);
    return std::nullopt;
}

INT_PTR InstallerHarness::RunDialog(std::string_view templateName, DialogFunction function) {
    return ShowModalDialog(
        *windows_, MainWindow(),
        [this, function](DialogWindow& dialog, UINT message, WPARAM wParam, LPARAM lParam) {
            return function(*installer_, dialog, message, wParam, lParam);
        },
        templateName);
}

WindowHandle InstallerHarness::StartUp(std::string_view commandLine) {
    Installer& installer = *installer_;
    installer.commandLine = std::string(commandLine);
    if (!Configuration(installer) ||
        !RegisterProgressBarClass(installer.windows, installer.progress) ||
        !RegisterTextBarClass(installer.windows, installer.progress))
        return {};
    WindowClass main;
    main.name = "StepRecorder";
    main.proc = [this](WindowHandle window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message >= kStepDriver && message <= kStepDemonstration)
            steps_.push_back(message);
        return MainWndProc(*installer_, window, message, wParam, lParam);
    };
    windows_->RegisterClass(main);
    installer.mainWindow = windows_->CreateWindow("StepRecorder", "", WS_POPUP | WS_VISIBLE, 0, 0,
                                                  1023, 767, {}, 0, 0);
    mainWindow_ = installer.mainWindow;
    return installer.mainWindow;
}

void InstallerHarness::RunFrom(UINT step) {
    windows_->SendMessage(installer_->mainWindow, step, 0, 0);
    Loop();
}

void InstallerHarness::Loop() {
    Message message;
    while (windows_->GetMessage(message, {}, 0, 0))
        windows_->DispatchMessage(message);
}

bool InstallerHarness::Run(std::string_view commandLine) {
    if (!StartUp(commandLine))
        return false;
    if (IsNoDriverSwitch(commandLine))
        Loop();
    else
        RunFrom(kStepDriver);
    return true;
}

void InstallerHarness::WriteDiskFile(const std::string& name, std::string_view bytes) const {
    folder_.WriteFile("disk/" + name, bytes);
}

void InstallerHarness::WriteWindowsFile(const std::string& name, std::string_view bytes) const {
    folder_.WriteFile("drive_c/WINDOWS/" + name, bytes);
}

std::string InstallerHarness::ReadWindowsFile(const std::string& name) const {
    return folder_.ReadFile("drive_c/WINDOWS/" + name);
}

bool InstallerHarness::WindowsFileExists(const std::string& name) const {
    return folder_.Exists("drive_c/WINDOWS/" + name);
}

std::string InstallerHarness::IniValue(std::string_view file, std::string_view section,
                                       std::string_view key, std::string_view fallback) {
    char value[1024] = {};
    platform_->profile.GetPrivateProfileString(
        std::string(section).c_str(), std::string(key).c_str(), std::string(fallback).c_str(),
        value, sizeof value, std::string(file));
    return value;
}

std::string InstallerHarness::Setting(std::string_view key, std::string_view fallback) {
    return IniValue(installer_->paths.privateSettingsFile, kInstallSection, key, fallback);
}

std::optional<std::string> InstallerHarness::RegistryString(HKEY root, std::string_view subKey,
                                                            std::string_view valueName) {
    Registry& registry = platform_->registry;
    HKEY key{};
    if (registry.RegOpenKeyEx(root, std::string(subKey).c_str(), 0, kKeyRead, &key) !=
        kErrorSuccess)
        return std::nullopt;
    BYTE data[1024] = {};
    DWORD size = sizeof data - 1;
    DWORD type = 0;
    LONG status = registry.RegQueryValueEx(key, std::string(valueName).c_str(), &type, data, &size);
    registry.RegCloseKey(key);
    if (status != kErrorSuccess)
        return std::nullopt;
    std::string text(reinterpret_cast<const char*>(data), size);
    if (!text.empty() && text.back() == '\0')
        text.pop_back();
    return text;
}

std::vector<std::string> InstallerHarness::BoxKeys() const {
    std::vector<std::string> keys;
    for (const ShownBox& box : boxes_)
        keys.push_back(box.request.key);
    return keys;
}

const ui::DialogRecord& InstallerHarness::Closed(std::string_view name, int occurrence) const {
    for (const ui::DialogRecord& record : dialogs_) {
        if (record.name == name && --occurrence == 0)
            return record;
    }
    ADD_FAILURE() << name << " did not close";
    static const ui::DialogRecord none;
    return none;
}

std::optional<std::string> InstallerHarness::StopReason() const {
    if (!windows_->Stopped())
        return std::nullopt;
    return windows_->StopReason();
}

bool InstallerHarness::HasEvent(std::string_view name,
                                const std::vector<std::string>& texts) const {
    for (const PlatformEvent& event : events_.Events()) {
        if (event.event != name || event.fields.size() < texts.size())
            continue;
        bool same = true;
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const auto* text = std::get_if<std::string>(&event.fields[i].second);
            same = same && text && *text == texts[i];
        }
        if (same)
            return true;
    }
    return false;
}

void InstallerHarness::MessageBoxShown(const ui::MessageBoxRequest& request, int result) {
    boxes_.push_back({request, result});
}

void InstallerHarness::DialogClosed(const ui::DialogRecord& record) {
    dialogs_.push_back(record);
}

} // namespace tl::test
