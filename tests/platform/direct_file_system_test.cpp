// The file port the disk tools use: host paths as they stand, or mapped by a resolver whose
// refusals are the result.
#include "platform/host/direct_file_system.h"
#include "support/temp_machine.h"

#include <gtest/gtest.h>

namespace tl::host {
namespace {

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

class DirectFileSystemTest : public ::testing::Test {
protected:
    static DWORD Outcome(FileSystem& port, bool done) {
        return done ? kErrorSuccess : port.GetLastError();
    }
    DWORD Outcome(bool done) { return Outcome(files, done); }
    DWORD Open(std::string_view path, DWORD access, DWORD share, DWORD disposition) {
        FileSystem& port = path[1] == ':' ? static_cast<FileSystem&>(files) : plain;
        FileHandle file = port.CreateFile(path, access, share, disposition);
        return Outcome(port, file && port.CloseHandle(file));
    }
    std::string P(const char* name) const { return (temp.Root() / name).string(); }

    test::TempMachine temp;
    TestDrives drives{temp.Root() / "drive_c"};
    DirectFileSystem files{&drives};
    DirectFileSystem plain;
};

TEST_F(DirectFileSystemTest, FailuresGiveWin32Codes) {
    EXPECT_EQ(Open(P("none.txt"), kGenericRead, kFileShareRead, kOpenExisting), kErrorFileNotFound);
    EXPECT_EQ(Open(P("no/such/x.txt"), kGenericRead, kFileShareRead, kOpenExisting),
              kErrorPathNotFound);
    EXPECT_EQ(Open("C:\\", kGenericRead, kFileShareRead, kOpenExisting), kErrorAccessDenied);
    EXPECT_EQ(files.GetFileAttributes("C:\\"), kFileAttributeDirectory);
    EXPECT_EQ(Outcome(files.GetFileAttributes("C:\\none.txt") != kInvalidFileAttributes),
              kErrorFileNotFound);
    EXPECT_EQ(Outcome(files.DeleteFile("C:\\none.txt")), kErrorFileNotFound);
    EXPECT_EQ(Outcome(files.DeleteFile("C:\\")), kErrorAccessDenied);
    temp.WriteFile("drive_c/A.INF", "[A]");
    EXPECT_EQ(Open("R:\\A.INF", kGenericRead, kFileShareRead, kOpenExisting), kErrorSuccess);
    EXPECT_EQ(Open("R:\\NEW", kGenericWrite, kFileShareNone, kCreateNew), kErrorAccessDenied);
    EXPECT_EQ(Outcome(files.DeleteFile("R:\\A.INF")), kErrorAccessDenied);
    EXPECT_EQ(Outcome(files.GetFileAttributes("Q:\\A.INF") != kInvalidFileAttributes),
              kErrorPathNotFound);
    EXPECT_TRUE(files.DeleteFile("C:\\A.INF"));
    EXPECT_FALSE(temp.Exists("drive_c/A.INF"));
}

TEST_F(DirectFileSystemTest, HostPathsWriteReadSeekAndShareAsWin32) {
    const FileHandle out = plain.CreateFile(P("f.bin"), kGenericWrite, kFileShareNone, kCreateNew);
    DWORD count = 0;
    EXPECT_TRUE(plain.WriteFile(out, "hello world", 11, &count));
    EXPECT_EQ(count, 11u);
    EXPECT_EQ(Outcome(plain, plain.ReadFile(out, nullptr, 0, &count)), kErrorAccessDenied);
    // A sharing violation is found before CREATE_ALWAYS empties the file.
    EXPECT_EQ(Open(P("f.bin"), kGenericRead, kFileShareRead, kOpenExisting),
              kErrorSharingViolation);
    EXPECT_EQ(Open(P("f.bin"), kGenericWrite, kFileShareNone, kCreateAlways),
              kErrorSharingViolation);
    EXPECT_EQ(Outcome(plain, plain.DeleteFile(P("f.bin"))), kErrorSharingViolation);
    EXPECT_TRUE(plain.CloseHandle(out));
    EXPECT_EQ(Outcome(plain, plain.CloseHandle(out)), kErrorInvalidHandle);
    EXPECT_EQ(Open(P("f.bin"), kGenericWrite, kFileShareNone, kCreateNew), kErrorFileExists);

    const FileHandle in = plain.CreateFile(P("f.bin"), kGenericRead, kFileShareRead, kOpenExisting);
    const FileHandle second =
        plain.CreateFile(P("f.bin"), kGenericRead, kFileShareRead, kOpenExisting);
    EXPECT_TRUE(second);
    EXPECT_EQ(Open(P("f.bin"), kGenericWrite, kFileShareRead, kOpenExisting),
              kErrorSharingViolation);
    plain.CloseHandle(second);
    EXPECT_EQ(plain.GetFileSize(in), 11u);
    EXPECT_EQ(plain.SetFilePointer(in, -5, kFileEnd), 6u);
    char buffer[16] = {};
    EXPECT_TRUE(plain.ReadFile(in, buffer, sizeof buffer, &count));
    EXPECT_EQ(std::string(buffer, count), "world");
    EXPECT_TRUE(plain.ReadFile(in, buffer, sizeof buffer, &count));
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(plain.SetFilePointer(in, -100, kFileCurrent), kInvalidFileSize);
    EXPECT_EQ(plain.SetFilePointer(in, 0, kFileCurrent), 11u);
    EXPECT_EQ(Outcome(plain, plain.WriteFile(in, "x", 1, &count)), kErrorAccessDenied);
    EXPECT_TRUE(plain.CloseHandle(in));

    const FileHandle again =
        plain.CreateFile(P("f.bin"), kGenericWrite, kFileShareNone, kCreateAlways);
    EXPECT_EQ(plain.GetLastError(), kErrorAlreadyExists);
    EXPECT_EQ(plain.GetFileSize(again), 0u);
    EXPECT_TRUE(plain.CloseHandle(again));
    EXPECT_EQ(temp.ReadFile("f.bin"), "");
}

} // namespace
} // namespace tl::host
