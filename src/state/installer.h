// The installer's process-wide state, one object passed by reference: the platform it runs on,
// the window system, and the state of each part (paths, option flags, the current setup script,
// the copy and rename lists, the installation state, the change bits, ...). Every test makes a
// fresh one.
#pragma once

#include "dialogs/dialog_utils.h"
#include "platform/canvas.h"
#include "platform/installation_state.h"
#include "platform/platform.h"
#include "platform/window_system.h"
#include "state/catalogue_state.h"
#include "state/copy_engine_state.h"
#include "state/copy_list.h"
#include "state/destination_state.h"
#include "state/font_select_state.h"
#include "state/inf_scripts.h"
#include "state/ini_edit_state.h"
#include "state/language_state.h"
#include "state/option_flags_state.h"
#include "state/paths.h"
#include "state/progress_state.h"
#include "state/removal_log.h"
#include "state/rename_list.h"
#include "state/run_backups.h"

#include <string>

namespace tl {

// Change bits: what this run changed, for the final report and the INI editing.
inline constexpr unsigned kChangeSystemIni = 1;       // SYSTEM.INI changed
inline constexpr unsigned kChangeDriverInstalled = 2; // a printer driver installed (WIN.INI edited)
// SYSTEM.INI loads a new device or lpt.vxd was replaced: Windows must restart to use them,
// whatever else the run does afterwards.
inline constexpr unsigned kChangeRestartNeeded = 4;

struct Installer {
    Installer(Platform& platformPorts, WindowSystem& windowSystem)
        : platform(platformPorts), windows(windowSystem) {}

    Platform& platform;
    WindowSystem& windows;

    // Start-up and configuration.
    std::string commandLine; // the whole text after the program name
    Paths paths;
    int languageIndex = 0; // 0..8
    std::string languageCode = "ENU";
    OptionFlags options;
    Cursor waitCursor;
    WindowHandle mainWindow;
    // The display's font objects (GDI on Windows); none: the progress display's file name is
    // drawn in the system font.
    FontPort* fonts = nullptr;

    SetupScripts scripts;
    CopyList copyList;
    RenameList renames;
    CopyEngineState copyEngine;
    ProgressState progress;
    DialogUtilState dialogUtils;
    DestinationState destination;
    FontSelectionState fontSelection;

    // Driver selection: the chosen model's name, which names its driver, and the name the new
    // printer gets when that one is taken (empty: the printer name).
    std::string printerName;
    std::string printerQueueName;
    CatalogueState catalogue;
    LanguageState language; // the language table and the chosen manufacturer line

    InstallationState installationState = InstallationState::NotStarted;
    unsigned changeBits = 0;
    IniEditState iniEdit;
    RunBackups backups;
    RemovalLogState removalLog; // the records for the removal program
};

} // namespace tl
