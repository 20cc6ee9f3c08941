#include "platform/host/profile_host.h"

#include "platform/host/ini_file_io.h"
#include "platform/host/ini_text.h"

#include <array>

namespace tl::host {

namespace {

// The default value as the profile functions hand it out: trailing spaces and one pair of
// enclosing quotes removed.
std::string_view CleanDefault(const char* defaultValue) {
    std::string_view text = defaultValue == nullptr ? std::string_view{} : defaultValue;
    while (text.ends_with(' ')) {
        text.remove_suffix(1);
    }
    return StripProfileQuotes(text);
}

} // namespace

HostProfile::HostProfile(const PathResolver& resolver, std::string windowsDirectory)
    : resolver_(resolver), windowsDirectory_(std::move(windowsDirectory)) {}

std::string HostProfile::ProfilePath(std::string_view fileName) const {
    const bool hasDirectory = fileName.find_first_of("\\/") != std::string_view::npos ||
                              (fileName.size() >= 2 && fileName[1] == ':');
    if (hasDirectory) {
        return std::string(fileName);
    }
    std::string path = windowsDirectory_;
    if (!path.ends_with('\\')) {
        path += '\\';
    }
    path += fileName;
    return path;
}

IniText HostProfile::Read(std::string_view fileName) const {
    const ResolvedPath resolved = resolver_.Resolve(ProfilePath(fileName), PathUse::Read);
    if (!resolved) {
        return IniText();
    }
    const auto bytes = ReadWholeFile(resolved.path);
    return bytes ? IniText(*bytes) : IniText();
}

DWORD HostProfile::GetPrivateProfileString(const char* appName, const char* keyName,
                                           const char* defaultValue, char* buffer, DWORD size,
                                           std::string_view fileName) {
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    const IniText ini = Read(fileName);
    if (appName == nullptr) {
        return CopyProfileList(ini.SectionNames(), buffer, size);
    }
    if (keyName == nullptr) {
        if (*appName == '\0') {
            buffer[0] = '\0';
            return 0;
        }
        const auto keys = ini.KeyNames(appName);
        if (!keys || keys->empty()) {
            return CopyProfileString(CleanDefault(defaultValue), buffer, size);
        }
        return CopyProfileList(*keys, buffer, size);
    }
    if (*keyName == '\0') {
        // Windows 95 answers an empty key name with 0 and no text.
        buffer[0] = '\0';
        return 0;
    }
    const auto value = ini.Get(appName, keyName);
    return CopyProfileString(value ? std::string_view(*value) : CleanDefault(defaultValue), buffer,
                             size);
}

UINT ParseProfileInt(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    UINT number = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            break;
        }
        number = number * 10 + static_cast<UINT>(c - '0');
    }
    // The profile functions of this Windows generation answer a negative value with 0.
    return negative ? 0u : number;
}

UINT HostProfile::GetPrivateProfileInt(const char* appName, const char* keyName, int defaultValue,
                                       std::string_view fileName) {
    // Windows reads the value through a small buffer first; only its start can matter.
    std::array<char, 32> text{};
    const DWORD length =
        GetPrivateProfileString(appName, keyName, "", text.data(), text.size(), fileName);
    if (length == 0) {
        return static_cast<UINT>(defaultValue);
    }
    return ParseProfileInt(std::string_view(text.data(), length));
}

BOOL HostProfile::Fail(DWORD error) const {
    lastError_ = error;
    if (setLastError_) {
        setLastError_(error);
    }
    return 0;
}

BOOL HostProfile::WritePrivateProfileString(const char* appName, const char* keyName,
                                            const char* value, std::string_view fileName) {
    constexpr DWORD kErrorInvalidParameter = 87;
    constexpr DWORD kErrorAccessDenied = 5;
    if (appName == nullptr) {
        return Fail(kErrorInvalidParameter);
    }
    const std::string path = ProfilePath(fileName);
    const ResolvedPath resolved = resolver_.Resolve(path, PathUse::Write);
    if (!resolved) {
        return Fail(resolved.error);
    }
    std::error_code error;
    std::string bytes;
    if (std::filesystem::exists(resolved.path, error)) {
        auto existing = ReadWholeFile(resolved.path);
        if (!existing) {
            return Fail(
                kErrorAccessDenied); // never replace a file whose contents could not be read
        }
        bytes = std::move(*existing);
    }
    const auto before = static_cast<std::int64_t>(bytes.size());
    IniText ini(bytes);
    bool changed = false;
    if (keyName == nullptr) {
        changed = ini.DeleteSection(appName);
    } else if (value == nullptr) {
        changed = ini.DeleteKey(appName, keyName);
    } else {
        if (TrimProfileBlanks(appName).empty() || TrimProfileBlanks(keyName).empty()) {
            return Fail(kErrorInvalidParameter);
        }
        changed = ini.Set(appName, keyName, value);
    }
    if (!changed) {
        return 1;
    }
    const std::string after = ini.Bytes();
    const std::int64_t growth = static_cast<std::int64_t>(after.size()) - before;
    const char drive = space_ != nullptr ? space_->DriveOf(path) : '\0';
    if (const auto room = space_ != nullptr ? space_->Room(drive) : std::nullopt;
        growth > 0 && room && static_cast<std::uint64_t>(growth) > *room) {
        return Fail(kErrorDiskFull); // the file stays as it was
    }
    if (const DWORD fault =
            faults_ != nullptr ? faults_->Call(FaultKind::Write, resolved.path) : 0) {
        return Fail(fault);
    }
    if (const DWORD replaced = ReplaceFileAtomically(resolved.path, after)) {
        return Fail(replaced);
    }
    if (faults_ != nullptr) {
        faults_->Written();
    }
    if (space_ != nullptr) {
        space_->Count(drive, growth);
    }
    return 1;
}

} // namespace tl::host
