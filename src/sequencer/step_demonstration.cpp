// Step 405: the demonstration file.

#include "copy/disk_name_report.h"
#include "destination/disk_space.h"
#include "dialogs/dialog_utils.h"
#include "platform/profile.h"
#include "selection/copy_section.h"
#include "sequencer/main_window.h"
#include "sequencer/step_support.h"
#include "sequencer/steps.h"
#include "state/copy_list.h"
#include "state/installer.h"
#include "sysfiles/ini_edit.h"

#include <string>

namespace tl {
namespace {

constexpr const char* kDemoSpaceNeeded = "400";
// A "file" value is a disk digit, a separator and a name; anything longer than an entry holds is
// refused by the copy list, so reading more than this only makes that refusal visible.
constexpr DWORD kDemoValueSize = 1024;

// The catalogue marks "prn" files as demonstration files in any case ("TLDEMO.PRN"); they are
// found here the same way.
bool IsDemoFile(std::string_view name) {
    const auto extension = FileExtension(name);
    return extension && PrefixEqualsNoCase(*extension, "prn", 4) && extension->size() == 3;
}

// "file" of INSTALL.INF's [DEMOFILE] on the disk, as the INI functions read it.
std::string DemoFileValue(Installer& installer) {
    std::string value(kDemoValueSize, '\0');
    const std::string section = LoadTextCopy(TextId::DemoFileSection);
    const DWORD length = installer.platform.profile.GetPrivateProfileString(
        section.c_str(), "file", "", value.data(), kDemoValueSize,
        JoinPath(installer.paths.diskPath, LoadTextCopy(TextId::InstallInfFile)));
    value.resize(length);
    return value;
}

// The copy list made to hold the demonstration file alone: the one INSTALL.INF names when no
// driver was read, else the driver's "prn" file. Empty when there is none to copy.
void FillDemoEntry(Installer& installer, WindowHandle window) {
    CopyList& list = installer.copyList;
    if (list.Empty()) {
        const std::string value = DemoFileValue(installer);
        const char disk = value.empty() ? '\0' : value[0];
        const std::string name = value.size() > 2 ? value.substr(2) : std::string();
        if (!name.empty() &&
            !AcceptDiskName(installer, window, name,
                            LoadTextCopy(TextId::DemoFileSection) + ": file = " + value)) {
            installer.installationState = InstallationState::Failed;
            return;
        }
        const CopyListError error = list.Append(kFlagDemoFile, disk, name);
        if (error != CopyListError::None) {
            installer.windows.MessageBox(window,
                                         std::string(CopyListErrorText(error)) + "\n" +
                                             LoadTextCopy(TextId::DemoFileSection) + ": " + value,
                                         "Error", MB_OK | MB_ICONHAND, "Error");
        }
        return;
    }
    const std::size_t count = list.Count();
    for (std::size_t i = 0; i < count; ++i) {
        if (!IsDemoFile(list.Name(i)))
            continue;
        const char disk = list.DiskDigit(i);
        const std::string name(list.Name(i));
        list.Clear();
        list.Append(kFlagDemoFile, disk, name);
        return;
    }
    // The driver brought no demonstration file: there is nothing to copy.
    list.Clear();
}

UINT InstallDemoFile(Installer& installer, WindowHandle window) {
    if (!installer.options.demoFiles)
        return kStepFonts;
    if (!AskYesNo(installer, window, Id(TextId::InstallDemoQuestion)))
        return kStepFonts;
    installer.destination.spaceNeeded = kDemoSpaceNeeded;
    if (!CheckDriveSpace(installer, window, WriteProbe::Skip, SpaceCheckDir::Windows))
        return kStepFonts;

    FillDemoEntry(installer, window);
    if (installer.copyList.Empty())
        return installer.installationState == InstallationState::Failed ? kStepFinish : kStepFonts;
    // A cancelled copy ends the installation, as a failed one does.
    if (CopyAddedFiles(installer, window) == CopyOutcome::Cancelled)
        return kStepFinish;
    return installer.installationState == InstallationState::Failed ? kStepFinish : kStepFonts;
}

} // namespace

void StepDemonstration(Installer& installer, WindowHandle window) {
    Repaint(installer, window);
    PostStep(installer, window, InstallDemoFile(installer, window));
}

} // namespace tl
