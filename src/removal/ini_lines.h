// The removal's edits of SYSTEM.INI and WIN.INI, line by line: other programs may have changed
// the files since the installation, so nothing is restored from a whole-file backup. The edited
// file is written beside the old one and put in its place by the one safe replace.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tl {

struct Platform;

// Whether both files are there, readable and hold the same bytes.
bool SameFileBytes(const Platform& platform, std::string_view first, std::string_view second);

// The file's lines, each with its line end (the last may have none).
using IniLines = std::vector<std::string>;

enum class IniEditResult { Changed, Unchanged, Missing, Failed };

// Reads `iniPath`, lets `edit` change its lines (true when it changed any), and writes the file
// back when it did.
IniEditResult EditIniLines(const Platform& platform, std::string_view iniPath,
                           const std::function<bool(IniLines&)>& edit);

// The line without its line end and without blanks at either end.
std::string_view LineText(std::string_view line);

// The lines of section `section` (header excluded): [first, last).
struct SectionRange {
    std::size_t first = 0;
    std::size_t last = 0;
    bool found = false;
};
SectionRange FindSection(const IniLines& lines, std::string_view section);

// Takes out the first line of the section that reads `line` (case ignored); true when there was
// one.
bool RemoveSectionLine(IniLines& lines, std::string_view section, std::string_view line);
// Puts `original` in place of the first line of the section that reads `comment` (exactly) and
// takes out the `kept` line right before it (when not empty and there); true when it did.
bool RestoreCommentedLine(IniLines& lines, std::string_view section, std::string_view comment,
                          std::string_view original, std::string_view kept);
// Takes the ";" off the first line of the section that reads ";" + `line` (case ignored).
bool UncommentSectionLine(IniLines& lines, std::string_view section, std::string_view line);
// Takes out the section, its header and its lines; true when it was there.
bool RemoveSection(IniLines& lines, std::string_view section);

} // namespace tl
