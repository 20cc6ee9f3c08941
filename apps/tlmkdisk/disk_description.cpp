#include "disk_description.h"
#include "truetype_font.h"

#include "platform/host/ini_text.h"
#include "platform/host/szdd_compressor.h"
#include "platform/host/version_block_writer.h"
#include "platform/host/version_image_writer.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

namespace tl::tools {
namespace {

constexpr std::string_view kToolSection = "tlmkdisk";
constexpr std::string_view kStringPrefix = "string.";

// Seconds from 1904-01-01 to 1996-01-01, the date every sample font carries, so that the disk
// comes out the same byte for byte whenever it is made.
constexpr std::uint32_t kFontDate = 2903299200u;

std::optional<std::string> ReadWhole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string{std::istreambuf_iterator<char>(in), {}};
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    });
    return text;
}

bool IsKnownKey(const std::string& key) {
    static const std::set<std::string> kKeys = {"image",     "version", "type",  "subtype",
                                                "font",      "style",   "text",  "fontversion",
                                                "copyright", "from",    "lines", "compress"};
    return kKeys.count(Lower(key)) != 0 || Lower(key).rfind(kStringPrefix, 0) == 0;
}

std::vector<std::uint8_t> ToBytes(const std::string& text) {
    return {text.begin(), text.end()};
}

class FileMaker {
public:
    FileMaker(const host::IniText& ini, std::filesystem::path folder)
        : ini_(ini), folder_(std::move(folder)) {}

    // The file's bytes, or an error in `error`.
    std::optional<std::vector<std::uint8_t>> Make(const std::string& section, std::string& error) {
        section_ = section;
        error_.clear();
        std::optional<std::vector<std::uint8_t>> bytes = Build();
        error = error_;
        return bytes;
    }

private:
    std::optional<std::vector<std::uint8_t>> Build() {
        const std::vector<std::string> keys =
            ini_.KeyNames(section_).value_or(std::vector<std::string>{});
        for (const std::string& key : keys) {
            if (!IsKnownKey(key)) {
                return Fail("unknown key " + key);
            }
        }
        const int kinds = Has("image") + Has("font") + Has("text") + Has("from");
        if (kinds != 1) {
            return Fail("needs exactly one of image, font, text, from");
        }
        return Has("image") ? Image() : Has("font") ? Font() : Has("text") ? Text() : From();
    }

    bool Has(std::string_view key) const { return ini_.Get(section_, key).has_value(); }
    std::string Value(std::string_view key) const {
        return ini_.Get(section_, key).value_or(std::string{});
    }
    std::nullopt_t Fail(const std::string& why) {
        error_ = why;
        return std::nullopt;
    }

    std::optional<std::vector<std::uint8_t>> Image() {
        const std::string kind = Lower(Value("image"));
        const std::optional<std::array<WORD, 4>> version =
            host::ParseFourPartVersion(Value("version"));
        if (!version) {
            return Fail("version must be A.B.C.D");
        }
        host::VersionRecord record;
        record.fileVersion = *version;
        record.productVersion = *version;
        const std::string type = Lower(Value("type"));
        if (type == "drv") {
            record.fileType = kVftDrv;
        } else if (type == "vxd") {
            record.fileType = kVftVxd;
        } else if (type == "dll") {
            record.fileType = kVftDll;
        } else if (type == "app") {
            record.fileType = kVftApp;
        } else {
            return Fail("type must be drv, vxd, dll or app");
        }
        const std::string subtype = Lower(Value("subtype"));
        if (subtype == "printer") {
            record.fileSubtype = kVft2DrvPrinter;
        } else if (!subtype.empty()) {
            return Fail("subtype must be printer");
        }
        const std::vector<std::string> keys =
            ini_.KeyNames(section_).value_or(std::vector<std::string>{});
        for (const std::string& key : keys) {
            if (Lower(key).rfind(kStringPrefix, 0) == 0) {
                record.strings.emplace_back(key.substr(kStringPrefix.size()), Value(key));
            }
        }
        if (kind == "ne") {
            record.fileOS = kVosDosWindows16;
            return host::WriteNeImage(record);
        }
        if (kind == "le") {
            record.fileOS = kVosDosWindows32;
            return host::WriteLeImage(record);
        }
        if (kind == "pe") {
            record.fileOS = kVosNtWindows32;
            return host::WritePeImage(record);
        }
        return Fail("image must be ne, le or pe");
    }

