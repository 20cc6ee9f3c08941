// Feeds arbitrary SYSTEM.INI text through the device-line edit and checks what it must never do:
// lose, cut or reorder a line, add more than the new line and the section around it, or change a
// line other than by the one ";" that makes the same line a comment.
#include "copy/system_ini_device.h"

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

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t feed = text.find('\n');
        const std::size_t length = feed == std::string_view::npos ? text.size() : feed + 1;
        lines.push_back(text.substr(0, length));
        text.remove_prefix(length);
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string_view added = "device=X.386";
    tl::IniLineInserter inserter("386Enh", added);
    std::string out;
    for (std::string_view line : Lines(text)) {
        inserter.Feed(line, out);
    }
    inserter.Finish(out);

    // Every old line comes out in order, at most one of them behind ";"; the extra lines are the
    // new line, and at the end a header, an ended last line or an empty line.
    const std::vector<std::string_view> in = Lines(text);
    const std::vector<std::string_view> written = Lines(out);
    std::size_t w = 0;
    int commented = 0;
    int extra = 0;
    const auto same = [](std::string_view out, std::string_view line) {
        // A last line without line end is ended when something is added behind it.
        return out == line || (line.back() != '\n' && out.size() == line.size() + 2 &&
                               out.substr(0, line.size()) == line && out.ends_with("\r\n"));
    };
    for (std::string_view line : in) {
        while (w < written.size() && !same(written[w], line) &&
               !(written[w].size() == line.size() + 1 && written[w][0] == ';' &&
                 written[w].substr(1) == line)) {
            ++extra;
            ++w;
        }
        Check(w < written.size());
        commented += same(written[w], line) ? 0 : 1;
        ++w;
    }
    extra += static_cast<int>(written.size() - w);
    Check(commented <= 1);
    Check(extra <= 3);
    Check(out.find(std::string(added) + "\r\n") != std::string::npos);
    return 0;
}
