// Removing a driver file from a line of an INI file, on a copy of the file made first.
#include "sysfiles/ini_edit.h"

#include "copy/backup.h"
#include "copy/file_line.h"
#include "copy/file_name.h"
#include "copy/safe_replace.h"
#include "platform/error_event.h"
#include "platform/recorded_profile.h"
#include "state/installer.h"
#include "state/paths.h"
#include "state/removal_log.h"

#include <algorithm>
#include <optional>
#include <tuple>

namespace tl {
namespace {

constexpr std::string_view kCrLf = "\r\n";
// The first form holds the backup in memory; a larger file is read line by line instead.
constexpr DWORD kMaxInMemoryFile = 16u * 1024u * 1024u;
constexpr DWORD kReadPiece = 2048;

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    }
    return true;
}

bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

bool IsItemSeparator(char c) {
    return c == ' ' || c == ',';
}

std::size_t SkipSpaces(std::string_view line, std::size_t at) {
    while (at < line.size() && line[at] == ' ')
        ++at;
    return at;
}

std::string TemporaryPath(std::string_view iniPath) {
    return std::string(iniPath) + ".TMP";
}

// A file of the edit that is no longer needed; one that cannot be deleted is left, recorded.
void DeleteRecorded(const Platform& platform, std::string_view path) {
    if (!platform.files.DeleteFile(path))
        RecordError(platform, "DeleteFile", path, platform.files.GetLastError());
}

// What writing the edited file gave: nothing to change, the edited file complete at `temporary`,
// or a failure (recorded; nothing is left behind).
struct EditedFile {
    enum class Outcome { Unchanged, Edited, Failed } outcome = Outcome::Unchanged;
    std::string temporary;
};

// Runs the edit over lines from `next` (each with its line end; an empty line ends) into a
// temporary file beside the INI file.
template <typename NextLine>
EditedFile WriteEdited(Installer& installer, WindowHandle owner, std::string_view section,
                       std::string_view key, std::string_view removalMode,
                       std::string_view commentPrefix, std::string_view iniPath,
                       std::string_view backupPath, NextLine next,
                       const std::function<bool()>& readFailed) {
    LzExpand& lz = installer.platform.lz;
    std::string temporary = TemporaryPath(iniPath);
    OfStruct of;
    const LzHandle target = lz.LZOpenFile(temporary, of, kOfCreate);
    if (target < 0) {
        RecordError(installer.platform, "LZOpenFile", temporary, of.nErrCode);
        return {EditedFile::Outcome::Failed, {}};
    }

    IniLineEditor editor(section, key, removalMode, commentPrefix,
                         [&installer, owner] { return DecideRemoval(installer, owner); });
    FileLineWriter writer(lz, target);
    std::string out;
    for (std::string_view line = next(); !line.empty(); line = next()) {
        out.clear();
        editor.Feed(line, out);
        writer.Write(out);
    }
    const bool read = !readFailed();
    const bool written = writer.Flush();
    lz.LZClose(target);
    if (!read)
        RecordError(installer.platform, "ReadFile", backupPath, kErrorReadFault);
    if (!written)
        RecordError(installer.platform, "WriteFile", temporary, kErrorWriteFault);
    if (!read || !written || editor.GetState() != IniLineEditor::State::Changed) {
        DeleteRecorded(installer.platform, temporary);
        if (!read || !written)
            return {EditedFile::Outcome::Failed, {}};
        return {};
    }
    // The removal program puts the line back from this record: an edit it could not take back
    // is not made.
    if (!WriteRemovalRecord(installer,
                            {removal_record::kCommented, iniPath, section, editor.CommentLine(),
                             editor.OriginalLine(), editor.KeptLine()})) {
        DeleteRecorded(installer.platform, temporary);
        return {EditedFile::Outcome::Failed, {}};
    }
    return {EditedFile::Outcome::Edited, std::move(temporary)};
}

// Puts the edited file in place and keeps the backup only when it is the first of this file in
// the run; an unchanged file keeps its bytes and needs no backup. An edit that could not be made
// or put in place fails the installation; the INI file is then whole, as it was.
void Settle(Installer& installer, const EditedFile& edited, std::string_view backupPath,
            std::string_view iniPath, unsigned changeBit, const char* backupKey) {
    const Platform& platform = installer.platform;
    if (edited.outcome != EditedFile::Outcome::Edited) {
        if (edited.outcome == EditedFile::Outcome::Failed)
            installer.installationState = InstallationState::Failed;
        DeleteRecorded(platform, backupPath);
        return;
    }
    const ReplaceOutcome replaced = SafeReplace(installer.platform, edited.temporary, iniPath);
    if (replaced != ReplaceOutcome::Replaced) {
        installer.installationState = InstallationState::Failed;
        DeleteRecorded(platform, edited.temporary);
        // The backup goes only when the INI file is whole under its name again.
        if (replaced == ReplaceOutcome::NotReplaced)
            DeleteRecorded(platform, backupPath);
        return;
    }
    // Only the first backup of a file in the run is kept: after a change of this run (its bit
    // set) a later one holds the file as this run already changed it.
    if ((installer.changeBits & changeBit) != 0 ||
        !RecordFirstBackup(installer, backupKey, backupPath)) {
        DeleteRecorded(platform, backupPath);
        return;
    }
    installer.changeBits |= changeBit;
}

