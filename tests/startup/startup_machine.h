// A fresh installer on a temporary machine folder with an install disk as drive A: (folder
// disk/), the host window system answering every message box with its default, and the message
// boxes kept in order.
#pragma once

#include "platform/frontend.h"
#include "platform/host/event_log.h"
#include "platform/host/host_machine.h"
#include "platform/host/ui/host_window_system.h"
#include "state/installer.h"
#include "support/temp_machine.h"
#include "ui/unattended/unattended_frontend.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tl::test {

class MessageLog final : public ui::Observer {
public:
    void MessageBoxShown(const ui::MessageBoxRequest& request, int) override {
        boxes.push_back(request);
    }
    void DialogClosed(const ui::DialogRecord&) override {}
    void TimerFired(UINT_PTR, UINT, std::uint64_t) override {}

    std::vector<ui::MessageBoxRequest> boxes;
};

class StartupMachine {
public:
    explicit StartupMachine(std::string_view machineIni = "") {
        if (!machineIni.empty())
            folder_.WriteMachineIni(machineIni);
        folder_.MakeDirectory("drive_c/WINDOWS/SYSTEM");
        folder_.MakeDirectory("disk");
        std::string error;
        host_ = host::HostMachine::Open({folder_.Root(), folder_.Root() / "disk"}, events_, &error);
        if (!host_) {
            ADD_FAILURE() << error;
            return;
        }
        windows_.SetObserver(&log_);
        installer_ = std::make_unique<Installer>(host_->GetPlatform(), windows_);
    }

    Installer& Get() { return *installer_; }
    host::HostWindowSystem& Windows() { return windows_; }
    const std::vector<ui::MessageBoxRequest>& Boxes() const { return log_.boxes; }
    const TempMachine& Folder() const { return folder_; }
    const CodePage& Ansi() const { return codePage_; }

    // Host files: the disk's below disk/, the Windows directory's below drive_c/WINDOWS/.
    void WriteDiskFile(const std::string& name, std::string_view bytes) const {
        folder_.WriteFile("disk/" + name, bytes);
    }
    void WriteWindowsFile(const std::string& name, std::string_view bytes) const {
        folder_.WriteFile("drive_c/WINDOWS/" + name, bytes);
    }
    bool WindowsFileExists(const std::string& name) const {
        return folder_.Exists("drive_c/WINDOWS/" + name);
    }

    // Whether the ECP search ran: it always writes its answer to WIN.INI.
    bool EcpSearched() const {
        return folder_.Exists("drive_c/WINDOWS/WIN.INI") &&
               folder_.ReadFile("drive_c/WINDOWS/WIN.INI").find("[tlsetup]") != std::string::npos;
    }

private:
    TempMachine folder_;
    host::EventLog events_;
    host::IconvCodePage codePage_;
    ui::UnattendedFrontend frontend_{nullptr, codePage_};
    host::HostWindowSystem windows_{frontend_, codePage_};
    MessageLog log_;
    std::unique_ptr<host::HostMachine> host_;
    std::unique_ptr<Installer> installer_;
};

} // namespace tl::test
