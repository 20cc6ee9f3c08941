#include "startup/inf_tool.h"

#include "state/inf_query.h"
#include "state/inf_scripts.h"

#include <charconv>
#include <optional>
#include <ostream>

namespace tl {
namespace {

constexpr int kFound = 0;
constexpr int kMissing = 1;
constexpr int kBadUsage = 2;
constexpr int kNotLoaded = 2;
constexpr int kEmpty = 3;

constexpr std::string_view kUsage =
    "usage: tlinf COMMAND FILE [ARGUMENTS]\n"
    "Shows a setup script (FILE, a host path) as the installer reads it.\n"
    "\n"
    "  compact FILE                the compacted script\n"
    "  section FILE NAME           the lines of section NAME, one per output line\n"
    "  key FILE SECTION KEY        the value of KEY in SECTION\n"
    "  dotted FILE SECTION.KEY     the same, named as SECTION.KEY\n"
    "  field FILE SECTION LINE N   field N of line LINE of SECTION (both counted from 0)\n"
    "  count FILE SECTION          the number of lines of SECTION (0 when it is missing)\n"
    "\n"
    "Output writes \\ as \\\\, NUL as \\0 and bytes outside 0x20-0x7E as \\xhh.\n"
    "Exit codes: 0 done, 1 not found, 2 bad usage or FILE cannot be loaded, 3 FILE is empty.\n";

struct Command {
    std::string_view name;
    std::size_t arguments; // after FILE
};

constexpr Command kCommands[] = {
    {"compact", 0}, {"section", 1}, {"key", 2}, {"dotted", 1}, {"field", 3}, {"count", 1},
};

std::optional<int> ParseCount(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value < 0) {
        return std::nullopt;
    }
    return value;
}

std::string_view DescribeError(DWORD error) {
    switch (error) {
    case kErrorFileNotFound:
        return "file not found";
    case kErrorPathNotFound:
        return "folder not found";
    case kErrorAccessDenied:
        return "access denied (or not a file)";
    case kErrorSharingViolation:
        return "file in use";
    case kErrorNotEnoughMemory:
        return "too large to hold in memory";
    default:
        return "cannot be read";
    }
}

// The bytes of a line up to the NUL that ends it for NextInfLine (a NUL followed by a blank
// does not), so every byte of the line is shown.
std::string_view WholeLine(std::string_view bytes, InfLine line) {
    std::size_t end = line.offset;
    while (end < bytes.size() &&
           !(bytes[end] == '\0' && (end + 1 >= bytes.size() || bytes[end + 1] != ' '))) {
        ++end;
    }
    return bytes.substr(line.offset, end - line.offset);
}

int PrintValue(bool found, const std::string& value, std::ostream& out) {
    if (!found) {
        return kMissing;
    }
    out << EscapeInfBytes(value) << '\n';
    return kFound;
}

int Run(const Command& command, std::span<const std::string> rest, const SetupScripts& scripts,
        InfScript script, std::ostream& out, std::ostream& err) {
    const std::string_view name = command.name;
    const std::string_view bytes = *scripts.Bytes(script);
    if (name == "compact") {
        out << EscapeInfBytes(bytes) << '\n';
        return kFound;
    }
    if (name == "section") {
        auto line = FindInfSection(scripts, script, rest[0]);
        if (!line) {
            return kMissing;
        }
        for (; line; line = NextInfLine(scripts, line)) {
            out << EscapeInfBytes(WholeLine(bytes, *line)) << '\n';
        }
        return kFound;
    }
    std::string value;
    if (name == "key") {
        return PrintValue(GetInfKey(scripts, script, rest[0], rest[1], value), value, out);
    }
    if (name == "dotted") {
        return PrintValue(GetInfDotted(scripts, rest[0], value), value, out);
    }
    if (name == "count") {
        out << CountInfLines(scripts, FindInfSection(scripts, script, rest[0])) << '\n';
        return kFound;
    }
    // field
    const auto lineNumber = ParseCount(rest[1]);
    const auto fieldNumber = ParseCount(rest[2]);
    if (!lineNumber || !fieldNumber) {
        err << "tlinf: LINE and N are numbers from 0\n" << kUsage;
        return kBadUsage;
    }
    auto line = FindInfSection(scripts, script, rest[0]);
    for (int step = 0; step < *lineNumber && line; ++step) {
        line = NextInfLine(scripts, line);
    }
    return PrintValue(GetInfField(scripts, line, *fieldNumber, value), value, out);
}

} // namespace

std::string EscapeInfBytes(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '\\') {
            out += "\\\\";
        } else if (byte == 0) {
            out += "\\0";
        } else if (byte >= 0x20 && byte <= 0x7E) {
            out.push_back(c);
        } else {
            out += "\\x";
            out.push_back(kHex[byte >> 4]);
            out.push_back(kHex[byte & 0x0F]);
        }
    }
    return out;
}

int RunInfTool(std::span<const std::string> args, FileSystem& files, std::ostream& out,
               std::ostream& err) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        err << kUsage;
        return kFound;
    }
    if (args.empty()) {
        err << kUsage;
        return kBadUsage;
    }
    const Command* command = nullptr;
    for (const Command& candidate : kCommands) {
        if (candidate.name == args[0]) {
            command = &candidate;
        }
    }
    if (!command) {
        err << "tlinf: unknown command '" << args[0] << "'\n" << kUsage;
        return kBadUsage;
    }
    if (args.size() != 2 + command->arguments) {
        err << "tlinf: " << command->name << " takes FILE and " << command->arguments
            << " more argument(s)\n"
            << kUsage;
        return kBadUsage;
    }

    const std::string& path = args[1];
    SetupScripts scripts;
    const InfLoadResult loaded = LoadInf(scripts, files, path);
    if (loaded.status == InfLoadStatus::Empty) {
        err << "tlinf: " << path << ": the file is empty\n";
        return kEmpty;
    }
    if (loaded.status != InfLoadStatus::Loaded) {
        err << "tlinf: " << path << ": cannot load the script: " << DescribeError(loaded.error)
            << " (error " << loaded.error << ")\n";
        return kNotLoaded;
    }
    return Run(*command, args.subspan(2), scripts, loaded.script, out, err);
}

} // namespace tl
