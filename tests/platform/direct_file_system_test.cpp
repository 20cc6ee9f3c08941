#include "platform/host/direct_file_system.h"
#include "support/temp_machine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace tl::host {
namespace {

class DirectFileSystemTest : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return (dir / name).string(); }
    std::string Read(const std::string& name) const {
        std::ifstream in(dir / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    test::TempMachine temp;
    const std::filesystem::path dir = temp.Root();
    DirectFileSystem files;
};

TEST_F(DirectFileSystemTest, OpenFailuresGiveWin32Codes) {
    EXPECT_FALSE(files.CreateFile(Path("none.txt"), kGenericRead, kFileShareRead, kOpenExisting));
    EXPECT_EQ(files.GetLastError(), kErrorFileNotFound);
    EXPECT_FALSE(
        files.CreateFile(Path("no/such/x.txt"), kGenericRead, kFileShareRead, kOpenExisting));
    EXPECT_EQ(files.GetLastError(), kErrorPathNotFound);
    EXPECT_FALSE(files.CreateFile(dir.string(), kGenericRead, kFileShareRead, kOpenExisting));
    EXPECT_EQ(files.GetLastError(), kErrorAccessDenied);
    EXPECT_EQ(files.GetFileAttributes(Path("none.txt")), kInvalidFileAttributes);
    EXPECT_EQ(files.GetLastError(), kErrorFileNotFound);
    EXPECT_EQ(files.GetFileAttributes(dir.string()), kFileAttributeDirectory);
    EXPECT_FALSE(files.DeleteFile(Path("none.txt")));
    EXPECT_EQ(files.GetLastError(), kErrorFileNotFound);
    EXPECT_FALSE(files.DeleteFile(dir.string()));
    EXPECT_EQ(files.GetLastError(), kErrorAccessDenied);
}

TEST_F(DirectFileSystemTest, WritesReadsSeeksAndReportsSize) {
    const FileHandle out =
        files.CreateFile(Path("f.bin"), kGenericWrite, kFileShareNone, kCreateNew);
    ASSERT_TRUE(out);
    DWORD count = 0;
    EXPECT_TRUE(files.WriteFile(out, "hello world", 11, &count));
    EXPECT_EQ(count, 11u);
    EXPECT_FALSE(files.ReadFile(out, nullptr, 0, &count));
    EXPECT_EQ(files.GetLastError(), kErrorAccessDenied);
    EXPECT_TRUE(files.CloseHandle(out));
    EXPECT_FALSE(files.CloseHandle(out));
    EXPECT_EQ(files.GetLastError(), kErrorInvalidHandle);

    EXPECT_FALSE(files.CreateFile(Path("f.bin"), kGenericWrite, kFileShareNone, kCreateNew));
    EXPECT_EQ(files.GetLastError(), kErrorFileExists);

    const FileHandle in =
        files.CreateFile(Path("f.bin"), kGenericRead, kFileShareRead, kOpenExisting);
    ASSERT_TRUE(in);
    EXPECT_EQ(files.GetFileSize(in), 11u);
    EXPECT_EQ(files.SetFilePointer(in, -5, kFileEnd), 6u);
    char buffer[16] = {};
    EXPECT_TRUE(files.ReadFile(in, buffer, sizeof buffer, &count));
    EXPECT_EQ(std::string(buffer, count), "world");
    EXPECT_TRUE(files.ReadFile(in, buffer, sizeof buffer, &count));
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(files.SetFilePointer(in, -100, kFileCurrent), kInvalidFileSize);
    EXPECT_EQ(files.SetFilePointer(in, 0, kFileCurrent), 11u);
    EXPECT_FALSE(files.WriteFile(in, "x", 1, &count));
    EXPECT_EQ(files.GetLastError(), kErrorAccessDenied);
    EXPECT_TRUE(files.CloseHandle(in));

    const FileHandle again =
        files.CreateFile(Path("f.bin"), kGenericWrite, kFileShareNone, kCreateAlways);
    ASSERT_TRUE(again);
    EXPECT_EQ(files.GetLastError(), kErrorAlreadyExists);
    EXPECT_EQ(files.GetFileSize(again), 0u);
    EXPECT_TRUE(files.CloseHandle(again));
    EXPECT_EQ(Read("f.bin"), "");
}

TEST_F(DirectFileSystemTest, SharingModesAreEnforcedBetweenHandles) {
    std::ofstream(dir / "s.txt") << "data";
    const FileHandle exclusive =
        files.CreateFile(Path("s.txt"), kGenericWrite, kFileShareNone, kOpenExisting);
    ASSERT_TRUE(exclusive);
    EXPECT_FALSE(files.CreateFile(Path("s.txt"), kGenericRead, kFileShareRead, kOpenExisting));
    EXPECT_EQ(files.GetLastError(), kErrorSharingViolation);
    // Refused before truncating: the contents survive.
    EXPECT_FALSE(files.CreateFile(Path("s.txt"), kGenericWrite, kFileShareNone, kCreateAlways));
    EXPECT_FALSE(files.DeleteFile(Path("s.txt")));
    EXPECT_EQ(files.GetLastError(), kErrorSharingViolation);
    EXPECT_TRUE(files.CloseHandle(exclusive));
    EXPECT_EQ(Read("s.txt"), "data");

    const FileHandle reader =
        files.CreateFile(Path("s.txt"), kGenericRead, kFileShareRead, kOpenExisting);
    const FileHandle second =
        files.CreateFile(Path("s.txt"), kGenericRead, kFileShareRead, kOpenExisting);
    EXPECT_TRUE(reader && second);
    EXPECT_FALSE(files.CreateFile(Path("s.txt"), kGenericWrite, kFileShareRead, kOpenExisting));
    files.CloseHandle(reader);
    files.CloseHandle(second);
    EXPECT_TRUE(files.DeleteFile(Path("s.txt")));
    EXPECT_FALSE(std::filesystem::exists(dir / "s.txt"));
}

// Drive C: is the test folder; R: the same folder, read-only; any other drive is missing.
class TestDrives final : public PathResolver {
public:
    explicit TestDrives(std::filesystem::path root) : root_(std::move(root)) {}
    ResolvedPath Resolve(std::string_view path, PathUse use) const override {
        if (path.size() < 3 || (path[0] != 'C' && path[0] != 'R')) {
            return {{}, kErrorPathNotFound};
        }
        if (path[0] == 'R' && use == PathUse::Write) {
            return {{}, kErrorAccessDenied};
        }
        return {root_ / std::string{path.substr(3)}, kErrorSuccess};
    }

private:
    std::filesystem::path root_;
};

TEST_F(DirectFileSystemTest, ResolverMapsPathsAndItsRefusalsAreTheResult) {
    std::ofstream(dir / "A.INF") << "[A]";
    const TestDrives drives{dir};
    DirectFileSystem mapped{&drives};
    EXPECT_EQ(mapped.GetFileAttributes("C:\\A.INF") & kFileAttributeDirectory, 0u);
    const FileHandle read =
        mapped.CreateFile("R:\\A.INF", kGenericRead, kFileShareRead, kOpenExisting);
    ASSERT_TRUE(read);
    EXPECT_EQ(mapped.GetFileSize(read), 3u);
    mapped.CloseHandle(read);
    EXPECT_FALSE(mapped.CreateFile("R:\\NEW", kGenericWrite, kFileShareNone, kCreateNew));
    EXPECT_EQ(mapped.GetLastError(), kErrorAccessDenied);
    EXPECT_FALSE(mapped.DeleteFile("R:\\A.INF"));
    EXPECT_EQ(mapped.GetLastError(), kErrorAccessDenied);
    EXPECT_EQ(mapped.GetFileAttributes("Q:\\A.INF"), kInvalidFileAttributes);
    EXPECT_EQ(mapped.GetLastError(), kErrorPathNotFound);
    EXPECT_TRUE(mapped.DeleteFile("C:\\A.INF"));
    EXPECT_FALSE(std::filesystem::exists(dir / "A.INF"));
}

} // namespace
} // namespace tl::host
