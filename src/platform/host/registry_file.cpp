#include "platform/host/registry_file.h"

#include "platform/registry.h"

#include <cstdint>
#include <cstdio>
#include <optional>
#include <vector>

namespace tl::host {

namespace {

constexpr std::string_view kHeader = "REGEDIT4";
constexpr std::string_view kNewLine = "\r\n";
// regedit wraps hex data once a line reaches this many characters (the two blanks that indent a
// continuation line included, the "\" not), which gives 25 bytes to a continuation line.
constexpr std::size_t kHexLineLength = 2 + 25 * 3;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (IsBlank(text.front()) || text.front() == '\r')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (IsBlank(text.back()) || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

// Appends the text in quotes, with \\ and \" escapes. (Appending piece by piece rather than
// concatenating temporaries also keeps GCC 12's -O3 -Wrestrict false alarm away.)
void AppendQuoted(std::string& out, std::string_view text) {
    out += '"';
    for (const char c : text) {
        if (c == '\\' || c == '"') {
            out += '\\';
        }
        out += c;
    }
    out += '"';
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Reads up to maxDigits hex digits; none when there are none or more than that.
std::optional<std::uint32_t> ParseHex(std::string_view text, std::size_t maxDigits) {
    if (text.empty() || text.size() > maxDigits) {
        return std::nullopt;
    }
    std::uint32_t number = 0;
    for (const char c : text) {
        const int digit = HexDigit(c);
        if (digit < 0) {
            return std::nullopt;
        }
        number = number * 16 + static_cast<std::uint32_t>(digit);
    }
    return number;
}

// A quoted text at the start of 'text' ("..." with \\ and \" escapes). On success 'text' is
// left behind the closing quote. Other backslashes stand for themselves.
std::optional<std::string> TakeQuoted(std::string_view& text) {
    if (!text.starts_with('"')) {
        return std::nullopt;
    }
    std::string result;
    for (std::size_t i = 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            text.remove_prefix(i + 1);
            return result;
        }
        if (c == '\\' && i + 1 < text.size() && (text[i + 1] == '\\' || text[i + 1] == '"')) {
            result += text[++i];
            continue;
        }
        result += c;
    }
    return std::nullopt;
}

std::optional<std::string> ParseHexBytes(std::string_view text) {
    std::string bytes;
    text = TrimBlanks(text);
    while (!text.empty()) {
        const std::size_t comma = text.find(',');
        const std::string_view item = TrimBlanks(text.substr(0, comma));
        const auto byte = ParseHex(item, 2);
        if (!byte) {
            // A trailing comma leaves an empty last item, which regedit accepts.
            if (item.empty() && comma == std::string_view::npos) {
                break;
            }
            return std::nullopt;
        }
        bytes += static_cast<char>(*byte);
        if (comma == std::string_view::npos) {
            break;
        }
        text.remove_prefix(comma + 1);
        if (TrimBlanks(text).empty()) {
            break;
        }
    }
    return bytes;
}

struct ParsedData {
    bool remove = false;
    DWORD type = 0;
    std::string data;
};

std::optional<ParsedData> ParseData(std::string_view text) {
    text = TrimBlanks(text);
    if (text == "-") {
        return ParsedData{true, 0, {}};
    }
    if (text.starts_with('"')) {
        auto quoted = TakeQuoted(text);
        if (!quoted || !TrimBlanks(text).empty()) {
            return std::nullopt;
        }
        quoted->push_back('\0');
        return ParsedData{false, kRegSz, std::move(*quoted)};
    }
    if (text.starts_with("dword:")) {
        const auto number = ParseHex(TrimBlanks(text.substr(6)), 8);
        if (!number) {
            return std::nullopt;
        }
        std::string data(4, '\0');
        for (std::size_t i = 0; i < 4; ++i) {
            data[i] = static_cast<char>((*number >> (8 * i)) & 0xFF);
        }
        return ParsedData{false, kRegDword, std::move(data)};
    }
    if (!text.starts_with("hex")) {
        return std::nullopt;
    }
    text.remove_prefix(3);
    DWORD type = kRegBinary;
    if (text.starts_with('(')) {
        const std::size_t close = text.find(')');
        if (close == std::string_view::npos) {
            return std::nullopt;
        }
        const auto number = ParseHex(text.substr(1, close - 1), 8);
        if (!number) {
            return std::nullopt;
        }
        type = *number;
        text.remove_prefix(close + 1);
    }
    if (!text.starts_with(':')) {
        return std::nullopt;
    }
    auto bytes = ParseHexBytes(text.substr(1));
    if (!bytes) {
        return std::nullopt;
    }
    return ParsedData{false, type, std::move(*bytes)};
}

// Splits the text into logical lines: a line that ends in "\" goes on on the next line, whose
// leading blanks are dropped. Each line comes with the number of its first physical line.
struct LogicalLine {
    std::size_t number;
    std::string text;
};

std::vector<LogicalLine> SplitLines(std::string_view text) {
    std::vector<LogicalLine> lines;
    std::size_t number = 0;
    bool continued = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++number;
        line = TrimBlanks(line);
        const bool goesOn = line.ends_with('\\') && !line.starts_with('[');
        if (goesOn) {
            line.remove_suffix(1);
        }
        if (continued) {
            lines.back().text += line;
        } else {
            lines.push_back(LogicalLine{number, std::string(line)});
        }
        continued = goesOn;
    }
    return lines;
}

std::string LineError(std::size_t number, std::string_view message) {
    return "line " + std::to_string(number) + ": " + std::string(message);
}

bool IsPlainString(const RegistryValue& value) {
    if (value.type != kRegSz || value.data.empty() || value.data.back() != '\0') {
        return false;
    }
    const std::string_view text(value.data.data(), value.data.size() - 1);
    return text.find_first_of(std::string_view("\0\r\n", 3)) == std::string_view::npos;
}

} // namespace

bool ParseRegistryText(std::string_view text, RegistryTree& tree, std::string& error) {
    const auto lines = SplitLines(text);
    RegistryKey* key = nullptr;
    bool seenHeader = false;
    for (const auto& [number, line] : lines) {
        if (line.empty() || line.starts_with(';')) {
            continue;
        }
        if (!seenHeader) {
            if (line != kHeader) {
                error = LineError(number, "the file does not begin with REGEDIT4");
                return false;
            }
            seenHeader = true;
            continue;
        }
        if (line.starts_with('[')) {
            const std::size_t close = line.rfind(']');
            if (close == std::string::npos) {
                error = LineError(number, "a key name without its closing ]");
                return false;
            }
            std::string_view path = std::string_view(line).substr(1, close - 1);
            if (path.starts_with('-')) {
                path.remove_prefix(1);
                tree.Remove(path);
                key = nullptr;
                continue;
            }
            if (SplitRegistryPath(path).size() > kMaxRegistryKeyDepth + 1) {
                error = LineError(number, "a key nested deeper than " +
                                              std::to_string(kMaxRegistryKeyDepth) + " levels");
                return false;
            }
            key = tree.Create(path);
            if (key == nullptr) {
                error = LineError(number, "an unknown root key in [" + std::string(path) + "]");
                return false;
            }
            continue;
        }
        if (key == nullptr) {
            error = LineError(number, "a value outside any key");
            return false;
        }
        std::string_view rest = line;
        std::string name;
        if (rest.starts_with('@')) {
            rest.remove_prefix(1);
        } else {
            auto quoted = TakeQuoted(rest);
            if (!quoted) {
                error = LineError(number, "a value name that is not a quoted text or @");
                return false;
            }
            name = std::move(*quoted);
        }
        rest = TrimBlanks(rest);
        if (!rest.starts_with('=')) {
            error = LineError(number, "a value without =");
            return false;
        }
        auto data = ParseData(rest.substr(1));
        if (!data) {
            error = LineError(number, "value data that is not \"text\", dword:, hex: or -");
            return false;
        }
        if (data->remove) {
            key->RemoveValue(name);
        } else {
            key->SetValue(name, data->type, std::move(data->data));
        }
    }
    if (!seenHeader) {
        error = LineError(1, "the file does not begin with REGEDIT4");
        return false;
    }
    return true;
}

std::string FormatRegistryValue(const RegistryValue& value) {
    std::string line;
    if (value.name.empty()) {
        line += '@';
    } else {
        AppendQuoted(line, value.name);
    }
    line += '=';
    if (IsPlainString(value)) {
        AppendQuoted(line, std::string_view(value.data).substr(0, value.data.size() - 1));
        return line;
    }
    if (value.type == kRegDword && value.data.size() == 4) {
        std::uint32_t number = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            number |= static_cast<std::uint32_t>(static_cast<unsigned char>(value.data[i]))
                      << (8 * i);
        }
        char text[16];
        std::snprintf(text, sizeof text, "dword:%08x", number);
        line += text;
        return line;
    }
    char prefix[24];
    if (value.type == kRegBinary) {
        std::snprintf(prefix, sizeof prefix, "hex:");
    } else {
        std::snprintf(prefix, sizeof prefix, "hex(%x):", value.type);
    }
    line += prefix;
    std::size_t column = line.size();
    for (std::size_t i = 0; i < value.data.size(); ++i) {
        char byte[4];
        std::snprintf(byte, sizeof byte, "%02x", static_cast<unsigned char>(value.data[i]));
        line += byte;
        if (i + 1 == value.data.size()) {
            break;
        }
        line += ',';
        column += 3;
        if (column >= kHexLineLength) {
            line += "\\\r\n  ";
            column = 2;
        }
    }
    return line;
}

std::string FormatRegistryText(const RegistryTree& tree) {
    std::string text(kHeader);
    text += kNewLine;
    text += kNewLine;
    tree.Walk([&](const std::string& path, const RegistryKey& key) {
        if (path.find('\\') == std::string::npos && key.Empty()) {
            return;
        }
        text += "[" + path + "]";
        text += kNewLine;
        for (const auto& value : key.Values()) {
            text += FormatRegistryValue(value);
            text += kNewLine;
        }
        text += kNewLine;
    });
    return text;
}

} // namespace tl::host
