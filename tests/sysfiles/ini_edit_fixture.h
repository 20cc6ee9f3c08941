// A simulated PC with a main window, and the INI editing's environment over it. The backup copy
// and the one-step replacement are done on the host files behind the PC's paths.
#pragma once

#include "platform/host/event_log.h"
#include "platform/host/host_machine.h"
#include "platform/host/iconv_code_page.h"
#include "support/temp_machine.h"
#include "sysfiles/ini_edit.h"
#include "ui/host_window_system.h"
#include "ui/scripted_frontend.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

namespace tl::test {

inline constexpr const char* kSettingsFile = "C:\\WINDOWS\\TLSETUP.INI";

class IniEditFixture : public ::testing::Test {
protected:
    IniEditFixture() {
        windows.SetObserver(&frontend);
        WindowClass mainClass;
        mainClass.name = "Main";
        mainClass.proc = [this](WindowHandle window, UINT message, WPARAM wParam,
                                LPARAM lParam) -> LRESULT {
            return windows.DefWindowProc(window, message, wParam, lParam);
        };
        windows.RegisterClass(mainClass);
        mainWindow = windows.CreateWindow("Main", "Setup", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480,
                                          WindowHandle{}, 0, 0);
    }

    std::filesystem::path Host(std::string_view windowsPath) const {
        return machine->Resolver().Resolve(windowsPath, host::PathUse::Write).path;
    }
    int Backup(std::string_view path, std::string& backupName) {
        const std::string base(path.substr(0, path.rfind('.')));
        for (int n = 0; n < 100; ++n) {
            char extension[8];
            std::snprintf(extension, sizeof extension, ".B%02d", n);
            backupName = base + extension;
            if (!std::filesystem::exists(Host(backupName))) {
                std::filesystem::copy_file(Host(path), Host(backupName));
                ++backupsMade;
                return 1;
            }
        }
        return 0;
    }
    bool Replace(std::string_view temporary, std::string_view target) {
        if (!allowReplace)
            return false;
        std::error_code failure;
        std::filesystem::rename(Host(temporary), Host(target), failure);
        return !failure;
    }

    std::string Read(std::string_view relative) const { return folder.ReadFile(relative); }
    void Write(std::string_view relative, std::string_view bytes) const {
        folder.WriteFile(relative, bytes);
    }
    std::string Setting(const char* key) {
        char value[260] = {};
        machine->GetPlatform().profile.GetPrivateProfileString(kBackupSection, key, "", value,
                                                               sizeof value, kSettingsFile);
        return value;
    }

    TempMachine folder;
    host::EventLog events;
    std::string openError;
    std::unique_ptr<host::HostMachine> machine =
        host::HostMachine::Open({folder.Root(), std::nullopt}, events, &openError);
    host::IconvCodePage codePage;
    ScriptedFrontend frontend;
    host::HostWindowSystem windows{frontend, codePage};
    WindowHandle mainWindow;
    unsigned changeBits = 0;
    int installationState = 4;
    IniEditState edit;
    int backupsMade = 0;
    bool allowReplace = true;
    IniEditEnvironment env{
        machine->GetPlatform(),
        windows,
        "C:\\WINDOWS",
        "C:\\WINDOWS\\SYSTEM",
        kSettingsFile,
        "Telmora P-200",
        0,
        changeBits,
        installationState,
        edit,
        [this](std::string_view path, std::string& name) { return Backup(path, name); },
        [this](std::string_view from, std::string_view to) { return Replace(from, to); }};
};

} // namespace tl::test
