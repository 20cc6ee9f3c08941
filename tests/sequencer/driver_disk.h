// A small install disk for the step tests: INSTALL.INF, the driver catalogue OEMSETUP.INF in the
// driver folder WIN95 with one model "Telmora 600", and its files.
#pragma once

#include "support/installer_harness.h"

#include <string>
#include <string_view>

namespace tl::test {

inline constexpr std::string_view kInstallInf = "[CheckECP]\n0\n"
                                                "[OEM.INF]\nOEMSETUP.INF\n"
                                                "[PRINTERDRIVER]\nPath = WIN95\n"
                                                "[NEEDED.DiskSpace]\n100\n";

inline constexpr std::string_view kManufacturer = "[Manufacturer]\n\"Telmora\"=Models.ENU\n";

inline constexpr std::string_view kModels = "[Models.ENU]\n\"Telmora 600\"=TL600\n"
                                            "[TL600]\nCopyFiles=Files.Driver\n"
                                            "DriverFile=TL600.DRV\nDefaultDataType=RAW\n"
                                            "[Files.Driver]\nTL600.DRV\nTLDEMO.PRN\nTLUI.DLL\n"
                                            "[SourceDisksFiles]\nTL600.DRV=1\nTLDEMO.PRN=1\n"
                                            "TLUI.DLL=1\n";

// INSTALL.INF's font sections for two fonts on disk 1; WriteDriverDisk writes their files.
inline constexpr std::string_view kFontSections =
    "[TRUETYPEFONTS]\nFontList = Gothic,Myeongjo\n"
    "[NEEDED.SPACE]\nGothic = 10,0\nMyeongjo = 10,0\n"
    "[Gothic.TrueType]\n1:GOTHIC.TTF, 0:\"Telmora Gothic\"\n"
    "[Myeongjo.TrueType]\n1:MJ.TTF, 0:\"Telmora Myeongjo\"\n";

// INSTALL.INF is kInstallInf followed by `extraInstall`; the catalogue is `manufacturer` (its
// "Manufacturer" section) followed by kModels.
inline void WriteDriverDisk(const InstallerHarness& machine, std::string_view extraInstall = "",
                            std::string_view manufacturer = kManufacturer) {
    machine.WriteDiskFile("INSTALL.INF", std::string(kInstallInf) + std::string(extraInstall));
    machine.WriteDiskFile("WIN95/OEMSETUP.INF", std::string(manufacturer) + std::string(kModels));
    for (const char* file : {"TL600.DRV", "TLDEMO.PRN", "TLUI.DLL", "GOTHIC.TTF", "MJ.TTF"})
        machine.WriteDiskFile(std::string("WIN95/") + file, file);
}

} // namespace tl::test
