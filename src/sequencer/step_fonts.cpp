// Step 403: the TrueType-compatible fonts.

#include "copy/disk_name_report.h"
#include "destination/font_directory_dialog.h"
#include "destination/font_select.h"
#include "dialogs/dialog_utils.h"
#include "platform/system.h"
#include "sequencer/font_copy_list.h"
#include "sequencer/main_window.h"
#include "sequencer/step_support.h"
#include "sequencer/steps.h"
#include "state/installer.h"

#include <string>

namespace tl {
namespace {

constexpr std::string_view kDirectoryTemplate = "DIRECTORY";
constexpr std::string_view kFontTemplate = "FONT";

void ReportFault(Installer& installer, WindowHandle owner, const std::string& text) {
    installer.windows.MessageBox(owner, text, "Error", MB_OK | MB_ICONHAND, "Error");
}

// The chosen fonts' pairs into the copy list. False after a report: nothing is to be copied.
bool FillFontList(Installer& installer, WindowHandle window) {
    std::vector<FontListFault> faults;
    std::vector<FontPair> pairs = CollectFontPairs(
        installer.scripts, SplitSelectedFonts(installer.fontSelection.selectedFonts), faults);
    // A font file without its name cannot be registered: say which, and install the others.
    for (const FontListFault& fault : faults)
        ReportFault(installer, window,
                    "[" + fault.section + "]: the font file " + fault.field + " has no font name.");
    // A file name that is not a plain name stops the whole font list: nothing of it is copied.
    for (const FontPair& pair : pairs) {
        if (!AcceptDiskName(installer, window, pair.fileName, pair.line)) {
            installer.copyList.Clear();
            installer.installationState = InstallationState::Failed;
            return false;
        }
    }
    FontPair refused;
    const CopyListError error = FillFontCopyList(installer.copyList, std::move(pairs), &refused);
    if (error == CopyListError::None)
        return true;
    installer.copyList.Clear();
    ReportFault(installer, window, std::string(CopyListErrorText(error)) + "\n" + refused.fileName);
    return false;
}

UINT InstallFonts(Installer& installer, WindowHandle window) {
    const std::string name = LoadTextCopy(TextId::InstallInfFile);
    const std::string path = JoinPath(installer.paths.diskPath, name);
    if (!StepFileExists(installer, path)) {
        ReportMissingFile(installer, {}, name);
        return kStepFinish;
    }
    // INSTALL.INF stays the current script for the last step's INI editing.
    const InfLoadResult loaded = LoadInf(installer.scripts, installer.platform.files, path);
    if (!installer.options.fontList)
        return kStepFinish;
    if (loaded.status != InfLoadStatus::Loaded) {
        ReportScriptNotLoaded(installer, {}, path, loaded.status);
        return kStepFinish;
    }
    if (!AskYesNo(installer, window, Id(TextId::InstallFontsQuestion)))
        return kStepFinish;

    const auto directory = [&installer](DialogWindow& dialog, UINT message, WPARAM wParam,
                                        LPARAM lParam) {
        return Direc_Set(installer, dialog, message, wParam, lParam);
    };
    if (ShowModalDialog(installer.windows, window, directory, kDirectoryTemplate) <= 0)
        return kStepFinish;
    WriteInstallSetting(installer, "FontPath", installer.paths.fontDir);

    const auto fonts = [&installer](DialogWindow& dialog, UINT message, WPARAM wParam,
                                    LPARAM lParam) {
        return FONT_Set(installer, dialog, message, wParam, lParam);
    };
    if (ShowModalDialog(installer.windows, window, fonts, kFontTemplate) <= 0)
        return kStepFinish;

    if (!FillFontList(installer, window))
        return kStepFinish;
    // However the copy ended, the installation ends with the next step.
    static_cast<void>(CopyAddedFiles(installer, window));
    Repaint(installer, window);
    installer.platform.system.BroadcastMessage(kWmFontChange, "");
    return kStepFinish;
}

} // namespace

void StepFonts(Installer& installer, WindowHandle window) {
    Repaint(installer, window);
    FreeInf(installer.scripts);
    PostStep(installer, window, InstallFonts(installer, window));
}

} // namespace tl