// The whole backup in memory; none when it cannot be read or is empty or too large.
std::optional<std::string> ReadWholeFile(FileSystem& files, std::string_view path) {
    const FileHandle file = files.CreateFile(path, kGenericRead, kFileShareRead, kOpenExisting);
    if (!file)
        return std::nullopt;
    const DWORD size = files.GetFileSize(file);
    if (size == 0 || size == kInvalidFileSize || size > kMaxInMemoryFile) {
        files.CloseHandle(file);
        return std::nullopt;
    }
    std::string bytes(size, '\0');
    DWORD total = 0;
    while (total < size) {
        DWORD read = 0;
        const DWORD piece = std::min(kReadPiece, size - total);
        if (!files.ReadFile(file, bytes.data() + total, piece, &read)) {
            files.CloseHandle(file);
            return std::nullopt;
        }
        if (read == 0)
            break;
        total += read;
    }
    files.CloseHandle(file);
    bytes.resize(total);
    return bytes;
}

} // namespace

bool PrefixEqualsNoCase(std::string_view a, std::string_view b, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        if (i >= a.size() || i >= b.size() || a[i] == '\0' || b[i] == '\0')
            return true;
        if ((static_cast<unsigned char>(a[i]) | 0x20) != (static_cast<unsigned char>(b[i]) | 0x20))
            return false;
    }
    return true;
}

IniLineEditor::IniLineEditor(std::string_view section, std::string_view key,
                             std::string_view removalMode, std::string_view commentPrefix,
                             Decide decide)
    : section_(section), key_(key), wholeLine_(!removalMode.empty() && removalMode[0] == '1'),
      fileName_(removalMode.size() > 2 ? removalMode.substr(2) : std::string_view{}),
      commentPrefix_(commentPrefix), decide_(std::move(decide)) {}

void IniLineEditor::Feed(std::string_view line, std::string& out) {
    if (state_ == State::Changed || state_ == State::Passed) {
        out += line;
        return;
    }
    const std::size_t start = SkipSpaces(line, 0);
    const bool header = start < line.size() && line[start] == '[';
    if (state_ == State::Seeking) {
        if (header) {
            const std::size_t nameStart = SkipSpaces(line, start + 1);
            std::size_t nameEnd = nameStart;
            while (nameEnd < line.size() && line[nameEnd] != ']' && !IsLineEnd(line[nameEnd]) &&
                   line[nameEnd] != ' ')
                ++nameEnd;
            if (EqualsNoCase(line.substr(nameStart, nameEnd - nameStart), section_))
                state_ = State::InSection;
        }
        out += line;
        return;
    }
    if (header) {
        state_ = State::Passed;
        out += line;
        return;
    }
    std::size_t equals = start;
    while (equals < line.size() && line[equals] != '=' && !IsLineEnd(line[equals]))
        ++equals;
    if (equals >= line.size() || line[equals] != '=' ||
        !EqualsNoCase(line.substr(start, equals - start), key_)) {
        out += line;
        return;
    }
    EditKeyLine(line, equals + 1, out);
}

void IniLineEditor::EditKeyLine(std::string_view line, std::size_t valueStart, std::string& out) {
    std::size_t itemStart = 0;
    std::size_t itemEnd = valueStart;
    for (std::size_t next = valueStart;; next = itemEnd + 1) {
        itemStart = SkipSpaces(line, next);
        itemEnd = itemStart;
        while (itemEnd < line.size() && !IsItemSeparator(line[itemEnd]) &&
               !IsLineEnd(line[itemEnd]))
            ++itemEnd;
        const std::string_view item = line.substr(itemStart, itemEnd - itemStart);
        if (!fileName_.empty() && EqualsNoCase(FileNamePart(item), fileName_))
            break;
        if (itemEnd >= line.size() || !IsItemSeparator(line[itemEnd])) {
            // No further item; a later line with the same key is looked at too.
            out += line;
            return;
        }
    }

    if (!decide_()) {
        out += line;
        state_ = State::Passed;
        return;
    }
    const bool separatorBehind = itemEnd < line.size() && IsItemSeparator(line[itemEnd]);
    const bool separatorInFront = itemStart > 0 && IsItemSeparator(line[itemStart - 1]);
    if ((separatorBehind || separatorInFront) && !wholeLine_) {
        std::string kept;
        if (separatorBehind) {
            kept = std::string(line.substr(0, itemStart)) + std::string(line.substr(itemEnd + 1));
        } else {
            kept = std::string(line.substr(0, itemStart - 1)) + std::string(line.substr(itemEnd));
        }
        // The last line of a file may have no line end; the comment needs a line of its own.
        if (kept.empty() || kept.back() != '\n')
            kept += kCrLf;
        out += kept;
        keptLine_ = kept.substr(0, kept.find_first_of("\r\n"));
    }
    const std::size_t end = line.find_first_of("\r\n");
    originalLine_ = std::string(line.substr(0, end));
    commentLine_ = ";" + commentPrefix_ + " " + originalLine_;
    out += commentLine_;
    out += line.substr(std::min(end, line.size()));
    state_ = State::Changed;
}

