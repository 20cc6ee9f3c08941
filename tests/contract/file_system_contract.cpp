#include "port_contract.h"

namespace tl::test {
namespace {

TEST_P(FileSystemContract, SeeksWithinAFileAndCreateAlwaysEmptiesIt) {
    WriteFile("a.txt", "hello world");
    FileHandle file = Files().CreateFile(Path("A.TXT"), kGenericRead | kGenericWrite,
                                         kFileShareNone, kOpenExisting);
    ASSERT_TRUE(file);
    EXPECT_EQ(Files().SetFilePointer(file, 6, kFileBegin), 6u);
    DWORD count = 0;
    ASSERT_TRUE(Files().WriteFile(file, "WORLD!", 6, &count));
    EXPECT_EQ(Files().SetFilePointer(file, -3, kFileEnd), 9u);
    char tail[8] = {};
    ASSERT_TRUE(Files().ReadFile(file, tail, sizeof tail, &count));
    EXPECT_EQ(std::string(tail, count), "LD!");
    // Reading at the end succeeds with nothing read.
    ASSERT_TRUE(Files().ReadFile(file, tail, sizeof tail, &count));
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(Files().SetFilePointer(file, -100, kFileCurrent), kInvalidFileSize);
    EXPECT_TRUE(Files().CloseHandle(file));
    EXPECT_EQ(ReadFile("a.txt"), "hello WORLD!");
    // CREATE_ALWAYS empties an existing file and says that it existed.
    file = Files().CreateFile(Path("a.txt"), kGenericWrite, kFileShareNone, kCreateAlways);
    EXPECT_EQ(Files().GetLastError(), kErrorAlreadyExists);
    EXPECT_EQ(Files().GetFileSize(file), 0u);
    Files().CloseHandle(file);
}

TEST_P(FileSystemContract, DispositionsAndMissingPathsGiveWindowsErrors) {
    EXPECT_FALSE(Files().CreateFile(Path("none.txt"), kGenericRead, 0, kOpenExisting));
    EXPECT_EQ(Files().GetLastError(), kErrorFileNotFound);
    EXPECT_FALSE(Files().CreateFile(Path("nodir\\x.txt"), kGenericRead, 0, kOpenExisting));
    EXPECT_EQ(Files().GetLastError(), kErrorPathNotFound);
    EXPECT_FALSE(Files().CreateFile(Path("nodir\\x.txt"), kGenericWrite, 0, kCreateAlways));
    EXPECT_EQ(Files().GetLastError(), kErrorPathNotFound);

    WriteFile("b.txt", "b");
    EXPECT_FALSE(Files().CreateFile(Path("b.txt"), kGenericWrite, 0, kCreateNew));
    EXPECT_EQ(Files().GetLastError(), kErrorFileExists);
    FileHandle file = Files().CreateFile(Path("c.txt"), kGenericWrite, 0, kOpenAlways);
    ASSERT_TRUE(file);
    EXPECT_EQ(Files().GetLastError(), kErrorSuccess);
    Files().CloseHandle(file);

    // A directory does not open as a file.
    EXPECT_FALSE(Files().CreateFile(Scratch(), kGenericRead, 0, kOpenExisting));
    EXPECT_EQ(Files().GetLastError(), kErrorAccessDenied);

    // A handle for reading does not write, a closed handle does nothing.
    file = Files().CreateFile(Path("b.txt"), kGenericRead, kFileShareRead, kOpenExisting);
    ASSERT_TRUE(file);
    DWORD count = 0;
    EXPECT_FALSE(Files().WriteFile(file, "x", 1, &count));
    EXPECT_EQ(Files().GetLastError(), kErrorAccessDenied);
    EXPECT_TRUE(Files().CloseHandle(file));
    EXPECT_FALSE(Files().CloseHandle(file));
    EXPECT_EQ(Files().GetLastError(), kErrorInvalidHandle);
}

TEST_P(FileSystemContract, HandlesShareAsTheirModesAllow) {
    WriteFile("s.txt", "s");
    FileHandle exclusive =
        Files().CreateFile(Path("s.txt"), kGenericRead, kFileShareNone, kOpenExisting);
    ASSERT_TRUE(exclusive);
    EXPECT_FALSE(Files().CreateFile(Path("S.TXT"), kGenericRead, kFileShareRead, kOpenExisting));
    EXPECT_EQ(Files().GetLastError(), kErrorSharingViolation);
    EXPECT_FALSE(Files().DeleteFile(Path("s.txt")));
    Files().CloseHandle(exclusive);

    FileHandle reader =
        Files().CreateFile(Path("s.txt"), kGenericRead, kFileShareRead, kOpenExisting);
    ASSERT_TRUE(reader);
    FileHandle second =
        Files().CreateFile(Path("s.txt"), kGenericRead, kFileShareRead, kOpenExisting);
    EXPECT_TRUE(second);
    EXPECT_FALSE(Files().CreateFile(Path("s.txt"), kGenericWrite, kFileShareRead, kOpenExisting));
    EXPECT_EQ(Files().GetLastError(), kErrorSharingViolation);
    Files().CloseHandle(second);
    Files().CloseHandle(reader);
    EXPECT_TRUE(Files().DeleteFile(Path("s.txt")));
}

TEST_P(FileSystemContract, DirectoriesAttributesAndDeletion) {
    EXPECT_TRUE(Store().CreateDirectory(Path("SUB")));
    EXPECT_FALSE(Store().CreateDirectory(Path("sub")));
    EXPECT_EQ(Files().GetLastError(), kErrorAlreadyExists);
    EXPECT_FALSE(Store().CreateDirectory(Path("X\\Y")));
    EXPECT_EQ(Files().GetLastError(), kErrorPathNotFound);
    EXPECT_EQ(Files().GetFileAttributes(Path("sub")) & kFileAttributeDirectory,
              kFileAttributeDirectory);

    WriteFile("SUB\\f.txt", "f");
    EXPECT_EQ(Files().GetFileAttributes(Path("sub\\F.TXT")) & kFileAttributeDirectory, 0u);
    EXPECT_FALSE(Store().RemoveDirectory(Path("SUB")));
    EXPECT_EQ(Files().GetLastError(), kErrorDirNotEmpty);

    // Relative paths follow the current directory.
    ASSERT_TRUE(Store().SetCurrentDirectory(Path("sub")));
    EXPECT_EQ(Files().GetFileAttributes("..\\SUB\\f.txt") & kFileAttributeDirectory, 0u);
    EXPECT_TRUE(Files().DeleteFile("f.txt"));
    EXPECT_FALSE(Files().DeleteFile("f.txt"));
    EXPECT_EQ(Files().GetLastError(), kErrorFileNotFound);
    EXPECT_EQ(Files().GetFileAttributes("f.txt"), kInvalidFileAttributes);
    EXPECT_EQ(Files().GetLastError(), kErrorFileNotFound);
    ASSERT_TRUE(Store().SetCurrentDirectory(Scratch()));
    EXPECT_TRUE(Store().RemoveDirectory(Path("sub")));
    EXPECT_FALSE(Store().SetCurrentDirectory(Path("sub")));
}

TEST_P(FileSystemContract, MoveFileExReplacesOnlyWhenAskedAndLeavesOpenFilesAlone) {
    WriteFile("new.tmp", "new text");
    WriteFile("system.ini", "old text");
    EXPECT_FALSE(Files().MoveFileEx(Path("new.tmp"), Path("SYSTEM.INI"), 0));
    EXPECT_EQ(Files().GetLastError(), kErrorAlreadyExists);
    FileHandle open =
        Files().CreateFile(Path("system.ini"), kGenericRead, kFileShareRead, kOpenExisting);
    ASSERT_TRUE(open);
    EXPECT_FALSE(Files().MoveFileEx(Path("new.tmp"), Path("system.ini"), kMoveFileReplaceExisting));
    if (!WineDiffers("MoveFileExA, open target")) {
        EXPECT_EQ(Files().GetLastError(), kErrorSharingViolation);
    }
    Files().CloseHandle(open);
    EXPECT_EQ(ReadFile("system.ini"), "old text");

    ASSERT_TRUE(Files().MoveFileEx(Path("new.tmp"), Path("SYSTEM.INI"), kMoveFileReplaceExisting));
    EXPECT_EQ(ReadFile("system.ini"), "new text");
    EXPECT_EQ(Files().GetFileAttributes(Path("new.tmp")), kInvalidFileAttributes);
    ASSERT_TRUE(Files().MoveFileEx(Path("system.ini"), Path("other.ini"), 0));
    EXPECT_EQ(ReadFile("other.ini"), "new text");
    EXPECT_FALSE(Files().MoveFileEx(Path("missing.tmp"), Path("x.ini"), kMoveFileReplaceExisting));
    EXPECT_EQ(Files().GetLastError(), kErrorFileNotFound);
}

} // namespace
} // namespace tl::test
