#include "platform/host/machine_config.h"

#include "platform/host/ini_file_io.h"
#include "platform/host/ini_text.h"

#include <cctype>
#include <charconv>
#include <system_error>

namespace tl::host {
namespace {

namespace fs = std::filesystem;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && IsBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Upper(a[i]) != Upper(b[i])) {
            return false;
        }
    }
    return true;
}

// A value ends at a ';' that follows a blank, so that "Version=4.0   ; comment" reads 4.0 while
// a ';' inside a value (a path, a name) stays.
std::string_view StripComment(std::string_view value) {
    for (std::size_t i = 1; i < value.size(); ++i) {
        if (value[i] == ';' && (value[i - 1] == ' ' || value[i - 1] == '\t')) {
            return Trim(value.substr(0, i));
        }
    }
    return Trim(value);
}

template <typename T> std::optional<T> ParseNumber(std::string_view text, int base = 10) {
    T value{};
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value, base);
    if (text.empty() || ec != std::errc{} || ptr != end) {
        return std::nullopt;
    }
    return value;
}

bool HasControlCharacter(std::string_view text) {
    for (char c : text) {
        auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) {
            return true;
        }
    }
    return false;
}

// A name as it can stand in a message: control characters as \xNN.
std::string Printable(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string shown;
    for (char c : text) {
        auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) {
            shown += "\\x";
            shown += kHex[u >> 4];
            shown += kHex[u & 0xF];
        } else {
            shown += c;
        }
    }
    return shown;
}

std::optional<bool> ParseFlag(std::string_view text) {
    if (text == "1" || EqualsNoCase(text, "yes") || EqualsNoCase(text, "true")) {
        return true;
    }
    if (text == "0" || EqualsNoCase(text, "no") || EqualsNoCase(text, "false") || text.empty()) {
        return false;
    }
    return std::nullopt;
}

// Finds drive_<letter> in the machine folder, in either case of the letter.
std::optional<fs::path> FindDriveFolder(const fs::path& machineDir, char letter) {
    for (char c : {static_cast<char>(letter - 'A' + 'a'), letter}) {
        fs::path candidate = machineDir / (std::string("drive_") + c);
        std::error_code ec;
        if (fs::is_directory(candidate, ec)) {
            return candidate;
        }
    }
    return std::nullopt;
}

class Parser {
public:
    Parser(const fs::path& machineDir, const CodePage& codePage)
        : machineDir_(machineDir), codePage_(codePage) {}

    MachineConfigResult Run(std::string_view text) {
        if (text.substr(0, 3) == "\xEF\xBB\xBF") {
            text.remove_prefix(3);
        }
        std::string section;
        int lineNumber = 0;
        while (!text.empty() && error_.empty()) {
            std::size_t eol = text.find('\n');
            std::string_view line = Trim(text.substr(0, eol));
            text = eol == std::string_view::npos ? std::string_view{} : text.substr(eol + 1);
            ++lineNumber;
            line_ = lineNumber;
            if (line.empty() || line.front() == ';' || line.front() == '#') {
                continue;
            }
            if (line.front() == '[') {
                std::size_t close = line.find(']');
                if (close == std::string_view::npos) {
                    Fail("a section name without ']'");
                    break;
                }
                section = std::string(Trim(line.substr(1, close - 1)));
                continue;
            }
            std::size_t eq = line.find('=');
            if (eq == std::string_view::npos) {
                continue; // Windows ignores lines without '='; so do we.
            }
            Entry(section, Trim(line.substr(0, eq)), StripComment(line.substr(eq + 1)));
        }
        if (error_.empty()) {
            FillDriveFolders();
        }
        if (!error_.empty()) {
            return {std::nullopt, error_};
        }
        return {std::move(config_), {}};
    }

private:
    void Fail(std::string_view what) {
        if (error_.empty()) {
            error_ = "machine.ini line " + std::to_string(line_) + ": " + std::string(what);
        }
    }

