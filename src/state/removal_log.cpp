#include "state/removal_log.h"

#include "platform/recorded_profile.h"
#include "state/installer.h"

#include <cstdio>

namespace tl {

namespace {

constexpr char kSeparator = '|';
// Far more records than any installation writes; a settings file claiming more is damaged.
constexpr int kMaxRecords = 9999;

int FromHex(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

bool RecordExists(Installer& installer, int number) {
    char probe[4] = {};
    const std::string key = RemovalKey(number);
    const DWORD length = installer.platform.profile.GetPrivateProfileString(
        kRemovalSection, key.c_str(), "", probe, sizeof probe, installer.paths.privateSettingsFile);
    return length > 0;
}

} // namespace

std::string EncodeRemovalRecord(std::initializer_list<std::string_view> fields) {
    std::string value;
    for (const std::string_view field : fields) {
        for (const char c : field) {
            if (c == '%')
                value += "%25";
            else if (c == kSeparator)
                value += "%7C";
            else
                value += c;
        }
        value += kSeparator;
    }
    return value;
}

std::vector<std::string> DecodeRemovalRecord(std::string_view value) {
    std::vector<std::string> fields;
    if (value.empty() || value.back() != kSeparator)
        return {};
    std::string field;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == kSeparator) {
            fields.push_back(std::move(field));
            field.clear();
            continue;
        }
        if (c != '%') {
            field += c;
            continue;
        }
        if (i + 2 >= value.size())
            return {};
        const int high = FromHex(value[i + 1]);
        const int low = FromHex(value[i + 2]);
        if (high < 0 || low < 0)
            return {};
        field += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return fields;
}

std::string RemovalKey(int number) {
    char key[24]; // "Change" and any int, with its NUL
    std::snprintf(key, sizeof key, "Change%04d", number);
    return key;
}

void NoteSettingsFile(Installer& installer) {
    installer.removalLog.settingsExisted =
        installer.platform.files.GetFileAttributes(installer.paths.privateSettingsFile) !=
        kInvalidFileAttributes;
}

bool NoteSettingsWrite(Installer& installer) {
    RemovalLogState& log = installer.removalLog;
    if (log.nextKey != 0)
        return true;
    // An earlier installation's records stay; this run's follow them.
    log.nextKey = 1;
    while (log.nextKey <= kMaxRecords && RecordExists(installer, log.nextKey))
        ++log.nextKey;
    if (log.settingsExisted)
        return true;
    log.settingsExisted = true;
    return WriteRemovalRecord(installer, {removal_record::kSettings});
}

bool WriteRemovalRecord(Installer& installer, std::initializer_list<std::string_view> fields) {
    RemovalLogState& log = installer.removalLog;
    if (log.nextKey == 0 && !NoteSettingsWrite(installer))
        return false;
    if (log.nextKey > kMaxRecords)
        return false;
    const std::string key = RemovalKey(log.nextKey);
    const std::string value = EncodeRemovalRecord(fields);
    if (!WriteProfileRecorded(installer.platform, kRemovalSection, key.c_str(), value.c_str(),
                              installer.paths.privateSettingsFile))
        return false;
    ++log.nextKey;
    return true;
}

} // namespace tl
