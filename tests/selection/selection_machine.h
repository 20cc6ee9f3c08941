// A fresh installer on a temporary machine folder (install disk as drive A:, folder disk/) whose
// dialogs and message boxes a test scripts: message boxes answered from a queue, dialogs driven
// by a function, both recorded in order.
#pragma once

#include "platform/host/event_log.h"
#include "platform/host/host_machine.h"
#include "platform/host/iconv_code_page.h"
#include "platform/host/ui/host_window_system.h"
#include "state/installer.h"
#include "support/temp_machine.h"
#include "ui/scripted_frontend.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>

namespace tl::test {

inline constexpr std::string_view kSpoolerDrivers =
    "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\control\\Print\\Environments\\Windows "
    "4.0\\Drivers\\";
inline constexpr std::string_view kSpoolerPrinters =
    "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\control\\Print\\Printers\\";

class SelectionMachine {
public:
    // `registry`: the lines of registry.reg behind its REGEDIT4 header (see Driver, Printer).
    explicit SelectionMachine(std::string_view registry = "", std::string_view machineIni = "") {
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
        windows_.SetObserver(&frontend_);
        installer_ = std::make_unique<Installer>(host_->GetPlatform(), windows_);
    }

    // registry.reg lines for an installed driver and a local printer.
    static std::string Driver(std::string_view name) {
        return "[" + std::string(kSpoolerDrivers) + std::string(name) +
               "]\r\n\"Driver\"=\"TL600.DRV\"\r\n\r\n";
    }
    static std::string Printer(std::string_view name) {
        return "[" + std::string(kSpoolerPrinters) + std::string(name) +
               "]\r\n\"Port\"=\"LPT1:\"\r\n\"Printer Driver\"=\"Telmora 600\"\r\n\r\n";
    }

    Installer& Get() { return *installer_; }
    ScriptedFrontend& User() { return frontend_; }
    const TempMachine& Folder() const { return folder_; }
    const host::EventLog& Events() const { return events_; }

private:
    TempMachine folder_;
    host::EventLog events_;
    host::IconvCodePage codePage_;
    ScriptedFrontend frontend_;
    host::HostWindowSystem windows_{frontend_, codePage_};
    std::unique_ptr<host::HostMachine> host_;
    std::unique_ptr<Installer> installer_;
};

} // namespace tl::test
