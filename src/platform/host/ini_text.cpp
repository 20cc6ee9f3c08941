#include "platform/host/ini_text.h"

#include "text/ansi_text.h"

#include <algorithm>

namespace tl::host {

namespace {

constexpr std::string_view kNewLine = "\r\n";

// The line end of a raw line ("\r\n", "\n" or "" for a last line without one).
std::string_view LineEnd(std::string_view raw) {
    if (raw.ends_with(kNewLine)) {
        return raw.substr(raw.size() - 2);
    }
    if (raw.ends_with('\n')) {
        return raw.substr(raw.size() - 1);
    }
    return {};
}

} // namespace

bool IsProfileBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == 0x1A;
}

std::string_view TrimProfileBlanks(std::string_view text) {
    while (!text.empty() && IsProfileBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsProfileBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool ProfileNameEquals(std::string_view a, std::string_view b) {
    return text::EqualsIgnoreCase(a, b);
}

std::string ProfileNameKey(std::string_view name) {
    return text::UpperAnsi(name);
}

std::string_view StripProfileQuotes(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

DWORD CopyProfileString(std::string_view text, char* buffer, DWORD size) {
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    const std::size_t count = text::CharacterPrefixLength(text, size - 1);
    std::copy_n(text.data(), count, buffer);
    buffer[count] = '\0';
    return static_cast<DWORD>(count);
}

DWORD CopyProfileList(const std::vector<std::string>& names, char* buffer, DWORD size) {
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    std::string joined;
    for (const auto& name : names) {
        joined += name;
        joined += '\0';
    }
    if (joined.size() + 1 <= size) {
        std::copy(joined.begin(), joined.end(), buffer);
        buffer[joined.size()] = '\0';
        // An empty list is a single NUL; give it the second one too when there is room.
        if (joined.empty() && size >= 2) {
            buffer[1] = '\0';
        }
        return static_cast<DWORD>(joined.size());
    }
    if (size == 1) {
        buffer[0] = '\0';
        return 0;
    }
    std::copy_n(joined.data(), size - 2, buffer);
    buffer[size - 2] = '\0';
    buffer[size - 1] = '\0';
    return size - 2;
}

IniText::IniText(std::string_view bytes) {
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        const std::size_t length = end == std::string_view::npos ? bytes.size() : end + 1;
        lines_.push_back(ParseLine(std::string(bytes.substr(0, length))));
        bytes.remove_prefix(length);
    }
}

IniText::Line IniText::ParseLine(std::string raw) {
    Line line;
    line.raw = std::move(raw);
    const std::string_view text = TrimProfileBlanks(line.raw);
    if (text.empty() || text.front() == ';') {
        return line;
    }
    if (text.front() == '[') {
        const std::size_t close = text.rfind(']');
        if (close != std::string_view::npos) {
            line.kind = Kind::Section;
            line.name = TrimProfileBlanks(text.substr(1, close - 1));
            return line;
        }
    }
    line.kind = Kind::Key;
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        line.name = text;
        return line;
    }
    line.name = TrimProfileBlanks(text.substr(0, equals));
    line.value = std::string(TrimProfileBlanks(text.substr(equals + 1)));
    return line;
}

std::string IniText::Bytes() const {
    std::string bytes;
    for (const auto& line : lines_) {
        bytes += line.raw;
    }
    return bytes;
}

std::optional<IniText::Range> IniText::FindSection(std::string_view section) const {
    section = TrimProfileBlanks(section);
    if (section.empty()) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind != Kind::Section || !ProfileNameEquals(lines_[i].name, section)) {
            continue;
        }
        std::size_t end = i + 1;
        while (end < lines_.size() && lines_[end].kind != Kind::Section) {
            ++end;
        }
        return Range{i, i + 1, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> IniText::FindKey(const Range& range, std::string_view key) const {
    key = TrimProfileBlanks(key);
    if (key.empty()) {
        return std::nullopt;
    }
    for (std::size_t i = range.first; i < range.end; ++i) {
        if (lines_[i].kind == Kind::Key && ProfileNameEquals(lines_[i].name, key)) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::string> IniText::Get(std::string_view section, std::string_view key) const {
    const auto range = FindSection(section);
    if (!range) {
        return std::nullopt;
    }
    const auto index = FindKey(*range, key);
    if (!index || !lines_[*index].value) {
        return std::nullopt;
    }
    return std::string(StripProfileQuotes(*lines_[*index].value));
}

bool IniText::HasSection(std::string_view section) const {
    return FindSection(section).has_value();
}

std::vector<std::string> IniText::SectionNames() const {
    std::vector<std::string> names;
    for (const auto& line : lines_) {
        if (line.kind == Kind::Section && !line.name.empty()) {
            names.push_back(line.name);
        }
    }
    return names;
}

std::optional<std::vector<std::string>> IniText::KeyNames(std::string_view section) const {
    const auto range = FindSection(section);
    if (!range) {
        return std::nullopt;
    }
    std::vector<std::string> names;
    for (std::size_t i = range->first; i < range->end; ++i) {
        if (lines_[i].kind == Kind::Key && lines_[i].value && !lines_[i].name.empty()) {
            names.push_back(lines_[i].name);
        }
    }
    return names;
}

void IniText::EnsureLastLineEnded() {
    if (!lines_.empty() && LineEnd(lines_.back().raw).empty()) {
        lines_.back().raw += kNewLine;
    }
}

bool IniText::Set(std::string_view section, std::string_view key, std::string_view value) {
    const bool changed = SetLine(section, key, value);
    // A value with a line break in it is written as it is, as Windows writes it; read back, it
    // is more than one line, so the lines are taken apart again.
    if (changed && value.find('\n') != std::string_view::npos) {
        *this = IniText(Bytes());
    }
    return changed;
}

bool IniText::SetLine(std::string_view section, std::string_view key, std::string_view value) {
    section = TrimProfileBlanks(section);
    key = TrimProfileBlanks(key);
    if (section.empty() || key.empty()) {
        return false;
    }
    while (!value.empty() && IsProfileBlank(value.front())) {
        value.remove_prefix(1);
    }

    const auto range = FindSection(section);
    if (!range) {
        EnsureLastLineEnded();
        if (!lines_.empty() && !TrimProfileBlanks(lines_.back().raw).empty()) {
            lines_.push_back(ParseLine(std::string(kNewLine)));
        }
        lines_.push_back(ParseLine("[" + std::string(section) + "]" + std::string(kNewLine)));
        lines_.push_back(
            ParseLine(std::string(key) + "=" + std::string(value) + std::string(kNewLine)));
        return true;
    }

    if (const auto index = FindKey(*range, key)) {
        Line& line = lines_[*index];
        if (line.value && *line.value == value) {
            return false;
        }
        line = ParseLine(line.name + "=" + std::string(value) + std::string(LineEnd(line.raw)));
        return true;
    }

    // After the last line of the section that is not blank (the header at least), so that the
    // blank lines that separate sections stay where they are.
    std::size_t after = range->header;
    for (std::size_t i = range->first; i < range->end; ++i) {
        if (!TrimProfileBlanks(lines_[i].raw).empty()) {
            after = i;
        }
    }
    if (LineEnd(lines_[after].raw).empty()) {
        lines_[after].raw += kNewLine;
    }
    const auto position = lines_.begin() + static_cast<std::ptrdiff_t>(after + 1);
    lines_.insert(position,
                  ParseLine(std::string(key) + "=" + std::string(value) + std::string(kNewLine)));
    return true;
}

bool IniText::DeleteKey(std::string_view section, std::string_view key) {
    const auto range = FindSection(section);
    if (!range) {
        return false;
    }
    const auto index = FindKey(*range, key);
    if (!index) {
        return false;
    }
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*index));
    return true;
}

bool IniText::DeleteSection(std::string_view section) {
    const auto range = FindSection(section);
    if (!range) {
        return false;
    }
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(range->header),
                 lines_.begin() + static_cast<std::ptrdiff_t>(range->end));
    return true;
}

} // namespace tl::host