bool EditIniEntry(Installer& installer, WindowHandle owner, std::string_view fileField,
                  std::string_view section, std::string_view key, std::string_view removalMode,
                  std::string_view commentPrefix) {
    if (fileField.size() < 4 || fileField[1] < '0' || fileField[1] > '9')
        return false;
    const unsigned changeBit = 1u << (fileField[1] - '0');
    const char* backupKey = fileField[1] == '1' ? kWinIniBackupKey : kSystemIniBackupKey;
    std::string iniPath =
        fileField[0] == '2' ? installer.paths.windowsDir : installer.paths.systemDir;
    iniPath += '\\';
    iniPath += fileField.substr(3);

    const DWORD attributes = installer.platform.files.GetFileAttributes(iniPath);
    if (attributes == kInvalidFileAttributes || (attributes & kFileAttributeDirectory) != 0)
        return false;
    std::string backupPath;
    // Never edited without a backup (nor one the removal program cannot find): the edit is not
    // made, and the installation has failed.
    if (!RecordPlannedBackup(installer, iniPath) || !BackupFile(installer, iniPath, backupPath)) {
        installer.installationState = InstallationState::Failed;
        return false;
    }
    // The line-by-line form needs no memory for the whole file; when it fails too, the file stays
    // as it was and the installation has failed.
    if (!RewriteIniFile(installer, owner, section, key, removalMode, commentPrefix, backupPath,
                        iniPath, changeBit, backupKey) &&
        !RewriteIniFileByLine(installer, owner, section, key, removalMode, commentPrefix,
                              backupPath, iniPath, changeBit, backupKey)) {
        installer.installationState = InstallationState::Failed;
        DeleteRecorded(installer.platform, backupPath);
    }
    return true;
}

bool RewriteIniFile(Installer& installer, WindowHandle owner, std::string_view section,
                    std::string_view key, std::string_view removalMode,
                    std::string_view commentPrefix, std::string_view backupPath,
                    std::string_view iniPath, unsigned changeBit, const char* backupKey) {
    const std::optional<std::string> bytes = ReadWholeFile(installer.platform.files, backupPath);
    if (!bytes)
        return false;
    const std::string_view text = *bytes;
    std::size_t at = 0;
    auto next = [&text, &at]() -> std::string_view {
        if (at >= text.size())
            return {};
        const std::size_t feed = text.find('\n', at);
        const std::size_t end = feed == std::string_view::npos ? text.size() : feed + 1;
        const std::string_view line = text.substr(at, end - at);
        at = end;
        return line;
    };
    const EditedFile edited =
        WriteEdited(installer, owner, section, key, removalMode, commentPrefix, iniPath, backupPath,
                    next, [] { return false; });
    Settle(installer, edited, backupPath, iniPath, changeBit, backupKey);
    return true;
}

bool RewriteIniFileByLine(Installer& installer, WindowHandle owner, std::string_view section,
                          std::string_view key, std::string_view removalMode,
                          std::string_view commentPrefix, std::string_view backupPath,
                          std::string_view iniPath, unsigned changeBit, const char* backupKey) {
    LzExpand& lz = installer.platform.lz;
    OfStruct of;
    const LzHandle backup = lz.LZOpenFile(backupPath, of, kOfRead);
    if (backup < 0) {
        RecordError(installer.platform, "LZOpenFile", backupPath, of.nErrCode);
        return false;
    }
    FileLineReader reader(lz, backup);
    std::string line;
    auto next = [&reader, &line]() -> std::string_view {
        if (reader.ReadFileLine(line) == 0)
            return {};
        return line;
    };
    const EditedFile edited =
        WriteEdited(installer, owner, section, key, removalMode, commentPrefix, iniPath, backupPath,
                    next, [&reader] { return reader.Failed(); });
    lz.LZClose(backup);
    Settle(installer, edited, backupPath, iniPath, changeBit, backupKey);
    return true;
}

} // namespace tl
