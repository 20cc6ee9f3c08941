#include "removal/ini_lines.h"

#include "copy/safe_replace.h"
#include "platform/error_event.h"
#include "platform/file_system.h"
#include "platform/platform.h"
#include "text/ansi_text.h"

#include <algorithm>

namespace tl {

namespace {

constexpr DWORD kMaxIniFile = 16u * 1024u * 1024u;
constexpr DWORD kPiece = 32768;

std::string_view Trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool IsHeader(std::string_view line) {
    const std::string_view text = LineText(line);
    return !text.empty() && text.front() == '[';
}

std::string_view HeaderName(std::string_view line) {
    std::string_view text = LineText(line).substr(1);
    text = text.substr(0, std::min(text.find(']'), text.size()));
    return Trim(text);
}

enum class ReadResult { Read, Missing, Failed };

ReadResult ReadWhole(const Platform& platform, std::string_view path, std::string& bytes) {
    FileSystem& files = platform.files;
    const FileHandle file = files.CreateFile(path, kGenericRead, kFileShareRead, kOpenExisting);
    if (!file) {
        const DWORD error = files.GetLastError();
        if (error == kErrorFileNotFound || error == kErrorPathNotFound)
            return ReadResult::Missing;
        RecordError(platform, "CreateFile", path, error);
        return ReadResult::Failed;
    }
    const DWORD size = files.GetFileSize(file);
    if (size == kInvalidFileSize || size > kMaxIniFile) {
        files.CloseHandle(file);
        RecordError(platform, "GetFileSize", path, kErrorNotEnoughMemory);
        return ReadResult::Failed;
    }
    bytes.assign(size, '\0');
    DWORD total = 0;
    while (total < size) {
        DWORD read = 0;
        if (!files.ReadFile(file, bytes.data() + total, std::min(kPiece, size - total), &read)) {
            RecordError(platform, "ReadFile", path, files.GetLastError());
            files.CloseHandle(file);
            return ReadResult::Failed;
        }
        if (read == 0)
            break;
        total += read;
    }
    files.CloseHandle(file);
    bytes.resize(total);
    return ReadResult::Read;
}

bool WriteWhole(const Platform& platform, std::string_view path, std::string_view bytes) {
    FileSystem& files = platform.files;
    const FileHandle file = files.CreateFile(path, kGenericWrite, kFileShareNone, kCreateAlways);
    if (!file) {
        RecordError(platform, "CreateFile", path, files.GetLastError());
        return false;
    }
    DWORD written = 0;
    const bool whole =
        files.WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written) &&
        written == bytes.size();
    if (!whole)
        RecordError(platform, "WriteFile", path, files.GetLastError());
    files.CloseHandle(file);
    if (!whole)
        files.DeleteFile(path);
    return whole;
}

// The index of the first line in the section that `matches`; `range.last` when none.
template <typename Match>
std::size_t FindInSection(const IniLines& lines, const SectionRange& range, Match matches) {
    for (std::size_t i = range.first; i < range.last; ++i) {
        if (matches(LineText(lines[i])))
            return i;
    }
    return range.last;
}

// `replacement` with the line end of `line`.
std::string WithLineEnd(std::string_view replacement, std::string_view line) {
    const std::size_t end = std::min(line.find_first_of("\r\n"), line.size());
    return std::string(replacement) + std::string(line.substr(end));
}

} // namespace

bool SameFileBytes(const Platform& platform, std::string_view first, std::string_view second) {
    std::string a;
    std::string b;
    return ReadWhole(platform, first, a) == ReadResult::Read &&
           ReadWhole(platform, second, b) == ReadResult::Read && a == b;
}

std::string_view LineText(std::string_view line) {
    return Trim(line.substr(0, std::min(line.find_first_of("\r\n"), line.size())));
}

SectionRange FindSection(const IniLines& lines, std::string_view section) {
    SectionRange range;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!IsHeader(lines[i]))
            continue;
        if (range.found) {
            range.last = i;
            return range;
        }
        if (text::EqualsIgnoreCase(HeaderName(lines[i]), section)) {
            range.found = true;
            range.first = i + 1;
        }
    }
    range.last = lines.size();
    return range;
}

bool RemoveSectionLine(IniLines& lines, std::string_view section, std::string_view line) {
    const SectionRange range = FindSection(lines, section);
    if (!range.found)
        return false;
    const std::size_t at = FindInSection(
        lines, range, [line](std::string_view text) { return text::EqualsIgnoreCase(text, line); });
    if (at == range.last)
        return false;
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(at));
    return true;
}

bool UncommentSectionLine(IniLines& lines, std::string_view section, std::string_view line) {
    const SectionRange range = FindSection(lines, section);
    if (!range.found)
        return false;
    const std::size_t at = FindInSection(lines, range, [line](std::string_view text) {
        return text.size() == line.size() + 1 && text.front() == ';' &&
               text::EqualsIgnoreCase(text.substr(1), line);
    });
    if (at == range.last)
        return false;
    const std::size_t semicolon = lines[at].find(';');
    lines[at].erase(semicolon, 1);
    return true;
}

bool RestoreCommentedLine(IniLines& lines, std::string_view section, std::string_view comment,
                          std::string_view original, std::string_view kept) {
    const SectionRange range = FindSection(lines, section);
    if (!range.found)
        return false;
    const std::string_view wanted = LineText(comment);
    const std::size_t at =
        FindInSection(lines, range, [wanted](std::string_view text) { return text == wanted; });
    if (at == range.last)
        return false;
    lines[at] = WithLineEnd(original, lines[at]);
    if (!kept.empty() && at > range.first && LineText(lines[at - 1]) == LineText(kept))
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(at - 1));
    return true;
}

bool RemoveSection(IniLines& lines, std::string_view section) {
    const SectionRange range = FindSection(lines, section);
    if (!range.found)
        return false;
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(range.first - 1),
                lines.begin() + static_cast<std::ptrdiff_t>(range.last));
    return true;
}

IniEditResult EditIniLines(const Platform& platform, std::string_view iniPath,
                           const std::function<bool(IniLines&)>& edit) {
    std::string bytes;
    const ReadResult read = ReadWhole(platform, iniPath, bytes);
    if (read == ReadResult::Missing)
        return IniEditResult::Missing;
    if (read == ReadResult::Failed)
        return IniEditResult::Failed;
    IniLines lines;
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t feed = bytes.find('\n', at);
        const std::size_t end = feed == std::string::npos ? bytes.size() : feed + 1;
        lines.push_back(bytes.substr(at, end - at));
        at = end;
    }
    if (!edit(lines))
        return IniEditResult::Unchanged;
    std::string edited;
    for (const std::string& line : lines)
        edited += line;
    const std::string temporary = std::string(iniPath) + ".TMP";
    if (!WriteWhole(platform, temporary, edited))
        return IniEditResult::Failed;
    if (SafeReplace(platform, temporary, iniPath) != ReplaceOutcome::Replaced) {
        platform.files.DeleteFile(temporary);
        return IniEditResult::Failed;
    }
    return IniEditResult::Changed;
}

} // namespace tl
