// The INI text engine on arbitrary bytes: kept byte for byte, lists fit small buffers, and an edit
// reads back as written while the lines it did not touch stay as they were. The same bytes as
// machine.ini give exactly one of a configuration and a message.
#include "platform/host/ini_text.h"
#include "fuzz.h"
#include "platform/host/iconv_code_page.h"
#include "platform/host/machine_config.h"

#include <string>

TL_FUZZ_TARGET(bytes) {
    const std::string_view text = Text(bytes);
    host::IniText ini(text);
    Check(ini.Bytes() == text);

    std::vector<char> buffer(1 + text.size() % 17);
    const auto bufferSize = static_cast<DWORD>(buffer.size());
    for (const auto& section : ini.SectionNames()) {
        const auto keys = ini.KeyNames(section);
        Check(keys.has_value());
        // A listed key may still read as missing: an earlier line of that name without "="
        // answers first, as on Windows.
        for (const auto& key : *keys)
            static_cast<void>(ini.Get(section, key));
        Check(host::CopyProfileList(*keys, buffer.data(), bufferSize) < buffer.size());
    }
    const auto length = host::CopyProfileString(text, buffer.data(), bufferSize);
    Check(length < buffer.size() && buffer[length] == '\0');

    // A value taken from the input, without line breaks, reads back as the profile functions read.
    const std::string value(text.substr(0, text.find_first_of("\r\n")).substr(0, 40));
    const bool hadSection = ini.HasSection("Fz");
    host::IniText edited = ini;
    edited.Set("Fz", "key", value);
    const auto expected = host::StripProfileQuotes(host::TrimProfileBlanks(value));
    Check(edited.Get("fz", "KEY") == std::string(expected));
    Check(hadSection || edited.Bytes().starts_with(text)); // a new section is appended
    edited.DeleteKey("FZ", "Key");
    edited.DeleteSection("fz");
    Check(!edited.HasSection("Fz") || hadSection);

    static const host::IconvCodePage codePage;
    // No drive folders there: [Drives] entries name missing folders, reported like any mistake.
    static const auto none = std::filesystem::temp_directory_path() / "tl-fuzz-no-machine";
    const auto machine = host::ParseMachineIni(text, none, codePage);
    Check(machine.config.has_value() != machine.error.empty());
}
