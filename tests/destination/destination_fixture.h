// A fresh installer on a temporary machine (C: with the Windows directory, D: and any drives a
// test describes), the host window system answered by a scripted frontend, and a record of the
// error modes the installer sets.
#pragma once

#include "platform/host/event_log.h"
#include "platform/host/host_machine.h"
#include "startup/installer.h"
#include "support/temp_machine.h"
#include "ui/host_window_system.h"
#include "ui/scripted_frontend.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace tl::test {

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
        modes.push_back(mode);
        return inner_.SetErrorMode(mode);
    }
    BOOL ExitWindowsEx(UINT flags, DWORD reserved) override {
        return inner_.ExitWindowsEx(flags, reserved);
    }
    void BroadcastMessage(UINT message, std::string_view text) override {
        inner_.BroadcastMessage(message, text);
    }
    int AddFontResource(std::string_view fontFile) override {
        return inner_.AddFontResource(fontFile);
    }
    BOOL MessageBeep(UINT type) override { return inner_.MessageBeep(type); }

private:
    System& inner_;
};

class DestinationTest : public ::testing::Test {
protected:
    // machine.ini beyond the defaults: drive D: exists; [Drive.X] sections set free space.
    void Open(const std::string& machineIni = "") {
        folder.MakeDirectory("drive_c/WINDOWS/SYSTEM");
        folder.MakeDirectory("drive_d");
        folder.WriteMachineIni(machineIni);
        std::string error;
        machine = host::HostMachine::Open({folder.Root(), std::nullopt}, events, &error);
        ASSERT_TRUE(machine) << error;
        Platform& real = machine->GetPlatform();
        system = std::make_unique<ErrorModeRecorder>(real.system);
        platform = std::make_unique<Platform>(Platform{.files = real.files,
                                                       .storage = real.storage,
                                                       .system = *system,
                                                       .clock = real.clock,
                                                       .codePage = real.codePage,
                                                       .events = real.events,
                                                       .profile = real.profile,
                                                       .registry = real.registry,
                                                       .spooler = real.spooler,
                                                       .lz = real.lz,
                                                       .versionInfo = real.versionInfo});
        installer = std::make_unique<Installer>(*platform, windows);
        installer->paths.windowsDir = "C:\\WINDOWS";
        installer->paths.systemDir = "C:\\WINDOWS\\SYSTEM";
        installer->paths.privateSettingsFile = "tlsetup.ini";
        WindowClass ownerClass;
        ownerClass.name = "Owner";
        ownerClass.proc = [this](WindowHandle window, UINT message, WPARAM wParam, LPARAM lParam) {
            return windows.DefWindowProc(window, message, wParam, lParam);
        };
        windows.RegisterClass(ownerClass);
        windows.SetObserver(&frontend);
        owner = windows.CreateWindow("Owner", "", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480,
                                     WindowHandle{}, 0, 0);
    }

    TempMachine folder;
    host::EventLog events;
    std::unique_ptr<host::HostMachine> machine;
    std::unique_ptr<ErrorModeRecorder> system;
    std::unique_ptr<Platform> platform;
    host::IconvCodePage codePage;
    ScriptedFrontend frontend;
    host::HostWindowSystem windows{frontend, codePage};
    std::unique_ptr<Installer> installer;
    WindowHandle owner;
};

} // namespace tl::test
