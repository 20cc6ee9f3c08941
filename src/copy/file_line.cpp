#include "copy/file_line.h"

#include <algorithm>

namespace tl {

bool FileLineReader::Fill() {
    if (atEnd_ || failed_) {
        return false;
    }
    const INT read = lz_.LZRead(file_, buffer_.data(), static_cast<INT>(buffer_.size()));
    if (read < 0) {
        failed_ = true;
        return false;
    }
    if (read == 0) {
        atEnd_ = true;
        return false;
    }
    pos_ = 0;
    end_ = static_cast<std::size_t>(read);
    return true;
}

std::size_t FileLineReader::ReadFileLine(std::string& line) {
    line.clear();
    while (pos_ < end_ || Fill()) {
        const auto first = buffer_.begin() + static_cast<std::ptrdiff_t>(pos_);
        const auto last = buffer_.begin() + static_cast<std::ptrdiff_t>(end_);
        const auto feed = std::find(first, last, '\n');
        const auto stop = feed == last ? last : feed + 1;
        line.append(first, stop);
        pos_ = static_cast<std::size_t>(stop - buffer_.begin());
        if (feed != last) {
            break;
        }
    }
    if (failed_) {
        line.clear();
    }
    return line.size();
}

namespace {
constexpr std::size_t kWriteBlock = 4096;
} // namespace

void FileLineWriter::Write(std::string_view text) {
    if (text.empty()) {
        return;
    }
    pending_.append(text);
    if (pending_.size() >= kWriteBlock) {
        Flush();
    }
}

bool FileLineWriter::Flush() {
    // A long line can make the buffer large; hand it over in pieces a 32-bit count can hold.
    for (std::size_t done = 0; !failed_ && done < pending_.size();) {
        const UINT size = static_cast<UINT>(std::min(pending_.size() - done, kWriteBlock * 256));
        failed_ = lz_.LWrite(file_, pending_.data() + done, size) != size;
        done += size;
    }
    pending_.clear();
    return !failed_;
}

} // namespace tl
