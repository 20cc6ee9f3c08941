#include "resources/string_table.h"

#include "resources/string_table_parser.h"
#include "text/ansi_text.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace tl {
namespace {

#include "resources/string_table_source.inc"

struct Entry {
    std::uint16_t id = 0;
    std::uint32_t offset = 0;
    std::uint32_t size = 0;
};

template <std::size_t Entries, std::size_t Bytes> struct Table {
    std::array<Entry, Entries> entries{};
    std::array<char, Bytes> bytes{};
};

template <std::size_t Entries, std::size_t Bytes> struct FillingSink {
    Table<Entries, Bytes>& table;
    std::size_t entry = 0; // one past the entry being filled
    std::uint32_t used = 0;

    // The guards keep a malformed source down to the one diagnostic of the check below.
    constexpr void Begin(std::uint16_t id) {
        if (entry < Entries) {
            table.entries[entry++] = Entry{id, used, 0};
        }
    }
    constexpr void Put(unsigned char byte) {
        if (entry == 0 || used >= Bytes) {
            return;
        }
        table.bytes[used++] = static_cast<char>(byte);
        ++table.entries[entry - 1].size;
    }
};

constexpr std::span<const unsigned char> kSource{kStringTableSource};
constexpr strings::SourceSummary kSummary = strings::SummarizeStringSource(kSource);

// A malformed source stops the build here; the compiler's message names the line and the fault.
template <std::size_t Line, strings::SourceError Error> constexpr bool SourceLineIsWellFormed() {
    static_assert(Error == strings::SourceError::kNone,
                  "the string table source has a malformed line (see the template arguments)");
    return true;
}
static_assert(SourceLineIsWellFormed<kSummary.errorLine, kSummary.error>());

constexpr auto BuildTable() {
    Table<kSummary.entries, kSummary.bytes> table;
    FillingSink<kSummary.entries, kSummary.bytes> sink{table};
    strings::ParseStringSource(kSource, sink);
    return table;
}

constexpr auto kTable = BuildTable();

const Entry* FindEntry(unsigned id) {
    const auto& entries = kTable.entries;
    const auto* found = std::lower_bound(entries.begin(), entries.end(), id,
                                         [](const Entry& e, unsigned key) { return e.id < key; });
    if (found == entries.end() || found->id != id) {
        return nullptr;
    }
    return found;
}

} // namespace

std::optional<std::string_view> LookupStringBytes(unsigned id) {
    const Entry* entry = FindEntry(id);
    if (entry == nullptr) {
        return std::nullopt;
    }
    return std::string_view(kTable.bytes.data() + entry->offset, entry->size);
}

std::optional<std::string_view> LookupString(unsigned id) {
    auto bytes = LookupStringBytes(id);
    if (!bytes) {
        return std::nullopt;
    }
    return bytes->substr(0, bytes->find('\0'));
}

std::size_t LoadStringInto(unsigned id, std::span<char> buffer) {
    if (buffer.empty()) {
        return 0;
    }
    const std::string_view text = LookupString(id).value_or(std::string_view{});
    const std::size_t count = text::CharacterPrefixLength(text, buffer.size() - 1);
    std::copy_n(text.begin(), count, buffer.begin());
    buffer[count] = '\0';
    return count;
}

std::vector<unsigned> StringTableIds() {
    std::vector<unsigned> ids;
    ids.reserve(kTable.entries.size());
    for (const Entry& entry : kTable.entries) {
        ids.push_back(entry.id);
    }
    return ids;
}

} // namespace tl
