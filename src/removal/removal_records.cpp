#include "removal/removal_records.h"

#include "platform/profile.h"
#include "state/installer.h"
#include "state/removal_log.h"
#include "text/ansi_text.h"

#include <algorithm>
#include <cstdlib>

namespace tl {

namespace {

constexpr DWORD kFirstBuffer = 1024;
constexpr DWORD kMaxBuffer = 1u << 20;
constexpr std::string_view kKeyPrefix = "Change";
constexpr std::size_t kKeyDigits = 4;

// A value or key list of the settings file, however long (up to a limit no record reaches).
std::string ReadProfile(Installer& installer, const char* key) {
    std::string buffer(kFirstBuffer, '\0');
    for (;;) {
        const auto size = static_cast<DWORD>(buffer.size());
        const DWORD length = installer.platform.profile.GetPrivateProfileString(
            kRemovalSection, key, "", buffer.data(), size, installer.paths.privateSettingsFile);
        if (length + 2 < size || size >= kMaxBuffer) {
            buffer.resize(length);
            return buffer;
        }
        buffer.resize(buffer.size() * 2);
    }
}

bool IsRecordKey(std::string_view key) {
    if (key.size() != kKeyPrefix.size() + kKeyDigits ||
        !text::EqualsIgnoreCase(key.substr(0, kKeyPrefix.size()), kKeyPrefix))
        return false;
    return std::all_of(key.begin() + kKeyPrefix.size(), key.end(),
                       [](char c) { return c >= '0' && c <= '9'; });
}

bool StartsWithDirectory(std::string_view path, std::string_view directory) {
    while (!directory.empty() && directory.back() == '\\')
        directory.remove_suffix(1);
    if (directory.empty() || path.size() <= directory.size() + 1)
        return false;
    return text::EqualsIgnoreCase(path.substr(0, directory.size()), directory) &&
           path[directory.size()] == '\\';
}

bool SameDirectory(std::string_view path, std::string_view directory) {
    while (!directory.empty() && directory.back() == '\\')
        directory.remove_suffix(1);
    return text::EqualsIgnoreCase(path, directory);
}

// Every component after the drive is a plain name.
bool HasPlainComponents(std::string_view path) {
    if (path.size() < 3 || path[1] != ':' || path[2] != '\\')
        return false;
    std::size_t start = 3;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find('\\', start), path.size());
        const std::string_view name = path.substr(start, end - start);
        if (name.empty() || name == "." || name == "..")
            return false;
        for (const char c : name) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte < 0x20 || std::string_view("/:*?\"<>|").find(c) != std::string_view::npos)
                return false;
        }
        start = end + 1;
    }
    return true;
}

} // namespace

const std::string& RemovalRecord::Field(std::size_t index) const {
    static const std::string kNone;
    return index < fields.size() ? fields[index] : kNone;
}

std::vector<RemovalRecord> ReadRemovalRecords(Installer& installer) {
    const std::string keys = ReadProfile(installer, nullptr);
    std::vector<RemovalRecord> records;
    for (std::size_t at = 0; at < keys.size();) {
        const std::size_t end = std::min(keys.find('\0', at), keys.size());
        const std::string key = keys.substr(at, end - at);
        at = end + 1;
        if (!IsRecordKey(key))
            continue;
        records.push_back({key, DecodeRemovalRecord(ReadProfile(installer, key.c_str()))});
    }
    std::sort(records.begin(), records.end(), [](const RemovalRecord& a, const RemovalRecord& b) {
        return std::atoi(a.key.c_str() + kKeyPrefix.size()) <
               std::atoi(b.key.c_str() + kKeyPrefix.size());
    });
    return records;
}

RemovalRoots ReadRemovalRoots(Installer& installer) {
    RemovalRoots roots;
    roots.directories.push_back(installer.paths.windowsDir);
    roots.directories.push_back(installer.paths.systemDir);
    char fontPath[300] = {};
    installer.platform.profile.GetPrivateProfileString(
        "Install", "FontPath", "", fontPath, sizeof fontPath, installer.paths.privateSettingsFile);
    if (HasPlainComponents(fontPath))
        roots.directories.emplace_back(fontPath);
    return roots;
}

bool IsRemovablePath(const RemovalRoots& roots, std::string_view path, bool directory) {
    if (!HasPlainComponents(path))
        return false;
    for (const std::string& root : roots.directories) {
        if (StartsWithDirectory(path, root))
            return true;
        // The directories made on the way to a font directory.
        if (directory && (SameDirectory(path, root) || StartsWithDirectory(root, path)))
            return true;
    }
    return false;
}

} // namespace tl
