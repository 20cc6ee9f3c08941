// Step 400: the language edition, then the printer driver from the driver catalogue.

#include "copy/version_check.h"
#include "destination/disk_space.h"
#include "dialogs/dialog_utils.h"
#include "platform/error_event.h"
#include "platform/profile.h"
#include "selection/catalogue.h"
#include "selection/driver_select.h"
#include "selection/language.h"
#include "selection/printer_name.h"
#include "sequencer/configuration.h"
#include "sequencer/language_table.h"
#include "sequencer/main_window.h"
#include "sequencer/step_support.h"
#include "sequencer/steps.h"
#include "spooler/spooler_registration.h"
#include "startup/option_flags.h"
#include "state/inf_query.h"
#include "state/installer.h"
#include "sysfiles/port_driver.h"

#include <optional>
#include <string>

namespace tl {
namespace {

constexpr std::string_view kSelectDriverTemplate = "SELECTDRV";

// Under "/ND" the saved language stands; a damaged setting must not pick a language the
// installer does not know.
void ReadSavedLanguage(Installer& installer) {
    const UINT index = installer.platform.profile.GetPrivateProfileInt(
        kInstallSection, "Language", 0, kDefaultPrivateSettingsFile);
    installer.languageIndex = index < kMaxLanguages ? static_cast<int>(index) : 0;
    installer.languageCode = LoadTextCopy(Id(TextId::FirstLanguageCode) +
                                          static_cast<unsigned>(installer.languageIndex));
}

// The first line of INSTALL.INF's "OEM.INF": the catalogue's file name.
std::optional<std::string> CatalogueName(Installer& installer) {
    const auto line =
        FindInfSection(installer.scripts, std::nullopt, LoadTextCopy(TextId::CatalogueSection));
    if (!line)
        return std::nullopt;
    const auto text = InfLineText(installer.scripts, *line);
    if (!text || text->empty())
        return std::nullopt;
    return std::string(*text);
}

std::optional<InfLine> FindManufacturer(Installer& installer) {
    return FindInfSection(installer.scripts, std::nullopt,
                          LoadTextCopy(TextId::ManufacturerSection));
}

enum class LanguageOutcome { Chosen, NoManufacturer, Finish };

// With the catalogue loaded: one edition is taken as it is, several are offered in the language
// dialog. The choice is saved as the installation's language.
LanguageOutcome ChooseLanguage(Installer& installer, WindowHandle window,
                               std::optional<InfLine> manufacturer) {
    if (CountInfLines(installer.scripts, manufacturer) < 2) {
        installer.language.table.clear();
        installer.language.manufacturerLine = 0;
    } else {
        BuildLanguageTable(installer, manufacturer);
        // Every line was reported as invalid: there is no edition to offer.
        if (installer.language.table.empty())
            return LanguageOutcome::Finish;
        if (RunLanguageDialog(installer, window) <= 0)
            return LanguageOutcome::Finish;
    }
    installer.languageCode = LoadTextCopy(Id(TextId::FirstLanguageCode) +
                                          static_cast<unsigned>(installer.languageIndex));
    WriteInstallSetting(installer, "Language", std::to_string(installer.languageIndex));
    return LanguageOutcome::Chosen;
}

// The models to install: the one the catalogue lists, or those chosen in SELECTDRV. False when
// there is none or the user cancelled.
bool ChooseModels(Installer& installer, WindowHandle window, std::optional<InfLine> manufacturer) {
    const int models =
        LoadModelList(installer, window, manufacturer, installer.language.manufacturerLine);
    if (models <= 0)
        return false; // reported by LoadModelList
    if (models == 1) {
        installer.catalogue.models[0].selected = true;
        return true;
    }
    return ShowModalDialog(installer.windows, window, MakeSelectDriver(installer),
                           kSelectDriverTemplate) > 0;
}

// Every chosen model's driver section into the copy list. False after a reported fault.
bool ReadChosenModels(Installer& installer, WindowHandle window,
                      std::optional<InfLine> manufacturer) {
    installer.copyList.Clear();
    const CatalogueState& catalogue = installer.catalogue;
    for (int i = 0; i < catalogue.modelCount; ++i) {
        if (!catalogue.models[static_cast<std::size_t>(i)].selected)
            continue;
        if (!ReadModelSection(installer, window, manufacturer, installer.language.manufacturerLine,
                              i))
            return false;
    }
    return true;
}

// Copies the driver files and registers the driver and its printer. The installation state
// says how it went.
void InstallDriver(Installer& installer, WindowHandle window) {
    BusyCursor busy(installer, window);
    MarkInstalling(installer, PendingRestart::Clear);
    if (CopyWithProgress(installer, window) != CopyOutcome::Done) {
        // A run that stopped (a failure, a directory that could not be made, or the user's
        // cancel) left the driver incomplete: it must not be reported or treated as installed.
        installer.installationState = InstallationState::Failed;
    } else if (!RegisterWithSpooler(installer, window)) {
        installer.installationState = InstallationState::Failed;
    }
    installer.renames.Release();
}

// Steps after the language: the question, the space, the model, the versions, the printer's
// name, the copy and the registration.
struct DriverOutcome {
    UINT next = kStepFinish;
    bool installed = false;
};

DriverOutcome InstallPrinterDriver(Installer& installer, WindowHandle window,
                                   const std::string& cataloguePath) {
    if (!installer.options.driverPath)
        return {kStepFonts};

    const auto spaceLine =
        FindInfSection(installer.scripts, std::nullopt, LoadTextCopy(TextId::DiskSpaceSection));
    installer.destination.spaceNeeded =
        spaceLine ? std::string(InfLineText(installer.scripts, *spaceLine).value_or("1")) : "1";

    if (!AskYesNo(installer, window, Id(TextId::InstallDriverQuestion)))
        return {kStepDemonstration};
    if (!CheckDriveSpace(installer, window, WriteProbe::Skip, SpaceCheckDir::Windows))
        return {kStepFonts};

    FreeInf(installer.scripts);
    const InfLoadResult loaded =
        LoadInf(installer.scripts, installer.platform.files, cataloguePath);
    const auto manufacturer =
        loaded.status == InfLoadStatus::Loaded ? FindManufacturer(installer) : std::nullopt;
    if (!manufacturer) {
        if (loaded.status != InfLoadStatus::Loaded)
            RecordError(installer.platform, "ReadFile", cataloguePath,
                        installer.platform.files.GetLastError());
        else
            RecordError(installer.platform, "FindInfSection",
                        "[" + LoadTextCopy(TextId::ManufacturerSection) + "]",
                        kErrorSectionNotFound);
        ShowStepError(installer, window, Id(TextId::OutOfMemory));
        return {kStepFinish};
    }
    if (!ChooseModels(installer, window, manufacturer) ||
        !ReadChosenModels(installer, window, manufacturer))
        return {kStepFinish};

    CheckInstalledVersions(installer, window);
    if (IsDriverInstalled(installer, installer.printerName) &&
        !ChoosePrinterName(installer, window, installer.printerName))
        return {kStepFinish};

    InstallDriver(installer, window);
    if (installer.installationState == InstallationState::Failed)
        return {kStepFinish};

    installer.changeBits |= kChangeDriverInstalled;
    const PortDriverUpdate port = UpdatePortDriver(installer);
    if (port == PortDriverUpdate::Replaced || port == PortDriverUpdate::ReplacedUnstamped)
        installer.changeBits |= kChangeRestartNeeded;
    if (port == PortDriverUpdate::Failed || port == PortDriverUpdate::ReplacedUnstamped) {
        // The printer is there, but the port it prints through is not what the driver needs.
        installer.installationState = InstallationState::Failed;
        return {kStepFinish, true};
    }
    return {kStepDemonstration, true};
}

} // namespace

void StepDriver(Installer& installer, WindowHandle window) {
    if (installer.options.addPrinterMode) {
        PostStep(installer, window, kStepFonts);
        return;
    }
    if (IsNoDriverSwitch(installer.commandLine)) {
        ReadSavedLanguage(installer);
        PostStep(installer, window, kStepFonts);
        return;
    }

    const std::optional<std::string> catalogueName = CatalogueName(installer);
    FreeInf(installer.scripts);
    if (!catalogueName) {
        // INSTALL.INF names no catalogue: nothing can be installed from it.
        ReportMissingFile(installer, window, LoadTextCopy(TextId::CatalogueSection));
        PostStep(installer, window, kStepFinish);
        return;
    }
    const std::string cataloguePath = JoinPath(installer.paths.sourceDir, *catalogueName);
    if (!LoadStepScript(installer, window, cataloguePath, *catalogueName)) {
        PostStep(installer, window, kStepFinish);
        return;
    }
    const auto manufacturer = FindManufacturer(installer);
    if (!manufacturer) {
        PostStep(installer, window, kStepFonts);
        return;
    }
    if (ChooseLanguage(installer, window, manufacturer) == LanguageOutcome::Finish) {
        PostStep(installer, window, kStepFinish);
        FreeInf(installer.scripts);
        return;
    }

    FreeInf(installer.scripts);
    // INSTALL.INF was read at start-up; a disk taken out since leaves nothing to install from.
    if (!LoadStepScript(installer, window, installer.paths.installInfPath,
                        LoadTextCopy(TextId::InstallInfFile))) {
        installer.installationState = InstallationState::Failed;
        PostStep(installer, window, kStepFinish);
        return;
    }

    const DriverOutcome outcome = InstallPrinterDriver(installer, window, cataloguePath);
    PostStep(installer, window, outcome.next);
    if (outcome.installed) {
        // Other programs learn of the new printer after the next step has been queued.
        installer.platform.system.BroadcastMessage(kWmDevModeChange, installer.printerName);
    }
}

} // namespace tl
