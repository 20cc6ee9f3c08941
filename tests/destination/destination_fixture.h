// A fresh installer on a temporary machine (C: with the Windows directory, D: and any drives a
// test describes), the host window system answered by a scripted frontend, and a record of the
// error modes the installer sets.
#pragma once

#include "dialogs/dialog_utils.h"
#include "platform/host/event_log.h"
#include "platform/host/host_machine.h"
#include "platform/host/ui/host_window_system.h"
#include "resources/string_table.h"
#include "state/installer.h"
#include "support/temp_machine.h"
#include "ui/scripted_frontend.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace tl::test {

inline std::string Text(unsigned id) {
    return std::string(*LookupString(id));
}

// One turn of a scripted dialog, and the common turn: a button pressed.
using Step = std::function<void(ui::DialogDriver&)>;
inline Step Press(int id) {
    return [id](ui::DialogDriver& dialog) { dialog.Click(id); };
}

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
    BOOL RemoveFontResource(std::string_view fontFile) override {
        return inner_.RemoveFontResource(fontFile);
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

    // Each opening of a dialog takes the next step of its template's script; a dialog still open
    // after its steps are used up presses Escape.
    void Script(const std::string& name, std::deque<Step> steps) {
        scripts[name] = std::move(steps);
    }

    using DialogFunction = INT_PTR (*)(Installer&, DialogWindow&, UINT, WPARAM, LPARAM);
    // Shows the dialog of `templateName` run by `function`, driven by the scripts.
    INT_PTR RunScripted(std::string_view templateName, DialogFunction function) {
        frontend.drive = [this](ui::DialogDriver& dialog, int) {
            std::deque<Step>& steps = scripts[dialog.Name()];
            if (steps.empty()) {
                dialog.PressKey(VK_ESCAPE);
            } else {
                Step step = std::move(steps.front());
                steps.pop_front();
                step(dialog);
            }
            return std::optional<std::string>{};
        };
        return ShowModalDialog(
            windows, owner,
            [this, function](DialogWindow& dialog, UINT message, WPARAM wParam, LPARAM lParam) {
                return function(*installer, dialog, message, wParam, lParam);
            },
            templateName);
    }

    // The occurrence-th (from 1) closed dialog of that template.
    const ui::DialogRecord& Closed(std::string_view name, int occurrence = 1) {
        for (const ui::DialogRecord& record : frontend.dialogs) {
            if (record.name == name && --occurrence == 0)
                return record;
        }
        ADD_FAILURE() << name << " did not close";
        return frontend.dialogs.front();
    }

    std::map<std::string, std::deque<Step>> scripts;
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
