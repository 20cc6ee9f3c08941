// The INI line editor on arbitrary lines: all come out unchanged but at most one, which becomes its
// shortened form (or nothing) followed by the comment holding the line as it was; the user is
// asked at most once. The first byte chooses the file field's change bit and the user's answer.
#include "sysfiles/ini_edit.h"
#include "fuzz.h"

#include <string>

TL_FUZZ_TARGET(bytes) {
    if (bytes.empty())
        return;
    const std::uint8_t choice = bytes[0];
    const bool remove = (choice & 2) != 0;
    int questions = 0;
    IniLineEditor editor("386Enh", "device", (choice & 1) != 0 ? "1:X.386" : "0:X.386", "P",
                         [&questions, remove] {
                             ++questions;
                             return remove;
                         });
    int edited = 0;
    for (std::string_view line : Lines(Text(bytes.subspan(1)))) {
        std::string out;
        editor.Feed(line, out);
        if (out == line)
            continue;
        ++edited;
        const std::string comment = ";P " + std::string(line);
        Check(out.ends_with(comment) && out.size() - comment.size() <= line.size() + 2);
    }
    Check(questions <= 1 && edited <= questions);
    Check((edited == 1) == (editor.GetState() == IniLineEditor::State::Changed));
}