    std::optional<std::vector<std::uint8_t>> Font() {
        TrueTypeFontRecipe spec;
        spec.family = Value("font");
        const std::string style = Lower(Value("style"));
        if (style != "" && style != "regular" && style != "bold") {
            return Fail("style must be regular or bold");
        }
        spec.bold = style == "bold";
        if (Has("fontversion")) {
            spec.version = Value("fontversion");
        }
        spec.copyright = Value("copyright");
        spec.created = kFontDate;
        if (spec.family.empty() || spec.family.size() > 31) {
            return Fail("a font family has 1 to 31 characters");
        }
        return WriteTrueTypeFont(spec);
    }

    std::optional<std::vector<std::uint8_t>> Text() {
        std::optional<std::string> text = Unescape(Value("text"));
        if (!text) {
            return Fail("bad escape in text");
        }
        return ToBytes(*text);
    }

    std::optional<std::vector<std::uint8_t>> From() {
        const std::filesystem::path source = folder_ / Value("from");
        std::optional<std::string> text = ReadWhole(source);
        if (!text) {
            return Fail("cannot read " + source.string());
        }
        const std::string lines = Lower(Value("lines"));
        if (lines == "crlf") {
            std::string crlf;
            for (char c : *text) {
                if (c == '\n' && (crlf.empty() || crlf.back() != '\r')) {
                    crlf += '\r';
                }
                crlf += c;
            }
            text = std::move(crlf);
        } else if (!lines.empty()) {
            return Fail("lines must be crlf");
        }
        return ToBytes(*text);
    }

    const host::IniText& ini_;
    std::filesystem::path folder_;
    std::string section_;
    std::string error_;
};

std::vector<std::string> SplitList(const std::string& list) {
    std::vector<std::string> items;
    std::stringstream in(list);
    std::string item;
    while (std::getline(in, item, ',')) {
        const std::string_view trimmed = host::TrimProfileBlanks(item);
        if (!trimmed.empty()) {
            items.emplace_back(trimmed);
        }
    }
    return items;
}

} // namespace

std::optional<std::string> CompressedName(const std::string& path) {
    if (path.empty() || path.back() == '_' || path.back() == '/') {
        return std::nullopt;
    }
    std::string name = path;
    name.back() = '_';
    return name;
}

std::optional<std::string> Unescape(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size()) {
            return std::nullopt;
        }
        switch (text[i]) {
        case 'r':
            out += '\r';
            break;
        case 'n':
            out += '\n';
            break;
        case 'f':
            out += '\f';
            break;
        case 'e':
            out += '\x1B';
            break;
        case '\\':
            out += '\\';
            break;
        case 'x': {
            if (i + 2 >= text.size()) {
                return std::nullopt;
            }
            const std::string hex = text.substr(i + 1, 2);
            if (!std::isxdigit(static_cast<unsigned char>(hex[0])) ||
                !std::isxdigit(static_cast<unsigned char>(hex[1]))) {
                return std::nullopt;
            }
            out += static_cast<char>(std::stoi(hex, nullptr, 16));
            i += 2;
            break;
        }
        default:
            return std::nullopt;
        }
    }
    return out;
}

DiskPlanResult MakeDiskPlan(const std::filesystem::path& description) {
    const std::optional<std::string> text = ReadWhole(description);
    if (!text) {
        return {std::nullopt, "cannot read " + description.string()};
    }
    const host::IniText ini(*text);
    DiskPlan plan;
    plan.kept = SplitList(ini.Get(kToolSection, "keep").value_or(""));
    FileMaker maker(ini, description.parent_path());
    std::set<std::string> stored;
    for (const std::string& section : ini.SectionNames()) {
        if (host::ProfileNameEquals(section, kToolSection)) {
            continue;
        }
        std::string error;
        std::optional<std::vector<std::uint8_t>> bytes = maker.Make(section, error);
        if (!bytes) {
            return {std::nullopt, section + ": " + error};
        }
        std::string path = section;
        if (path.empty() || path.front() == '/' || path.find('\\') != std::string::npos ||
            ("/" + path + "/").find("/../") != std::string::npos) {
            return {std::nullopt, section + ": a path inside the disk, folders separated by /"};
        }
        if (host::ProfileNameEquals(ini.Get(section, "compress").value_or("no"), "yes")) {
            std::optional<std::string> name = CompressedName(path);
            if (!name) {
                return {std::nullopt, section + ": cannot be stored compressed"};
            }
            const BYTE missing = static_cast<BYTE>(path.back());
            *bytes = host::CompressSzdd(*bytes, missing);
            path = *name;
        }
        if (!stored.insert(Lower(path)).second) {
            return {std::nullopt, section + ": stored twice as " + path};
        }
        plan.files.push_back({path, std::move(*bytes)});
    }
    for (const std::string& kept : plan.kept) {
        if (stored.count(Lower(kept)) != 0) {
            return {std::nullopt, std::string(kToolSection) + ": " + kept + " is made and kept"};
        }
    }
    return {std::move(plan), {}};
}

} // namespace tl::tools
