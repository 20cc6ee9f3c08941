// Reader of the string table's source text, usable at compile time.
//
// The source is the text of resources/strings/*.txt after its conversion to code page 949: one
// string a line, `id "text"`, ids ascending, with the escapes \n, \", \\ and \0 inside the quotes.
// Reading it byte by byte is safe in CP949: the second byte of a double-byte character is never a
// control character, a double quote or a backslash.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace tl::strings {

// What can be wrong with a line of the source.
enum class SourceError {
    kNone,
    kBadId,            // the line does not begin with a decimal id
    kIdTooLarge,       // string ids are 16-bit
    kIdNotAscending,   // ids must ascend, each used once
    kMissingBlank,     // the id must be followed by exactly one blank
    kMissingQuote,     // the text must begin with a double quote
    kUnknownEscape,    // only \n, \", \\ and \0 are escapes
    kControlByte,      // control characters inside a text must be written as escapes
    kUnterminatedText, // the closing double quote is missing
    kTrailingText,     // something follows the closing double quote
};

struct SourceSummary {
    std::size_t entries = 0; // strings defined
    std::size_t bytes = 0;   // bytes of all texts together, escapes resolved
    SourceError error = SourceError::kNone;
    std::size_t errorLine = 0; // 1-based line of the first error; 0 when there is none
};

inline constexpr std::uint32_t kMaxStringId = 0xFFFF;

// Reads `source` and reports each string to `sink`: sink.Begin(id) once per string, then
// sink.Put(byte) for every byte of its text. Stops at the first error, which the summary names.
template <class Sink>
constexpr SourceSummary ParseStringSource(std::span<const unsigned char> source, Sink& sink) {
    SourceSummary summary;
    std::size_t pos = 0;
    std::size_t line = 0;
    std::uint32_t previousId = 0;
    bool haveId = false;
    const std::size_t size = source.size();

    auto fail = [&](SourceError error) {
        summary.error = error;
        summary.errorLine = line;
        return summary;
    };

    while (pos < size) {
        ++line;
        std::size_t end = pos;
        while (end < size && source[end] != '\n') {
            ++end;
        }
        const std::size_t next = end < size ? end + 1 : end;
        // A checkout with CR LF line ends reads like one with LF alone.
        if (end > pos && source[end - 1] == '\r') {
            --end;
        }
        if (end == pos || source[pos] == '#') {
            pos = next;
            continue;
        }

        std::size_t at = pos;
        std::uint32_t id = 0;
        while (at < end && source[at] >= '0' && source[at] <= '9') {
            id = id * 10 + static_cast<std::uint32_t>(source[at] - '0');
            if (id > kMaxStringId) {
                return fail(SourceError::kIdTooLarge);
            }
            ++at;
        }
        if (at == pos) {
            return fail(SourceError::kBadId);
        }
        if (haveId && id <= previousId) {
            return fail(SourceError::kIdNotAscending);
        }
        if (at >= end || source[at] != ' ') {
            return fail(SourceError::kMissingBlank);
        }
        ++at;
        if (at >= end || source[at] != '"') {
            return fail(SourceError::kMissingQuote);
        }
        ++at;

        sink.Begin(static_cast<std::uint16_t>(id));
        bool closed = false;
        while (at < end) {
            unsigned char byte = source[at++];
            if (byte == '"') {
                closed = true;
                break;
            }
            if (byte < 0x20 || byte == 0x7F) {
                return fail(SourceError::kControlByte);
            }
            if (byte == '\\') {
                if (at >= end) {
                    return fail(SourceError::kUnterminatedText);
                }
                switch (source[at++]) {
                case 'n':
                    byte = '\n';
                    break;
                case '"':
                    byte = '"';
                    break;
                case '\\':
                    byte = '\\';
                    break;
                case '0':
                    byte = 0;
                    break;
                default:
                    return fail(SourceError::kUnknownEscape);
                }
            }
            sink.Put(byte);
            ++summary.bytes;
        }
        if (!closed) {
            return fail(SourceError::kUnterminatedText);
        }
        if (at != end) {
            return fail(SourceError::kTrailingText);
        }
        ++summary.entries;
        previousId = id;
        haveId = true;
        pos = next;
    }
    return summary;
}

// A sink that only counts; the summary says how much room the strings need.
struct CountingSink {
    constexpr void Begin(std::uint16_t) {}
    constexpr void Put(unsigned char) {}
};

constexpr SourceSummary SummarizeStringSource(std::span<const unsigned char> source) {
    CountingSink sink;
    return ParseStringSource(source, sink);
}

} // namespace tl::strings
