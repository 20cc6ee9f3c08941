#include "copy/file_line.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace tl {
namespace {

// One open file in memory, read in pieces of at most `chunk` bytes; a read from `failAt` on
// fails, and so does every write while `failWrites` is set.
class MemoryLz final : public LzExpand {
public:
    MemoryLz(std::string bytes, std::size_t chunk) : bytes_(std::move(bytes)), chunk_(chunk) {}

    LzHandle LZOpenFile(std::string_view, OfStruct&, WORD) override { return kHfileError; }
    INT LZRead(LzHandle, void* buffer, INT count) override {
        if (pos_ >= failAt)
            return kLzErrorRead;
        const std::size_t n =
            std::min({static_cast<std::size_t>(count), chunk_, bytes_.size() - pos_});
        std::copy_n(bytes_.data() + pos_, n, static_cast<char*>(buffer));
        pos_ += n;
        return static_cast<INT>(n);
    }
    UINT LWrite(LzHandle, const void* buffer, UINT count) override {
        ++writes;
        if (failWrites)
            return 0xFFFFFFFFu;
        written.append(static_cast<const char*>(buffer), count);
        return count;
    }
    LONG LZCopy(LzHandle, LzHandle) override { return kLzErrorBadInHandle; }
    void LZClose(LzHandle) override {}

    std::size_t failAt = std::string::npos;
    bool failWrites = false;
    int writes = 0;
    std::string written;

private:
    std::string bytes_;
    std::size_t chunk_;
    std::size_t pos_ = 0;
};

// "two" was only partly read when the failure came: it is not handed out.
TEST(FileLineReader, AFailedReadEndsTheFileAndIsReported) {
    MemoryLz lz("one\r\ntwo\r\nthree\r\n", 4);
    lz.failAt = 8;
    FileLineReader reader(lz, 1);
    std::string line;
    EXPECT_EQ(reader.ReadFileLine(line), 5u);
    EXPECT_EQ(line, "one\r\n");
    EXPECT_EQ(reader.ReadFileLine(line) + reader.ReadFileLine(line), 0u);
    EXPECT_EQ(line, "");
    EXPECT_TRUE(reader.Failed());
}

TEST(FileLineWriter, WritesInBlocksAndReportsAFailure) {
    MemoryLz lz("", 1);
    {
        FileLineWriter writer(lz, 1);
        for (int i = 0; i < 1000; ++i)
            writer.Write("device=X.386\r\n");
        writer.Write("");
        EXPECT_TRUE(writer.Flush());
    }
    EXPECT_EQ(lz.written.size(), 14000u);
    EXPECT_LT(lz.writes, 10);

    MemoryLz failing("", 1);
    failing.failWrites = true;
    FileLineWriter writer(failing, 1);
    writer.Write("a");
    EXPECT_FALSE(writer.Flush());
    EXPECT_TRUE(writer.Failed());
    writer.Write("b");
    EXPECT_FALSE(writer.Flush());
    EXPECT_EQ(failing.writes, 1);
}

} // namespace
} // namespace tl
