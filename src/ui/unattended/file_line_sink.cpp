#include "ui/unattended/file_line_sink.h"

namespace tl::ui {

void FileLineSink::WriteLine(std::string_view line) {
    std::fwrite(line.data(), 1, line.size(), file_);
    std::fputc('\n', file_);
    std::fflush(file_);
}

} // namespace tl::ui
