#include "state/inf_compact.h"

#include <cstddef>

namespace tl {
namespace {

constexpr char kEndOfFile = '\x1a';

bool IsLineEndBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool EndsComment(char c) {
    return c == '\n' || c == '\r' || c == '\0' || c == kEndOfFile;
}

} // namespace

std::string CompactInf(std::string_view file) {
    std::string out;
    out.reserve(file.size() + file.size() / 16 + kInfEndBytes.size());

    // Scripts end with the line feed of their last line or a 0x1A mark; that byte carries no
    // text, so it is left unexamined. Without such a mark the last byte is ordinary text.
    std::size_t end = file.size();
    if (end > 0 && (file[end - 1] == '\n' || file[end - 1] == kEndOfFile)) {
        --end;
    }

    bool inQuotes = false;
    std::size_t i = 0;
    while (i < end) {
        const char c = file[i];
        switch (c) {
        case '\r':
            ++i;
            break;
        case ' ':
        case '\t':
            if (inQuotes) {
                out.push_back(c);
            }
            ++i;
            break;
        case '"':
            out.push_back(c);
            inQuotes = !inQuotes;
            ++i;
            break;
        case ';':
            // The terminator is left for the loop, so a comment's own line feed ends the line.
            while (i < end && !EndsComment(file[i])) {
                ++i;
            }
            break;
        case '\n': {
            std::size_t next = i + 1;
            while (next < end && IsLineEndBlank(file[next])) {
                ++next;
            }
            // `next` may rest on the unexamined last byte: it still decides the line's end.
            const bool hasNext = next < file.size();
            const char following = hasNext ? file[next] : '\0';
            if (!hasNext || following != ';') {
                out.push_back('\0');
            }
            if (hasNext && following == '[') {
                out.push_back('\0');
            }
            inQuotes = false;
            i = next;
            break;
        }
        default:
            out.push_back(c);
            ++i;
            break;
        }
    }

    out.append(kInfEndBytes);
    return out;
}

} // namespace tl
