#include "state/inf_query.h"

#include <cstddef>

namespace tl {
namespace {

constexpr char kEndOfScript = '\x1a';

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool IsBlankOrQuote(char c) {
    return IsBlank(c) || c == '"';
}
bool IsSeparator(char c) {
    return c == '=' || c == ',';
}

// A compacted buffer with bounds-checked access: any offset past the end reads as NUL, which
// ends every line, so no walk can leave the buffer whatever bytes the file held (or whatever
// offset a caller kept).
class Buffer {
public:
    explicit Buffer(std::string_view bytes) : bytes_(bytes) {}
    char operator[](std::size_t i) const { return i < bytes_.size() ? bytes_[i] : '\0'; }
    std::size_t size() const { return bytes_.size(); }
    // Offset of the first NUL at or after `i` (size() when there is none).
    std::size_t LineEnd(std::size_t i) const {
        const std::size_t nul = bytes_.find('\0', i < bytes_.size() ? i : bytes_.size());
        return nul == std::string_view::npos ? bytes_.size() : nul;
    }
    std::string_view Slice(std::size_t from, std::size_t to) const {
        return bytes_.substr(from, to - from);
    }

private:
    std::string_view bytes_;
};

char Fold(char c) {
    return static_cast<char>(c | 0x20);
}

// Whether `name` matches the text at `at`. A name never matches across the end of a line.
bool NameMatches(const Buffer& buffer, std::size_t at, std::string_view name) {
    if (name.empty()) {
        return false;
    }
    for (std::size_t k = 0; k < name.size(); ++k) {
        const char c = buffer[at + k];
        if (c == '\0' || Fold(c) != Fold(name[k])) {
            return false;
        }
    }
    return true;
}

// The start of the line after the one at `at`, passing every NUL (extra ones before headers
// included). Stops on the end mark.
std::size_t NextLineStart(const Buffer& buffer, std::size_t at) {
    while (at < buffer.size() && buffer[at] != '\0' && buffer[at] != kEndOfScript) {
        ++at;
    }
    while (at < buffer.size() && buffer[at] == '\0') {
        ++at;
    }
    return at;
}

std::optional<std::string_view> ScriptBytes(const SetupScripts& scripts,
                                            std::optional<InfScript> script) {
    if (!script) {
        script = scripts.Current();
    }
    if (!script) {
        return std::nullopt;
    }
    return scripts.Bytes(*script);
}

std::string TrimmedValue(std::string_view value) {
    bool inQuotes = false;
    for (const char c : value) {
        if (c == '"') {
            inQuotes = !inQuotes;
        } else if (!inQuotes && IsSeparator(c)) {
            return std::string{value};
        }
    }
    std::size_t first = 0;
    while (first < value.size() && IsBlankOrQuote(value[first])) {
        ++first;
    }
    std::size_t last = value.size();
    while (last > first && IsBlankOrQuote(value[last - 1])) {
        --last;
    }
    return std::string{value.substr(first, last - first)};
}

} // namespace

std::optional<InfLine> FindInfSection(const SetupScripts& scripts, std::optional<InfScript> script,
                                      std::string_view name) {
    if (!script) {
        script = scripts.Current();
    }
    if (!script) {
        return std::nullopt;
    }
    const auto bytes = scripts.Bytes(*script);
    if (!bytes) {
        return std::nullopt;
    }
    const Buffer buffer{*bytes};
    std::size_t at = 0;
    while (at < buffer.size() && buffer[at] != kEndOfScript) {
        if (buffer[at] == '[' && NameMatches(buffer, at + 1, name) &&
            buffer[at + 1 + name.size()] == ']') {
            const std::size_t first = NextLineStart(buffer, at);
            const char c = buffer[first];
            if (first >= buffer.size() || c == '[' || c == kEndOfScript) {
                return std::nullopt;
            }
            return InfLine{*script, static_cast<std::uint32_t>(first)};
        }
        at = NextLineStart(buffer, at);
    }
    return std::nullopt;
}

bool GetInfKey(const SetupScripts& scripts, std::optional<InfScript> script,
               std::string_view section, std::string_view key, std::string& value) {
    value.clear();
    const auto bytes = ScriptBytes(scripts, script);
    if (!bytes || key.empty()) {
        return false;
    }
    const Buffer buffer{*bytes};
    for (auto line = FindInfSection(scripts, script, section); line;
         line = NextInfLine(scripts, line)) {
        if (!NameMatches(buffer, line->offset, key)) {
            continue;
        }
        std::size_t at = line->offset + key.size();
        while (IsBlank(buffer[at])) {
            ++at;
        }
        if (buffer[at] != '=') {
            continue;
        }
        ++at;
        value = TrimmedValue(buffer.Slice(at, buffer.LineEnd(at)));
        return true;
    }
    return false;
}

bool GetInfDotted(const SetupScripts& scripts, std::string_view name, std::string& value) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) {
        value.clear();
        return false;
    }
    return GetInfKey(scripts, std::nullopt, name.substr(0, dot), name.substr(dot + 1), value);
}

