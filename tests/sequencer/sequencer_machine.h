// A whole installer on a temporary machine folder with an install disk made by the test (folder
// disk/, drive A:), started up as the program starts and then driven through the main window's
// step messages. The user is the unattended frontend with the test's answers; message boxes,
// dialogs, platform effects and the step messages the main window received are kept in order.
#pragma once

#include "copy/progress_display.h"
#include "platform/frontend.h"
#include "platform/host/event_log.h"
#include "platform/host/host_machine.h"
#include "platform/host/iconv_code_page.h"
#include "platform/host/ui/host_window_system.h"
#include "platform/host/ui/machine_directories.h"
#include "sequencer/configuration.h"
#include "sequencer/main_window.h"
#include "startup/option_flags.h"
#include "state/installer.h"
#include "support/temp_machine.h"
#include "ui/unattended/answers.h"
#include "ui/unattended/unattended_frontend.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tl::test {

struct ShownBox {
    ui::MessageBoxRequest request;
    int answer = 0;
};

class RunRecord final : public ui::Observer {
public:
    void MessageBoxShown(const ui::MessageBoxRequest& request, int result) override {
        boxes.push_back({request, result});
    }
    void DialogClosed(const ui::DialogRecord& record) override { dialogs.push_back(record); }
    void TimerFired(UINT_PTR id, UINT, std::uint64_t time) override {
        timers.emplace_back(id, time);
    }

    std::vector<ShownBox> boxes;
    std::vector<ui::DialogRecord> dialogs;
    std::vector<std::pair<UINT_PTR, std::uint64_t>> timers;
};

class SequencerMachine {
public:
    // `answers`: the answers file's text (UTF-8). `machineIni`: machine.ini's. `registry`: the
    // lines of registry.reg behind its REGEDIT4 header.
    explicit SequencerMachine(std::string_view answers = "", std::string_view machineIni = "",
                              std::string_view registry = "") {
        auto parsed = ui::Answers::Parse(answers);
        if (!parsed.answers) {
            ADD_FAILURE() << parsed.error;
            return;
        }
        answers_ = std::move(parsed.answers);
        frontend_ = std::make_unique<ui::UnattendedFrontend>(&*answers_, codePage_);
        windows_ = std::make_unique<host::HostWindowSystem>(*frontend_, codePage_);
        if (!machineIni.empty())
            folder_.WriteMachineIni(machineIni);
        if (!registry.empty())
            folder_.WriteFile("registry.reg", "REGEDIT4\r\n\r\n" + std::string(registry));
        folder_.MakeDirectory("drive_c/WINDOWS/SYSTEM");
        folder_.MakeDirectory("disk");
        std::string error;
        host_ = host::HostMachine::Open({folder_.Root(), folder_.Root() / "disk"}, events_, &error);
        if (!host_) {
            ADD_FAILURE() << error;
            return;
        }
        windows_->SetObserver(&record_);
        windows_->SetEventSink(&events_);
        windows_->SetDirectoryLister(
            host::MachineDirectoryLister(host_->Resolver(), host_->Config(), codePage_));
        windows_->SetStopHandler([this](const std::string& reason) { stopReason_ = reason; });
        installer_ = std::make_unique<Installer>(host_->GetPlatform(), *windows_);
    }

    Installer& Get() { return *installer_; }
    host::HostWindowSystem& Windows() { return *windows_; }
    const CodePage& Ansi() const { return codePage_; }
    const TempMachine& Folder() const { return folder_; }

    // Host files: the disk's below disk/, the Windows directory's below drive_c/WINDOWS/.
    void WriteDiskFile(const std::string& name, std::string_view bytes) const {
        folder_.WriteFile("disk/" + name, bytes);
    }
    void WriteWindowsFile(const std::string& name, std::string_view bytes) const {
        folder_.WriteFile("drive_c/WINDOWS/" + name, bytes);
    }
    std::string ReadWindowsFile(const std::string& name) const {
        return folder_.ReadFile("drive_c/WINDOWS/" + name);
    }
    bool WindowsFileExists(const std::string& name) const {
        return folder_.Exists("drive_c/WINDOWS/" + name);
    }

    // Start-up (configuration and the progress classes), then the main window with MainWndProc
    // behind a recorder of the step messages; the window, or none when start-up failed.
    WindowHandle StartUp(std::string_view commandLine = "") {
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
                steps.push_back(message);
            return MainWndProc(*installer_, window, message, wParam, lParam);
        };
        windows_->RegisterClass(main);
        installer.mainWindow = windows_->CreateWindow("StepRecorder", "", WS_POPUP | WS_VISIBLE, 0,
                                                      0, 1023, 767, {}, 0, 0);
        return installer.mainWindow;
    }

    // Sends `step` to the main window and runs the message loop until the quit message.
    void RunFrom(UINT step) {
        windows_->SendMessage(installer_->mainWindow, step, 0, 0);
        Loop();
    }
    void Loop() {
        Message message;
        while (windows_->GetMessage(message, {}, 0, 0))
            windows_->DispatchMessage(message);
    }

    // The whole run as the program makes it: start-up, the first step (at once, or on the timer
    // under "/ND"), the loop. False when start-up failed.
    bool Run(std::string_view commandLine = "") {
        if (!StartUp(commandLine))
            return false;
        if (IsNoDriverSwitch(commandLine))
            Loop();
        else
            RunFrom(kStepDriver);
        return true;
    }

    // What the run showed and did.
    const std::vector<ShownBox>& Boxes() const { return record_.boxes; }
    const std::vector<ui::DialogRecord>& Dialogs() const { return record_.dialogs; }
    const std::vector<std::pair<UINT_PTR, std::uint64_t>>& Timers() const { return record_.timers; }
    const std::optional<std::string>& StopReason() const { return stopReason_; }

    // The keys of the message boxes in order, and the names of the modal dialogs.
    std::vector<std::string> BoxKeys() const {
        std::vector<std::string> keys;
        for (const ShownBox& box : record_.boxes)
            keys.push_back(box.request.key);
        return keys;
    }
    std::vector<std::string> ModalDialogs() const {
        std::vector<std::string> names;
        for (const ui::DialogRecord& dialog : record_.dialogs) {
            if (dialog.result)
                names.push_back(dialog.name);
        }
        return names;
    }
    const ShownBox* FindBox(std::string_view key) const {
        for (const ShownBox& box : record_.boxes) {
            if (box.request.key == key)
                return &box;
        }
        return nullptr;
    }
    // The flags of the restart asked for, if any.
    std::optional<std::int64_t> RestartFlags() const {
        for (const PlatformEvent& event : events_.Events()) {
            if (event.event == "restart" && !event.fields.empty())
                return std::get<std::int64_t>(event.fields[0].second);
        }
        return std::nullopt;
    }
    // Whether a platform event of that name with these texts as its first fields happened.
    bool HasEvent(std::string_view name, const std::vector<std::string>& texts) const {
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
    std::string Utf8(std::string_view ansi) const { return codePage_.ToUtf8(ansi); }

    std::vector<UINT> steps;

private:
    TempMachine folder_;
    host::EventLog events_;
    host::IconvCodePage codePage_;
    RunRecord record_;
    std::optional<std::string> stopReason_;
    std::optional<ui::Answers> answers_;
    std::unique_ptr<ui::UnattendedFrontend> frontend_;
    std::unique_ptr<host::HostWindowSystem> windows_;
    std::unique_ptr<host::HostMachine> host_;
    std::unique_ptr<Installer> installer_;
};

} // namespace tl::test
