// Transcript lines into a C stdio file, flushed line by line: the Windows program's transcript.
#pragma once

#include "ui/unattended/line_sink.h"

#include <cstdio>

namespace tl::ui {

class FileLineSink final : public LineSink {
public:
    // Writes to `file`, which stays the caller's to close.
    explicit FileLineSink(std::FILE* file) : file_(file) {}

    void WriteLine(std::string_view line) override;

private:
    std::FILE* file_;
};

} // namespace tl::ui
