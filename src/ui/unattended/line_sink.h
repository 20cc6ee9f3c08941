// Where the transcript's lines go. The transcript writes through this and not through a
// std::ostream, so the Windows program, which writes its transcript to a file, links none of the
// iostreams and locale machinery (a few hundred kilobytes on its install disk).
#pragma once

#include <string_view>

namespace tl::ui {

class LineSink {
public:
    // Writes `line` and a line end, and hands both on at once, so a run that stops keeps every
    // line written before.
    virtual void WriteLine(std::string_view line) = 0;

protected:
    ~LineSink() = default;
};

// Lines that go nowhere: a run without a transcript.
class DiscardedLines final : public LineSink {
public:
    void WriteLine(std::string_view) override {}
};

} // namespace tl::ui
