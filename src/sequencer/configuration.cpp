#include "sequencer/configuration.h"

#include "dialogs/dialog_utils.h"
#include "platform/canvas.h"
#include "platform/error_event.h"
#include "platform/profile.h"
#include "sequencer/main_window.h"
#include "startup/option_flags.h"
#include "startup/private_settings_name.h"
#include "state/inf_query.h"
#include "state/installer.h"
#include "sysfiles/delete_ini.h"

#include <array>
#include <optional>
#include <string>

namespace tl {
namespace {

constexpr int kLanguageCount = 9;
// The hand-off file holds one path; what follows it in a larger file is not looked at.
constexpr DWORD kHandOffReadSize = 512;
// Settings are read into a buffer that starts with room for any Windows path and grows for
// longer values, so that none is cut short.
constexpr DWORD kSettingSize = 512;
constexpr DWORD kMaxSettingSize = 64 * 1024;

void ShowError(Installer& installer, std::string_view text, unsigned caption, unsigned key) {
    installer.windows.MessageBox({}, text, LoadTextCopy(caption), MB_OK | MB_ICONHAND,
                                 MessageKey(key));
}

bool FileExists(Installer& installer, std::string_view path) {
    return installer.platform.files.GetFileAttributes(path) != kInvalidFileAttributes;
}

// INSTALL.INF at `dir`, loaded: the script, or none after the failure was reported.
std::optional<InfScript> LoadInstallInf(Installer& installer, std::string_view dir) {
    std::string name = LoadTextCopy(TextId::InstallInfFile);
    std::string path = JoinPath(dir, name);
    if (!FileExists(installer, path)) {
        RecordError(installer.platform, "GetFileAttributes", path, kErrorFileNotFound);
        ShowError(installer, name + LoadTextCopy(TextId::NotFound), Id(TextId::InstallCaption),
                  Id(TextId::NotFound));
        return std::nullopt;
    }
    InfLoadResult loaded = LoadInf(installer.scripts, installer.platform.files, path);
    switch (loaded.status) {
    case InfLoadStatus::Loaded:
        installer.paths.installInfPath = path;
        return loaded.script;
    case InfLoadStatus::NotLoaded:
        RecordError(installer.platform, "ReadFile", path, installer.platform.files.GetLastError());
        ShowError(installer, LoadTextCopy(TextId::OutOfMemory), Id(TextId::WarningCaption),
                  Id(TextId::OutOfMemory));
        return std::nullopt;
    case InfLoadStatus::Empty:
        break;
    }
    constexpr DWORD kErrorInvalidData = 13;
    RecordError(installer.platform, "ReadFile", path, kErrorInvalidData);
    ShowError(installer, LoadTextCopy(TextId::CannotReadScript), Id(TextId::WarningCaption),
              Id(TextId::CannotReadScript));
    return std::nullopt;
}

// Without a hand-off file: the settings file named by INSTALL.INF beside the program.
bool FindPrivateSettingsFromScript(Installer& installer, std::string_view installerDir) {
    std::optional<InfScript> script = LoadInstallInf(installer, installerDir);
    if (!script)
        return false;
    std::string name(kDefaultPrivateSettingsFile);
    std::optional<InfLine> line =
        FindInfSection(installer.scripts, script, LoadTextCopy(TextId::PrivateIniSection));
    if (line) {
        std::optional<std::string_view> text = InfLineText(installer.scripts, *line);
        if (text)
            name = *text;
    }
    if (!AcceptPrivateSettingsName(installer, script, name)) {
        FreeInf(installer.scripts, script);
        return false;
    }
    installer.paths.privateSettingsFile = JoinPath(installer.paths.windowsDir, name);
    FreeInf(installer.scripts, script);
    return true;
}

void ReportHandOffFailure(Installer& installer) {
    ShowError(installer, LoadTextCopy(TextId::CheckDisk), Id(TextId::CannotRunCaption),
              Id(TextId::CheckDisk));
}

// The hand-off file names the settings file. It is read once and deleted, also when it is
// unusable, so that a stale one never steers a later run.
bool ReadHandOffFile(Installer& installer, std::string_view handOffPath) {
    FileSystem& files = installer.platform.files;
    FileHandle file = files.CreateFile(handOffPath, kGenericRead, kFileShareRead, kOpenExisting);
    if (!file) {
        RecordError(installer.platform, "CreateFile", handOffPath, files.GetLastError());
        files.DeleteFile(handOffPath);
        ReportHandOffFailure(installer);
        return false;
    }
    std::array<char, kHandOffReadSize> buffer{};
    DWORD read = 0;
    DWORD size = files.GetFileSize(file);
    bool readOk = size != 0 && size != kInvalidFileSize &&
                  files.ReadFile(file, buffer.data(), kHandOffReadSize, &read) && read != 0;
    files.CloseHandle(file);
    files.DeleteFile(handOffPath);
    std::string_view text(buffer.data(), read);
    text = text.substr(0, text.find('\0'));
    // A file that names no settings file is as unusable as an empty one.
    if (!readOk || text.empty()) {
        constexpr DWORD kErrorInvalidData = 13;
        RecordError(installer.platform, "ReadFile", handOffPath, kErrorInvalidData);
        ReportHandOffFailure(installer);
        return false;
    }
    installer.paths.privateSettingsFile = std::string(text);
    return true;
}

// A setting of the private settings file, however long: the buffer grows until the value fits.
std::string ReadSetting(Installer& installer, const char* key, const std::string& fallback) {
    std::string value(kSettingSize, '\0');
    for (;;) {
        auto size = static_cast<DWORD>(value.size());
        DWORD length = installer.platform.profile.GetPrivateProfileString(
            kInstallSection, key, fallback.c_str(), value.data(), size,
            installer.paths.privateSettingsFile);
        if (length + 1 < size || size >= kMaxSettingSize) {
            value.resize(length);
            return value;
        }
        value.resize(value.size() * 2);
    }
}

void ReadLanguage(Installer& installer) {
    UINT index = installer.platform.profile.GetPrivateProfileInt(
        kInstallSection, "Language", 0, installer.paths.privateSettingsFile);
    // A damaged setting must not pick a string beyond the language codes.
    installer.languageIndex = index < kLanguageCount ? static_cast<int>(index) : 0;
    installer.languageCode = LoadTextCopy(Id(TextId::FirstLanguageCode) +
                                          static_cast<unsigned>(installer.languageIndex));
}

} // namespace

bool Configuration(Installer& installer) {
    System& system = installer.platform.system;
    Paths& paths = installer.paths;
    paths.windowsDir = UpperPath(system.GetWindowsDirectory());
    std::string handOffPath = JoinPath(paths.windowsDir, LoadTextCopy(TextId::HandOffFile));
    std::string installerDir = DirectoryOf(system.GetModuleFileName());

    if (!FileExists(installer, handOffPath)) {
        if (!FindPrivateSettingsFromScript(installer, installerDir))
            return false;
    } else if (!ReadHandOffFile(installer, handOffPath)) {
        return false;
    }

    paths.systemDir = system.GetSystemDirectory();
    NoteSettingsFile(installer);
    paths.fontDir = RemoveOneTrailingBackslash(ReadSetting(installer, "FontPath", paths.systemDir));
    ReadLanguage(installer);
    paths.diskPath =
        RemoveTrailingBackslashes(ReadSetting(installer, "DiskPath", installerDir + "\\"));

    // INSTALL.INF on the disk stays the current script until the first step releases it.
    if (!LoadInstallInf(installer, paths.diskPath))
        return false;
    // The INI files' names of the last step are checked now, before anything is installed.
    if (!AcceptDeleteIniNames(installer))
        return false;
    ReadDriverPath(installer);
    ReadOptionFlags(installer);

    installer.waitCursor = installer.windows.LoadCursor(IDC_WAIT);
    return RegisterMainWindowClass(installer);
}

bool RegisterMainWindowClass(Installer& installer) {
    WindowClass mainClass;
    mainClass.name = std::string(kMainWindowClass);
    mainClass.proc = [&installer](WindowHandle window, UINT message, WPARAM wParam, LPARAM lParam) {
        return MainWndProc(installer, window, message, wParam, lParam);
    };
    mainClass.cursor = IDC_ARROW;
    mainClass.background = kColorBtnFace + 1;
    return installer.windows.RegisterClass(mainClass) != 0;
}

} // namespace tl