    void Entry(std::string_view section, std::string_view key, std::string_view value) {
        // A control character cuts or bends a name where Windows reads it (a NUL ends
        // "C:\\WIN<NUL>DOWS" at "C:\\WIN"): such a folder describes no PC.
        if (HasControlCharacter(key) || HasControlCharacter(value)) {
            Fail(Printable(key) + " holds a control character (in [" + Printable(section) + "])");
            return;
        }
        if (EqualsNoCase(section, "Machine")) {
            MachineEntry(key, value);
        } else if (EqualsNoCase(section, "Drives")) {
            DrivesEntry(key, value);
        } else if (section.size() == 7 && EqualsNoCase(section.substr(0, 6), "Drive.")) {
            DriveEntry(section[6], key, value);
        } else if (EqualsNoCase(section, "InUse")) {
            if (ParseFlag(value).value_or(true)) {
                AddOnce(config_.inUse, codePage_.FromUtf8(key));
            }
        } else if (EqualsNoCase(section, "Faults")) {
            if (std::string error = ParseFaultSetting(config_.faults, key, value, machineDir_);
                !error.empty()) {
                Fail(error);
            }
        } else if (EqualsNoCase(section, "Atoms")) {
            if (ParseFlag(value).value_or(true)) {
                AddOnce(config_.atoms, codePage_.FromUtf8(key));
            }
        }
    }

    // A name listed twice is still one file, one atom.
    static void AddOnce(std::vector<std::string>& names, std::string name) {
        for (const std::string& known : names) {
            if (ProfileNameEquals(known, name)) {
                return;
            }
        }
        names.push_back(std::move(name));
    }

    void MachineEntry(std::string_view key, std::string_view value) {
        if (EqualsNoCase(key, "WindowsDirectory")) {
            config_.windowsDirectory = WindowsPath(value);
        } else if (EqualsNoCase(key, "SystemDirectory")) {
            config_.systemDirectory = WindowsPath(value);
        } else if (EqualsNoCase(key, "ProgramFile")) {
            config_.programFile = WindowsPath(value);
        } else if (EqualsNoCase(key, "Version")) {
            Version(value);
        } else if (EqualsNoCase(key, "Locale")) {
            auto locale = ParseNumber<WORD>(value, 16);
            if (!locale || (*locale != kLocaleKorean && *locale != kLocaleEnglishUs)) {
                Fail("Locale must be 0412 (Korean) or 0409 (English)");
                return;
            }
            config_.locale = *locale;
        } else if (EqualsNoCase(key, "UtcOffsetMinutes")) {
            auto minutes = ParseNumber<int>(value.substr(value.starts_with('+') ? 1 : 0));
            if (!minutes || *minutes < -24 * 60 || *minutes > 24 * 60) {
                Fail("UtcOffsetMinutes must be a number of minutes between -1440 and 1440");
                return;
            }
            config_.utcOffsetMinutes = *minutes;
        }
    }

    std::string WindowsPath(std::string_view value) {
        if (DriveLetterOf(value) == 0 || value.size() < 3 ||
            (value[2] != '\\' && value[2] != '/')) {
            Fail("a full Windows path (like C:\\WINDOWS) is needed");
            return {};
        }
        std::string path = codePage_.FromUtf8(value);
        for (char& c : path) {
            c = c == '/' ? '\\' : c;
        }
        while (path.size() > 3 && path.back() == '\\') {
            path.pop_back();
        }
        return path;
    }

    void Version(std::string_view value) {
        std::size_t dot = value.find('.');
        auto major = ParseNumber<BYTE>(value.substr(0, dot));
        auto minor = dot == std::string_view::npos ? std::optional<BYTE>(0)
                                                   : ParseNumber<BYTE>(value.substr(dot + 1));
        if (!major || !minor) {
            Fail("Version must read major.minor, like 4.0");
            return;
        }
        config_.versionMajor = *major;
        config_.versionMinor = *minor;
    }

    static std::optional<char> Letter(std::string_view key) {
        if (key.size() != 1 || !std::isalpha(static_cast<unsigned char>(key[0]))) {
            return std::nullopt;
        }
        return Upper(key[0]);
    }

