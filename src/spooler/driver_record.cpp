#include "spooler/driver_record.h"

#include <cstdint>

namespace tl {
namespace {

constexpr char kBlockEnd = 0x1A;

// The 16-bit number of a record's number text; none when it holds anything but digits.
std::optional<std::uint16_t> RecordNumber(std::string_view text) {
    if (text.empty()) {
        return std::nullopt;
    }
    std::uint16_t number = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        number = static_cast<std::uint16_t>(number * 10u + static_cast<unsigned>(c - '0'));
    }
    return number;
}

} // namespace

std::optional<std::string_view> FindDriverRecord(std::string_view block, int number) {
    std::size_t pos = 0;
    while (pos < block.size() && block[pos] != kBlockEnd) {
        const std::size_t numberEnd = block.find('\0', pos);
        if (numberEnd == std::string_view::npos) {
            return std::nullopt;
        }
        const std::size_t valueEnd = block.find('\0', numberEnd + 1);
        if (valueEnd == std::string_view::npos) {
            return std::nullopt;
        }
        const auto found = RecordNumber(block.substr(pos, numberEnd - pos));
        if (found && number >= 0 && *found == number) {
            return block.substr(numberEnd + 1, valueEnd - numberEnd - 1);
        }
        pos = valueEnd + 1;
        if (pos < block.size() && block[pos] == '\r') {
            ++pos;
        }
    }
    return std::nullopt;
}

std::string DriverRecordField(std::string_view value, int n) {
    const std::size_t nul = value.find('\0');
    if (nul != std::string_view::npos) {
        value = value.substr(0, nul);
    }
    int counted = 0;
    std::size_t pos = 0;
    while (pos < value.size()) {
        std::size_t end = value.find_first_of(",\r", pos);
        if (end == std::string_view::npos) {
            end = value.size();
        }
        std::string_view field = value.substr(pos, end - pos);
        pos = end + 1;
        if (field.empty()) {
            continue;
        }
        if (++counted != n) {
            continue;
        }
        if (field.front() == '"') {
            field.remove_prefix(1);
            field = field.substr(0, field.find('"'));
        }
        return std::string(field);
    }
    return {};
}

} // namespace tl
