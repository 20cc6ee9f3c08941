// Reading a text file line by line through the LZ port, as the INI rewriting does.
#pragma once

#include "platform/lz.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace tl {

// Reads an open LZ file (expanded when it is compressed) in blocks and hands it out line by line.
// A line keeps its line feed (and the CR before it); a last line without one ends at the end of
// the file. Lines come out whole whatever their length, so a long line is never cut into pieces
// that would each be taken for a line of their own. The reader does not close the file.
class FileLineReader {
public:
    FileLineReader(LzExpand& lz, LzHandle file) : lz_(lz), file_(file) {}
    FileLineReader(const FileLineReader&) = delete;
    FileLineReader& operator=(const FileLineReader&) = delete;

    // The next line into `line`; the number of bytes it holds, 0 at the end of the file or once a
    // read has failed.
    std::size_t ReadFileLine(std::string& line);

    // A read failed: what was handed out so far is not the whole file.
    bool Failed() const { return failed_; }

private:
    bool Fill();

    LzExpand& lz_;
    LzHandle file_;
    std::array<char, 4096> buffer_{};
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    bool atEnd_ = false;
    bool failed_ = false;
};

// Writes text to a file opened for writing through the LZ port, in blocks. After a failed write
// the writer writes nothing more and says so; the caller then throws the file away.
class FileLineWriter {
public:
    FileLineWriter(LzExpand& lz, LzHandle file) : lz_(lz), file_(file) {}
    FileLineWriter(const FileLineWriter&) = delete;
    FileLineWriter& operator=(const FileLineWriter&) = delete;

    void Write(std::string_view text);
    // Writes what is still buffered; false when any write failed.
    bool Flush();
    bool Failed() const { return failed_; }

private:
    LzExpand& lz_;
    LzHandle file_;
    std::string pending_;
    bool failed_ = false;
};

} // namespace tl
