#include "platform/host/iconv_code_page.h"
#include "platform/host/machine_path_resolver.h"
#include "support/temp_machine.h"

#include <gtest/gtest.h>

namespace tl::host {
namespace {

namespace fs = std::filesystem;

class PathResolverTest : public ::testing::Test {
protected:
    void SetUp() override {
        machine.WriteFile("drive_c/Windows/System/Uni.drv", "x");
        machine.WriteFile("drive_c/Windows/WIN.INI", "");
        machine.WriteFile("disk/INSTALL.INF", "");
        machine.WriteFile("drive_c/한글/파일.txt", "");
        machine.WriteMachineIni("[Drives]\nA=disk\nB=\n[Drive.D]\nReadOnly=1\n");
        machine.MakeDirectory("drive_d");
        auto result = LoadMachineConfig(machine.Root(), codePage);
        ASSERT_TRUE(result.config) << result.error;
        config = *result.config;
    }

    fs::path Host(std::string_view windowsPath, PathUse use = PathUse::Read) {
        ResolvedPath resolved = MachinePathResolver(config, codePage).Resolve(windowsPath, use);
        EXPECT_TRUE(resolved) << windowsPath << " error " << resolved.error;
        return resolved.path;
    }

    test::TempMachine machine;
    IconvCodePage codePage;
    MachineConfig config;
};

TEST_F(PathResolverTest, DotsAndRelativePathsFollowTheCurrentDirectory) {
    MachinePathResolver resolver(config, codePage);
    EXPECT_EQ(resolver.GetCurrentDirectory(), "A:\\"); // where the program file lies
    EXPECT_EQ(resolver.GetFullPathName("INSTALL.INF").path, "A:\\INSTALL.INF");
    ASSERT_EQ(resolver.SetCurrentDirectory("C:\\windows\\system"), kErrorSuccess);
    EXPECT_EQ(resolver.GetFullPathName("..\\WIN.INI").path, "C:\\windows\\WIN.INI");
    EXPECT_EQ(resolver.GetFullPathName("\\AUTOEXEC.BAT").path, "C:\\AUTOEXEC.BAT");
    EXPECT_EQ(resolver.GetFullPathName("C:UNI.DRV").path, "C:\\windows\\system\\UNI.DRV");
    EXPECT_EQ(resolver.GetFullPathName("D:FONTS").path, "D:\\FONTS");
    EXPECT_EQ(resolver.GetFullPathName("C:\\..\\..\\A\\.\\B..\\").path, "C:\\A\\B");
    EXPECT_EQ(resolver.Resolve("uni.drv", PathUse::Read).path,
              machine.Root() / "drive_c/Windows/System/Uni.drv");
    // Failed changes leave the current directory alone.
    EXPECT_EQ(resolver.SetCurrentDirectory("C:\\NOPE"), kErrorFileNotFound);
    EXPECT_EQ(resolver.SetCurrentDirectory("C:\\NOPE\\DEEPER"), kErrorPathNotFound);
    EXPECT_EQ(resolver.SetCurrentDirectory("C:\\WINDOWS\\WIN.INI"), kErrorDirectory);
    EXPECT_EQ(resolver.SetCurrentDirectory("Q:\\"), kErrorPathNotFound);
    EXPECT_EQ(resolver.GetCurrentDirectory(), "C:\\windows\\system");
}

TEST_F(PathResolverTest, DrivesThatCannotServeAPathGiveWindowsErrors) {
    MachinePathResolver resolver(config, codePage);
    EXPECT_EQ(resolver.Resolve("Q:\\FILE", PathUse::Read).error, kErrorPathNotFound);
    EXPECT_EQ(resolver.Resolve("B:\\FILE", PathUse::Read).error, kErrorNotReady);
    EXPECT_EQ(resolver.Resolve("D:\\FILE", PathUse::Write).error, kErrorAccessDenied);
    EXPECT_TRUE(resolver.Resolve("D:\\FILE", PathUse::Read));
    EXPECT_EQ(resolver.Resolve("", PathUse::Read).error, kErrorPathNotFound);
    EXPECT_EQ(resolver.Resolve("\\\\server\\share\\x", PathUse::Read).error, kErrorPathNotFound);
    EXPECT_EQ(resolver.Resolve("C:\\A*B", PathUse::Read).error, kErrorInvalidName);
    EXPECT_EQ(resolver.Resolve("C:\\A\\B:C", PathUse::Read).error, kErrorInvalidName);
    EXPECT_EQ(resolver.Resolve(std::string_view("C:\\A\0B", 6), PathUse::Read).error,
              kErrorPathNotFound);
}

TEST_F(PathResolverTest, LinksMayLeadAnywhereInsideTheDriveButNeverOut) {
    const fs::path c = machine.Root() / "drive_c";
    const fs::path outside = machine.Root() / "outside";
    machine.WriteFile("outside/CANARY.TXT", "canary");
    fs::create_directory_symlink("Windows/System", c / "SYS");
    fs::create_symlink("../WIN.INI", c / "Windows/System/WIN.LNK");
    fs::create_directory_symlink(outside, c / "OUT");
    fs::create_symlink("../../../outside/CANARY.TXT", c / "Windows/CANARY.TXT");
    fs::create_symlink(outside / "NEW.TXT", c / "Windows/NEW.TXT"); // leads nowhere yet
    fs::create_symlink("LOOP2", c / "LOOP1");
    fs::create_symlink("LOOP1", c / "LOOP2");
    // A drive folder named on purpose may itself be anywhere, also behind a link.
    fs::create_directory_symlink(machine.Root() / "disk", machine.Root() / "disklink");
    machine.WriteMachineIni("[Drives]\nA=disklink\n");
    auto linked = LoadMachineConfig(machine.Root(), codePage);
    ASSERT_TRUE(linked.config) << linked.error;
    config = *linked.config;

    EXPECT_EQ(Host("C:\\SYS\\UNI.DRV"), c / "SYS/Uni.drv");
    EXPECT_EQ(Host("C:\\..\\..\\machine.ini"), c / "machine.ini");
    EXPECT_EQ(Host("C:\\\xC7\xD1\xB1\xDB\\\xC6\xC4\xC0\xCF.TXT"), c / "한글/파일.txt");
    EXPECT_EQ(Host("C:\\WINDOWS\\SYSTEM\\WIN.LNK", PathUse::Write), c / "Windows/System/WIN.LNK");
    EXPECT_EQ(Host("A:\\INSTALL.INF"), machine.Root() / "disklink/INSTALL.INF");
    for (const char* path : {"C:\\OUT", "C:\\OUT\\CANARY.TXT", "C:\\OUT\\NEW.TXT",
                             "C:\\WINDOWS\\CANARY.TXT", "C:\\WINDOWS\\NEW.TXT", "C:\\LOOP1\\X"}) {
        for (PathUse use : {PathUse::Read, PathUse::Write}) {
            ResolvedPath resolved = MachinePathResolver(config, codePage).Resolve(path, use);
            EXPECT_EQ(resolved.error, kErrorAccessDenied) << path;
        }
    }
}

} // namespace
} // namespace tl::host
