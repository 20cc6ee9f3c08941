// SYSTEM.INI text through the device-line edit: no line lost, cut or reordered; at most one made a
// comment by a ";"; nothing added but the new line and, at the end, a header, an ended last line
// or an empty line.
#include "copy/system_ini_device.h"
#include "fuzz.h"

#include <string>

TL_FUZZ_TARGET(bytes) {
    const std::string_view added = "device=X.386";
    IniLineInserter inserter("386Enh", added);
    std::string out;
    const auto in = Lines(Text(bytes));
    for (std::string_view line : in)
        inserter.Feed(line, out);
    inserter.Finish(out);

    const auto written = Lines(out);
    // A last line without line end is ended when something is added behind it.
    const auto same = [](std::string_view was, std::string_view line) {
        return was == line || (line.back() != '\n' && was.size() == line.size() + 2 &&
                               was.starts_with(line) && was.ends_with("\r\n"));
    };
    const auto comment = [](std::string_view was, std::string_view line) {
        return was.size() == line.size() + 1 && was[0] == ';' && was.substr(1) == line;
    };
    std::size_t w = 0;
    int commented = 0;
    int extra = 0;
    for (std::string_view line : in) {
        for (; w < written.size() && !same(written[w], line) && !comment(written[w], line); ++w)
            ++extra;
        Check(w < written.size());
        commented += same(written[w++], line) ? 0 : 1;
    }
    extra += static_cast<int>(written.size() - w);
    Check(commented <= 1 && extra <= 3);
    Check(out.find(std::string(added) + "\r\n") != std::string::npos);
}
