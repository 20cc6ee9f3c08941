#include "state/inf_query.h"
#include "state/inf_scripts.h"

#include "platform/host/direct_file_system.h"
#include "support/temp_machine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace tl {
namespace {

using namespace std::string_literals;

// 65,536 bytes exactly (a 16-bit length would make it look empty), at the end of a path longer
// than 143 characters.
TEST(LoadInfTest, ScriptsOf64KiBAndMoreLoadWholeAndLongPathsAreNotCut) {
    std::string text = "[S]\r\n";
    int i = 0;
    while (text.size() < 65536 - 20)
        text += "K" + std::to_string(i++) + "=v\r\n";
    text += "[Z]\r\nEnd=yes";
    text.append(65536 - text.size() - 2, ' ');
    text += "\r\n";
    std::filesystem::path deep;
    for (int level = 0; level < 8; ++level)
        deep /= std::string(30, static_cast<char>('a' + level));
    test::TempMachine temp;
    temp.WriteFile(deep / "INSTALL.INF", text);
    const std::string path = (temp.Root() / deep / "INSTALL.INF").string();
    ASSERT_GT(path.size(), 143u);
    host::DirectFileSystem files;
    SetupScripts scripts;
    const auto loaded = LoadInf(scripts, files, path);
    ASSERT_EQ(loaded.status, InfLoadStatus::Loaded);
    std::string value;
    EXPECT_EQ(GetInfKey(scripts, loaded.script, "Z", "End", value), 1);
    EXPECT_EQ(value, "yes");
    EXPECT_EQ(CountInfLines(scripts, FindInfSection(scripts, loaded.script, "S")), i);
}

// A file that opens but cannot be read.
class UnreadableFiles final : public FileSystem {
public:
    FileHandle CreateFile(std::string_view, DWORD, DWORD, DWORD) override { return {7}; }
    BOOL ReadFile(FileHandle, void*, DWORD, DWORD* read) override {
        *read = 0;
        return 0;
    }
    BOOL WriteFile(FileHandle, const void*, DWORD, DWORD*) override { return 0; }
    DWORD SetFilePointer(FileHandle, LONG, DWORD) override { return 0; }
    DWORD GetFileSize(FileHandle) override { return size; }
    BOOL CloseHandle(FileHandle) override {
        ++closed;
        return 1;
    }
    BOOL DeleteFile(std::string_view) override { return 0; }
    DWORD GetFileAttributes(std::string_view) override { return 0; }
    BOOL MoveFileEx(std::string_view, std::string_view, DWORD) override { return 0; }
    DWORD GetLastError() const override { return 23; }

    DWORD size = 100;
    int closed = 0;
};

TEST(LoadInfFailures, UnreadableOrOversizedFilesAreNotLoadedAndClosed) {
    SetupScripts scripts;
    UnreadableFiles files;
    const auto unreadable = LoadInf(scripts, files, "X.INF");
    EXPECT_EQ(unreadable.status, InfLoadStatus::NotLoaded);
    EXPECT_EQ(unreadable.error, 23u);
    files.size = kMaxInfFileSize + 1;
    const auto huge = LoadInf(scripts, files, "X.INF");
    EXPECT_EQ(huge.status, InfLoadStatus::NotLoaded);
    EXPECT_EQ(huge.error, kErrorNotEnoughMemory);
    EXPECT_EQ(files.closed, 2);
    EXPECT_FALSE(scripts.Current());
}

} // namespace
} // namespace tl