    void DrivesEntry(std::string_view key, std::string_view value) {
        auto letter = Letter(key);
        if (!letter) {
            Fail("a key of [Drives] must be a drive letter");
            return;
        }
        DriveConfig& drive = config_.Drive(*letter);
        named_[static_cast<std::size_t>(*letter - 'A')] = true;
        if (value.empty()) {
            drive.state = DriveConfig::State::NoMedium;
            return;
        }
        fs::path folder = fs::path(std::string(value));
        if (folder.is_relative()) {
            folder = machineDir_ / folder;
        }
        std::error_code ec;
        if (!fs::is_directory(folder, ec)) {
            Fail("the folder of drive " + std::string(1, *letter) + ": (" + folder.string() +
                 ") does not exist");
            return;
        }
        drive.state = DriveConfig::State::Present;
        drive.folder = folder;
    }

    void DriveEntry(char letterChar, std::string_view key, std::string_view value) {
        auto letter = Letter(std::string_view(&letterChar, 1));
        if (!letter) {
            return;
        }
        DriveConfig& drive = config_.Drive(*letter);
        if (EqualsNoCase(key, "FreeBytes")) {
            auto bytes = ParseNumber<std::uint64_t>(value);
            if (!bytes) {
                Fail("FreeBytes must be a count of bytes");
                return;
            }
            drive.freeBytes = bytes;
        } else if (EqualsNoCase(key, "ReadOnly")) {
            auto flag = ParseFlag(value);
            if (!flag) {
                Fail("ReadOnly must be 1 or 0");
                return;
            }
            drive.readOnly = *flag;
        }
    }

    void FillDriveFolders() {
        for (char letter = 'A'; letter <= 'Z'; ++letter) {
            if (named_[static_cast<std::size_t>(letter - 'A')]) {
                continue;
            }
            if (auto folder = FindDriveFolder(machineDir_, letter)) {
                DriveConfig& drive = config_.Drive(letter);
                drive.state = DriveConfig::State::Present;
                drive.folder = *folder;
            }
        }
    }

    const fs::path& machineDir_;
    const CodePage& codePage_;
    MachineConfig config_;
    std::array<bool, 26> named_{};
    std::string error_;
    int line_ = 0;
};

} // namespace

DriveConfig& MachineConfig::Drive(char letter) {
    return drives[static_cast<std::size_t>(Upper(letter) - 'A')];
}

const DriveConfig& MachineConfig::Drive(char letter) const {
    return drives[static_cast<std::size_t>(Upper(letter) - 'A')];
}

char DriveLetterOf(std::string_view windowsPath) {
    if (windowsPath.size() < 2 || windowsPath[1] != ':' ||
        !std::isalpha(static_cast<unsigned char>(windowsPath[0])) ||
        static_cast<unsigned char>(windowsPath[0]) >= 0x80) {
        return 0;
    }
    return Upper(windowsPath[0]);
}

MachineConfigResult ParseMachineIni(std::string_view text, const fs::path& machineDir,
                                    const CodePage& codePage) {
    return Parser(machineDir, codePage).Run(text);
}

MachineConfigResult LoadMachineConfig(const fs::path& machineDir, const CodePage& codePage) {
    std::error_code ec;
    if (!fs::is_directory(machineDir, ec)) {
        return {std::nullopt, "the machine folder " + machineDir.string() + " does not exist"};
    }
    fs::path file = machineDir / "machine.ini";
    const fs::file_status status = fs::symlink_status(file, ec);
    if (fs::is_symlink(status)) {
        return {std::nullopt, file.string() + ": a symbolic link, not the machine's own file"};
    }
    if (!fs::exists(status)) {
        return ParseMachineIni({}, machineDir, codePage);
    }
    std::optional<std::string> text = ReadWholeFile(file, Links::Refuse);
    if (!text) {
        return {std::nullopt, "cannot read " + file.string()};
    }
    return ParseMachineIni(*text, machineDir, codePage);
}

} // namespace tl::host
