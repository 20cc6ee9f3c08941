// Feeds arbitrary bytes to the INI text engine as an INI file: it must keep them byte for byte,
// never read out of bounds, and an edit must read back as written while the lines it did not
// touch stay as they were.
#include "platform/host/ini_text.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    tl::host::IniText ini(bytes);
    Check(ini.Bytes() == bytes);

    // Look up every section and key the file names, and list them into small buffers.
    std::vector<char> buffer(1 + size % 17);
    for (const auto& section : ini.SectionNames()) {
        const auto keys = ini.KeyNames(section);
        Check(keys.has_value());
        // (A listed key may still read as missing: an earlier line of the same name without
        // "=" answers first, as on Windows.)
        for (const auto& key : *keys) {
            static_cast<void>(ini.Get(section, key));
        }
        const auto length =
            tl::host::CopyProfileList(*keys, buffer.data(), static_cast<tl::DWORD>(buffer.size()));
        Check(length < buffer.size());
    }
    const auto length =
        tl::host::CopyProfileString(bytes, buffer.data(), static_cast<tl::DWORD>(buffer.size()));
    Check(length < buffer.size() && buffer[length] == '\0');

    // A value taken from the input, without line breaks, is read back as the profile functions
    // read it.
    std::string value(bytes.substr(0, bytes.find_first_of("\r\n")).substr(0, 40));
    const bool hadSection = ini.HasSection("Fz");
    tl::host::IniText edited = ini;
    edited.Set("Fz", "key", value);
    const auto expected = tl::host::StripProfileQuotes(tl::host::TrimProfileBlanks(value));
    Check(edited.Get("fz", "KEY") == std::string(expected));
    if (!hadSection) {
        // A new section is appended: everything before it is kept.
        Check(edited.Bytes().starts_with(bytes));
    }
    edited.DeleteKey("FZ", "Key");
    edited.DeleteSection("fz");
    Check(!edited.HasSection("Fz") || hadSection);
    return 0;
}
