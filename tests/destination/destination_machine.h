// The destination tests' machine: the harness without an install disk, with drive D: and the
// paths set, dialogs without a script of their own closed with Escape.
#pragma once

#include "support/installer_harness.h"

#include <gtest/gtest.h>

#include <memory>
#include <string_view>

namespace tl::test {

class DestinationTest : public ::testing::Test {
protected:
    // machine.ini beyond the defaults: [Drive.X] sections set free space.
    void Open(std::string_view machineIni = "") {
        m = std::make_unique<InstallerHarness>(
            HarnessOptions().Ini(machineIni).NoDisk().Folder("drive_d"));
        m->SetPaths("tlsetup.ini");
        m->Unscripted() = [](ui::DialogDriver& dialog, int) -> std::optional<std::string> {
            dialog.PressKey(VK_ESCAPE);
            return std::nullopt;
        };
        owner = m->MainWindow();
    }

    std::unique_ptr<InstallerHarness> m;
    WindowHandle owner;
};

} // namespace tl::test
