#include "copy/system_ini_device.h"

#include "copy/backup.h"
#include "copy/file_line.h"
#include "copy/safe_replace.h"
#include "platform/error_event.h"
#include "platform/file_system.h"
#include "platform/lz.h"
#include "platform/profile.h"
#include "platform/recorded_profile.h"
#include "state/installer.h"
#include "state/removal_log.h"
#include "text/ansi_text.h"

namespace tl {

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr const char* kDeviceSection = "386Enh";
constexpr const char* kDeviceKey = "device";
constexpr std::string_view kSystemIni = "\\SYSTEM.INI";

std::string_view SkipSpaces(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

// The characters from the start of `text` up to the first of `stops` (or the end).
std::string_view RunUntil(std::string_view text, std::string_view stops) {
    return text.substr(0, std::min(text.find_first_of(stops), text.size()));
}

// The name of a section header line ("[ name ]"), or none when the line is no header.
std::optional<std::string_view> SectionName(std::string_view line) {
    const std::string_view text = SkipSpaces(line);
    if (text.empty() || text.front() != '[') {
        return std::nullopt;
    }
    return RunUntil(SkipSpaces(text.substr(1)), "]\r\n ");
}

// What a line inside the section is compared with: its key, and when "=" ends the key, "=" and
// the first word of the value.
std::string ComparisonText(std::string_view text) {
    const std::string_view key = RunUntil(text, " =\r\n");
    std::string compared(key);
    if (key.size() < text.size() && text[key.size()] == '=') {
        compared += '=';
        compared += RunUntil(SkipSpaces(text.substr(key.size() + 1)), " \r\n");
    }
    return compared;
}

void DeleteThroughLz(LzExpand& lz, std::string_view path) {
    OfStruct of;
    lz.LZOpenFile(path, of, kOfDelete);
}

} // namespace

IniLineInserter::IniLineInserter(std::string_view section, std::string_view line)
    : section_(section), line_(line) {}

void IniLineInserter::Feed(std::string_view line, std::string& out) {
    lastLineOpen_ = !line.empty() && line.back() != '\n';
    switch (state_) {
    case State::BeforeSection:
        if (const auto name = SectionName(line); name && text::EqualsIgnoreCase(*name, section_)) {
            state_ = State::AfterHeader;
        }
        out.append(line);
        return;
    case State::AfterHeader:
        out.append(line_);
        out.append(kCrLf);
        state_ = State::InSection;
        [[fallthrough]];
    case State::InSection: {
        const std::string_view text = SkipSpaces(line);
        if (!text.empty() && text.front() == '[') {
            state_ = State::AfterSection;
        } else if (text::EqualsIgnoreCase(ComparisonText(text), line_)) {
            out.push_back(';');
            state_ = State::FoundSame;
        }
        out.append(line);
        return;
    }
    case State::FoundSame:
    case State::AfterSection:
        out.append(line);
        return;
    }
}

void IniLineInserter::Finish(std::string& out) {
    const bool adds = state_ == State::BeforeSection || state_ == State::AfterHeader;
    // A last line without line end would otherwise run into the added text.
    if (adds && lastLineOpen_) {
        out.append(kCrLf);
    }
    if (state_ == State::BeforeSection) {
        out.append("[");
        out.append(section_);
        out.append("]");
        out.append(kCrLf);
        out.append(line_);
        out.append(kCrLf);
        return;
    }
    if (state_ == State::AfterHeader) {
        out.append(line_);
        out.append(kCrLf);
        out.append(kCrLf);
    }
}

std::string RewriteTemporaryPath(std::string_view iniPath) {
    return std::string(iniPath) + ".TMP";
}

bool InsertIniLine(Installer& installer, std::string_view section, std::string_view key,
                   std::string_view value, std::string_view backupPath, std::string_view iniPath) {
    LzExpand& lz = installer.platform.lz;
    OfStruct backupOf;
    const LzHandle backup = lz.LZOpenFile(backupPath, backupOf, kOfRead | kOfPrompt);
    if (backup < 0) {
        RecordError(installer.platform, "LZOpenFile", backupPath, backupOf.nErrCode);
        DeleteThroughLz(lz, backupPath);
        return false;
    }
    const std::string temporary = RewriteTemporaryPath(iniPath);
    OfStruct temporaryOf;
    const LzHandle target = lz.LZOpenFile(temporary, temporaryOf, kOfCreate);
    if (target < 0) {
        RecordError(installer.platform, "LZOpenFile", temporary, temporaryOf.nErrCode);
        lz.LZClose(backup);
        DeleteThroughLz(lz, backupPath);
        return false;
    }

    std::string lineToAdd(key);
    lineToAdd += '=';
    lineToAdd += value;
    IniLineInserter inserter(section, lineToAdd);
    FileLineReader reader(lz, backup);
    FileLineWriter writer(lz, target);
    std::string line;
    std::string out;
    while (reader.ReadFileLine(line) != 0) {
        out.clear();
        inserter.Feed(line, out);
        writer.Write(out);
    }
    out.clear();
    inserter.Finish(out);
    writer.Write(out);
    const bool read = !reader.Failed();
    const bool written = read && writer.Flush();
    lz.LZClose(backup);
    lz.LZClose(target);

    if (!written) {
        if (read)
            RecordError(installer.platform, "WriteFile", temporary, kErrorWriteFault);
        else
            RecordError(installer.platform, "ReadFile", backupPath, kErrorReadFault);
        DeleteThroughLz(lz, temporary);
        DeleteThroughLz(lz, backupPath);
        return false;
    }
    const bool commentedSame = inserter.GetState() == IniLineInserter::State::FoundSame;
    const bool sectionAdded = inserter.GetState() == IniLineInserter::State::BeforeSection;
    if (!WriteRemovalRecord(installer, {removal_record::kDeviceLine, iniPath, section, lineToAdd,
                                        commentedSame ? "1" : "0", sectionAdded ? "1" : "0"})) {
        DeleteThroughLz(lz, temporary);
        DeleteThroughLz(lz, backupPath);
        return 0;
    }
    const ReplaceOutcome replaced = SafeReplace(installer.platform, temporary, iniPath);
    if (replaced != ReplaceOutcome::Replaced) {
        DeleteThroughLz(lz, temporary);
        // The backup goes only when SYSTEM.INI is whole under its name again.
        if (replaced == ReplaceOutcome::NotReplaced) {
            DeleteThroughLz(lz, backupPath);
        }
        return false;
    }
    if (inserter.GetState() == IniLineInserter::State::FoundSame) {
        DeleteThroughLz(lz, backupPath);
        return true;
    }
    installer.changeBits |= kChangeSystemIni | kChangeRestartNeeded;
    // A second device line of the run made its backup from the file the first line changed:
    // the record keeps naming the first, the one that holds SYSTEM.INI as it was.
    if (!RecordFirstBackup(installer, kSystemIniBackupKey, backupPath)) {
        DeleteThroughLz(lz, backupPath);
    }
    return true;
}

bool AddSystemIniDevice(Installer& installer, std::string_view deviceFileName) {
    const std::string iniPath = installer.paths.windowsDir + std::string(kSystemIni);
    if (installer.platform.files.GetFileAttributes(iniPath) == kInvalidFileAttributes) {
        const std::string line = std::string(kDeviceKey) + "=" + std::string(deviceFileName);
        if (!WriteRemovalRecord(installer, {removal_record::kDeviceLine, iniPath, kDeviceSection,
                                            line, "0", "1"}) ||
            !WriteProfileRecorded(installer.platform, kDeviceSection, kDeviceKey,
                                  std::string(deviceFileName).c_str(), iniPath)) {
            return false;
        }
        installer.changeBits |= kChangeRestartNeeded;
        return true;
    }
    std::string backupPath;
    if (!RecordPlannedBackup(installer, iniPath))
        return 0;
    if (BackupFile(installer, iniPath, backupPath) == 0) {
        return false;
    }
    // When the change was not made InsertIniLine deleted the copy kept for it, unless SYSTEM.INI
    // could not be put back under its name: then the copy is what is left of it.
    if (InsertIniLine(installer, kDeviceSection, kDeviceKey, deviceFileName, backupPath, iniPath) ==
        0) {
        return false;
    }
    return true;
}

} // namespace tl
