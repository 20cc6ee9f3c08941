// Transcript lines into a std::ostream: the host programs and the tests. Header-only, so only the
// programs that use it link the iostreams.
#pragma once

#include "ui/unattended/line_sink.h"

#include <ostream>

namespace tl::ui {

class StreamLineSink final : public LineSink {
public:
    explicit StreamLineSink(std::ostream& out) : out_(out) {}

    void WriteLine(std::string_view line) override {
        out_ << line << '\n';
        out_.flush();
    }

private:
    std::ostream& out_;
};

} // namespace tl::ui