bool GetInfField(const SetupScripts& scripts, std::optional<InfLine> line, int n,
                 std::string& field) {
    if (!line) {
        return false;
    }
    const auto bytes = scripts.Bytes(line->script);
    if (!bytes) {
        return false;
    }
    if (n < 0) {
        field.clear();
        return false;
    }
    const Buffer buffer{*bytes};
    const std::size_t start = line->offset;

    // Where the key ends, if the line has one. Quotes do not protect separators here, but a
    // "=" reached inside quotes does not make the line a key line for fields 1, 2, ...
    std::size_t at = start;
    bool scanInQuotes = false;
    while (buffer[at] != '\0' && !IsSeparator(buffer[at])) {
        if (buffer[at] == '"') {
            scanInQuotes = !scanInQuotes;
        }
        ++at;
    }
    const bool stoppedAtEquals = buffer[at] == '=';

    bool inQuotes = false;
    if (n == 0) {
        if (!stoppedAtEquals) {
            return false;
        }
        at = start;
    } else {
        at = stoppedAtEquals && !scanInQuotes ? at + 1 : start;
        for (int skip = 1; skip < n; ++skip) {
            while (buffer[at] != '\0' && !(!inQuotes && IsSeparator(buffer[at]))) {
                if (buffer[at] == '"') {
                    inQuotes = !inQuotes;
                }
                ++at;
            }
            if (buffer[at] == '\0') {
                field.clear();
                return false;
            }
            ++at;
        }
    }
    while (IsBlank(buffer[at])) {
        ++at;
    }
    field.clear();
    for (; buffer[at] != '\0'; ++at) {
        const char c = buffer[at];
        if (c == '"') {
            inQuotes = !inQuotes;
            continue;
        }
        if (!inQuotes && IsSeparator(c)) {
            break;
        }
        field.push_back(c);
    }
    while (!field.empty() && IsBlankOrQuote(field.back())) {
        field.pop_back();
    }
    return true;
}

std::optional<InfLine> NextInfLine(const SetupScripts& scripts, std::optional<InfLine> line) {
    if (!line) {
        return std::nullopt;
    }
    const auto bytes = scripts.Bytes(line->script);
    if (!bytes) {
        return std::nullopt;
    }
    const Buffer buffer{*bytes};
    // A NUL followed by a blank is part of the line (a NUL byte inside quotes in the file).
    std::size_t at = line->offset;
    while (at < buffer.size() && !(buffer[at] == '\0' && buffer[at + 1] != ' ')) {
        ++at;
    }
    const std::size_t next = at + 1;
    if (next >= buffer.size() || buffer[next] == '\0') {
        return std::nullopt;
    }
    return InfLine{line->script, static_cast<std::uint32_t>(next)};
}

int CountInfLines(const SetupScripts& scripts, std::optional<InfLine> line) {
    if (line && !scripts.Bytes(line->script)) {
        return 0;
    }
    int count = 0;
    for (; line; line = NextInfLine(scripts, line)) {
        ++count;
    }
    return count;
}

std::optional<std::string_view> InfLineText(const SetupScripts& scripts, InfLine line) {
    const auto bytes = scripts.Bytes(line.script);
    if (!bytes || line.offset >= bytes->size()) {
        return std::nullopt;
    }
    const Buffer buffer{*bytes};
    return buffer.Slice(line.offset, buffer.LineEnd(line.offset));
}

} // namespace tl
