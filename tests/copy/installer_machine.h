// A fresh installer on a temporary machine folder (the default PC: C:\WINDOWS, C:\WINDOWS\SYSTEM)
// for the backup and SYSTEM.INI tests.
#pragma once

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

namespace tl::test {

class InstallerMachine {
public:
    explicit InstallerMachine(std::string_view machineIni = "") {
        if (!machineIni.empty()) {
            folder_.WriteMachineIni(machineIni);
        }
        folder_.MakeDirectory("drive_c/WINDOWS/SYSTEM");
        std::string error;
        host_ = host::HostMachine::Open({folder_.Root(), {}}, events_, &error);
        if (!host_) {
            ADD_FAILURE() << error;
            return;
        }
        installer_ = std::make_unique<Installer>(host_->GetPlatform(), windows_);
        installer_->paths.windowsDir = host_->Config().windowsDirectory;
        installer_->paths.systemDir = host_->Config().systemDirectory;
        installer_->paths.privateSettingsFile = installer_->paths.windowsDir + "\\tlsetup.ini";
    }

    Installer& Get() { return *installer_; }
    const TempMachine& Folder() const { return folder_; }

    // Files of the Windows directory, by host name below drive_c/WINDOWS.
    void WriteWindowsFile(const std::string& name, std::string_view bytes) const {
        folder_.WriteFile("drive_c/WINDOWS/" + name, bytes);
    }
    std::string ReadWindowsFile(const std::string& name) const {
        return folder_.ReadFile("drive_c/WINDOWS/" + name);
    }
    bool WindowsFileExists(const std::string& name) const {
        return folder_.Exists("drive_c/WINDOWS/" + name);
    }

private:
    TempMachine folder_;
    host::EventLog events_;
    host::IconvCodePage codePage_;
    ui::UnattendedFrontend frontend_{nullptr, codePage_};
    host::HostWindowSystem windows_{frontend_, codePage_};
    std::unique_ptr<host::HostMachine> host_;
    std::unique_ptr<Installer> installer_;
};

} // namespace tl::test
