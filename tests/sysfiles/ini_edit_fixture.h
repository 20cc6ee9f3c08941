// An installer on a simulated PC (C:\WINDOWS, C:\WINDOWS\SYSTEM) with a main window, its message
// boxes answered from a queue, for the INI editing tests.
#pragma once

#include "platform/host/event_log.h"
#include "platform/host/host_machine.h"
#include "platform/host/iconv_code_page.h"
#include "platform/host/ui/host_window_system.h"
#include "state/installer.h"
#include "state/paths.h"
#include "support/temp_machine.h"
#include "ui/scripted_frontend.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace tl::test {

class IniEditFixture : public ::testing::Test {
protected:
    explicit IniEditFixture(std::string_view machineIni = "") {
        if (!machineIni.empty())
            folder.WriteMachineIni(machineIni);
        folder.MakeDirectory("drive_c/WINDOWS/SYSTEM");
        std::string openError;
        machine = host::HostMachine::Open({folder.Root(), std::nullopt}, events, &openError);
        EXPECT_TRUE(machine) << openError;
        windows.SetObserver(&frontend);
        WindowClass mainClass;
        mainClass.name = "Main";
        mainClass.proc = [this](WindowHandle window, UINT message, WPARAM wParam,
                                LPARAM lParam) -> LRESULT {
            return windows.DefWindowProc(window, message, wParam, lParam);
        };
        windows.RegisterClass(mainClass);

        installer = std::make_unique<Installer>(machine->GetPlatform(), windows);
        installer->paths.windowsDir = "C:\\WINDOWS";
        installer->paths.systemDir = "C:\\WINDOWS\\SYSTEM";
        installer->paths.privateSettingsFile = "C:\\WINDOWS\\TLSETUP.INI";
        installer->printerName = "Telmora P-200";
        installer->installationState = InstallationState::Installed;
        installer->mainWindow = windows.CreateWindow("Main", "Setup", WS_POPUP | WS_VISIBLE, 0, 0,
                                                     640, 480, WindowHandle{}, 0, 0);
    }

    std::string Read(std::string_view relative) const { return folder.ReadFile(relative); }
    void Write(std::string_view relative, std::string_view bytes) const {
        folder.WriteFile(relative, bytes);
    }
    bool Exists(std::string_view relative) const { return folder.Exists(relative); }
    std::string Setting(const char* key) {
        char value[260] = {};
        machine->GetPlatform().profile.GetPrivateProfileString(
            kInstallSection, key, "", value, sizeof value, installer->paths.privateSettingsFile);
        return value;
    }

    TempMachine folder;
    host::EventLog events;
    std::unique_ptr<host::HostMachine> machine;
    host::IconvCodePage codePage;
    ScriptedFrontend frontend;
    host::HostWindowSystem windows{frontend, codePage};
    std::unique_ptr<Installer> installer;
};

} // namespace tl::test
