// A copy run on a temporary machine: the install disk at D:\DISK (INSTALL.INF with two font
// disks as the current script), the system directory C:\WINDOWS\SYSTEM, fonts going to D:\FONTS,
// the records in C:\WINDOWS\TLSETUP.INI, and an empty drive A:. The run's notifications are kept
// as "code/value name" lines.
#pragma once

#include "copy/copy_engine.h"
#include "copy/font_registration.h"
#include "destination/destination_fixture.h"
#include "platform/host/ui/machine_directories.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "resources/string_table.h"
#include "sequencer/main_window.h"
#include "state/inf_scripts.h"

#include <string>
#include <vector>

namespace tl::test {

// "hello" compressed (SZDD, literals only), and data that claims more than it holds.
inline const std::string kCompressedHello("SZDD\x88\xF0\x27\x33"
                                          "AT\x05\0\0\0\xFFhello",
                                          20);
inline const std::string kDamaged("SZDD\x88\xF0\x27\x33"
                                  "A\0\xFF\xFF\0\0\xFF[",
                                  16);

class CopyEngineTest : public DestinationTest {
protected:
    void SetUp() override {
        folder.MakeDirectory("drive_a");
        Open();
        windows.SetDirectoryLister(
            host::MachineDirectoryLister(machine->Resolver(), machine->Config(), codePage));
        folder.WriteFile("drive_c/WINDOWS/SYSTEM.INI", "[386Enh]\r\ndevice=*vpd\r\n");
        folder.WriteFile("drive_d/DISK/INSTALL.INF", "[DISK1]\r\n\"Disk #1\",TAG1\r\n"
                                                     "[DISK2]\r\n\"Disk #2\",TAG2\r\n");
        ASSERT_EQ(LoadInf(installer->scripts, platform->files, "D:\\DISK\\INSTALL.INF").status,
                  InfLoadStatus::Loaded);
        Paths& paths = installer->paths;
        paths.diskPath = "D:\\DISK";
        paths.sourceDir = "D:\\DISK";
        paths.fontDir = "D:\\FONTS";
        paths.privateSettingsFile = "C:\\WINDOWS\\TLSETUP.INI";
        installer->destination.typedFontDir = "D:\\FONTS";
        notify = [this](WindowHandle, int code, int value, std::string_view name) {
            notes.push_back(std::to_string(code) + "/" + std::to_string(value) + " " +
                            std::string(name));
            return 1;
        };
    }

    void Add(std::uint8_t flag, char disk, const std::string& name) {
        ASSERT_EQ(installer->copyList.Append(flag, disk, name), CopyListError::None);
    }
    void AddFont(const std::string& file, const std::string& fontName, char disk = '1') {
        ASSERT_EQ(installer->copyList.AppendFontPair(disk, file, fontName), CopyListError::None);
    }
    CopyOutcome Run() { return RunCopyList(*installer, owner, notify); }

    std::string Recorded(const std::string& key) {
        char value[300] = {};
        platform->profile.GetPrivateProfileString("Install", key.c_str(), "-", value, sizeof value,
                                                  installer->paths.privateSettingsFile);
        return value;
    }
    void RegisterArial() {
        HKEY key{};
        platform->registry.RegCreateKeyEx(kHkeyLocalMachine, kInstalledFontsKey, 0, kKeyAllAccess,
                                          &key, nullptr);
        const char file[] = "ARIAL.TTF";
        platform->registry.RegSetValueEx(key, "Arial (TrueType)", kRegSz,
                                         reinterpret_cast<const BYTE*>(file), sizeof file);
        platform->registry.RegCloseKey(key);
    }
    // The step messages posted to the owner since the last look: a copy run posts none, the
    // step that runs it decides.
    std::vector<UINT> PostedSteps() {
        windows.PostMessage(owner, kStepDemonstration, 0, 0); // the engine never posts it
        std::vector<UINT> steps;
        Message message;
        while (windows.GetMessage(message, owner, kStepDriver, kStepDemonstration) &&
               message.message != kStepDemonstration) {
            steps.push_back(message.message);
        }
        return steps;
    }

    CopyCallback notify;
    std::vector<std::string> notes;
};

} // namespace tl::test
