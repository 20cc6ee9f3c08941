// Feeds arbitrary bytes to the INI line editor as a file: every line must come out unchanged
// except at most one, which becomes its shortened form (or nothing) followed by the comment line
// holding the line as it was; the user is asked at most once.
#include "sysfiles/ini_edit.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::uint8_t choice = data[0];
    std::string_view file(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::string_view spec = (choice & 1) != 0 ? "1:X.386" : "0:X.386";
    const bool remove = (choice & 2) != 0;

    int questions = 0;
    tl::IniLineEditor editor("386Enh", "device", spec, "P", [&questions, remove] {
        ++questions;
        return remove;
    });
    int edited = 0;
    while (!file.empty()) {
        const std::size_t feed = file.find('\n');
        const std::size_t end = feed == std::string_view::npos ? file.size() : feed + 1;
        const std::string_view line = file.substr(0, end);
        file.remove_prefix(end);
        std::string out;
        editor.Feed(line, out);
        if (out == line)
            continue;
        ++edited;
        const std::string comment = ";P " + std::string(line);
        Check(out.size() >= comment.size());
        Check(out.compare(out.size() - comment.size(), comment.size(), comment) == 0);
        Check(out.size() - comment.size() <= line.size() + 2);
    }
    Check(questions <= 1);
    Check(edited <= questions);
    Check((edited == 1) == (editor.GetState() == tl::IniLineEditor::State::Changed));
    return 0;
}
