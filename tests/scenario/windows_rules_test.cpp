// The simulated PC keeps Windows' rules against the installer: a write-protected install disk,
// read-only files, the free space and a machine folder that describes no PC.
#include "scenario.h"

#include <fstream>
#include <map>

namespace tl::test {
namespace {

namespace fs = std::filesystem;

const char* const kDriverOnly = "[Messages]\n142=No\n143=No\n";

std::map<std::string, std::string> FilesBelow(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        std::ifstream in(entry.path(), std::ios::binary);
        files[entry.path().lexically_relative(folder).string()] =
            entry.is_regular_file() ? std::string(std::istreambuf_iterator<char>(in), {}) : "";
    }
    return files;
}

bool IsReadOnly(const fs::path& file) {
    return (fs::status(file).permissions() & fs::perms::owner_write) == fs::perms::none;
}

bool HasError(const RunOutcome& run, std::string_view operation, std::string_view file, int code) {
    for (const nlohmann::json& error : run.transcript.Events("error")) {
        if (error.value("operation", "") == operation && error.value("file", "") == file &&
            error.value("code", -1) == code)
            return true;
    }
    return false;
}

TEST_F(Scenario, InstallDiskIsNotWrittenToEvenWhenTheFontsAreSentThere) {
    WriteStandardDisk(disk);
    const std::map<std::string, std::string> before = FilesBelow(disk.Root());
    MakeMachine();
    answers = "[Messages]\n139=No\n142=No\n[DIRECTORY]\n117=A:\\PWNFONTS\n";

    RunOutcome run = Run();
    // The installer finds the drive write-protected (152) and its directory dialog keeps
    // refusing the answer, which ends the unattended run (exit 3).
    EXPECT_EQ(run.program.exitCode, 3) << run.program.err;
    EXPECT_FALSE(run.transcript.Message("152").is_null());
    EXPECT_EQ(FilesBelow(disk.Root()), before);
    EXPECT_NE(run.State(), 4) << "fonts reported installed";
}

// A read-only file the installation must change: it stays as it was, and the run fails naming
// the call, the file and the error.
struct ReadOnlyCase {
    const char* name;
    const char* file;
    const char* operation;
};

class ReadOnlyTarget : public Scenario, public ::testing::WithParamInterface<ReadOnlyCase> {};

TEST_P(ReadOnlyTarget, IsLeftAsItWasAndTheRunFails) {
    const ReadOnlyCase& c = GetParam();
    WriteStandardDisk(disk);
    ScenarioMachine& pc = MakeMachine();
    if (!pc.Exists(c.file))
        pc.Write(c.file, "installed before\r\n");
    const std::string bytes = pc.Read(c.file);
    const fs::path host = *pc.Find(c.file);
    fs::permissions(host, fs::perms::owner_write, fs::perm_options::remove);
    answers = kDriverOnly;

    RunOutcome run = Run();
    ASSERT_EQ(run.program.exitCode, kExitInstallFailed) << run.program.err;
    EXPECT_EQ(run.State(), 1);
    EXPECT_TRUE(HasError(run, c.operation, c.file, 5))
        << run.transcript.Events("error").size() << " error events";
    EXPECT_EQ(pc.Read(c.file), bytes);
    EXPECT_TRUE(IsReadOnly(host));
}

INSTANTIATE_TEST_SUITE_P(
    Scenario, ReadOnlyTarget,
    ::testing::Values(ReadOnlyCase{"SystemIni", "C:\\WINDOWS\\SYSTEM.INI", "MoveFileEx"},
                      ReadOnlyCase{"InstalledDriverFile", "C:\\WINDOWS\\SYSTEM\\TLMON.DLL",
                                   "MoveFileEx"}),
    [](const ::testing::TestParamInfo<ReadOnlyCase>& param) {
        return std::string(param.param.name);
    });

TEST_F(Scenario, ReadOnlyIniFilesAreNotReplacedByTheLineRemoval) {
    // [DeleteIni] rewrites both files; read-only, they keep their bytes and their attribute.
    WriteStandardDisk(disk);
    ScenarioMachine& pc = MakeMachine();
    std::map<std::string, std::string> before;
    for (const char* file : {"C:\\WINDOWS\\WIN.INI", "C:\\WINDOWS\\SYSTEM.INI"}) {
        before[file] = pc.Read(file);
        fs::permissions(*pc.Find(file), fs::perms::owner_write, fs::perm_options::remove);
    }

    RunOutcome run = Run();
    ASSERT_EQ(run.program.exitCode, kExitInstallFailed) << run.program.err;
    for (const auto& [file, bytes] : before) {
        EXPECT_EQ(pc.Read(file), bytes) << file;
        EXPECT_TRUE(IsReadOnly(*pc.Find(file))) << file;
    }
    EXPECT_NE(run.State(), 5);
}

TEST_F(Scenario, FullDiskTakesNoIniLineEither) {
    WriteStandardDisk(disk);
    ScenarioMachine& pc = MakeMachine({"--free-bytes", "0"});
    const std::string winIni = pc.Read("C:\\WINDOWS\\WIN.INI");
    const std::string systemIni = pc.Read("C:\\WINDOWS\\SYSTEM.INI");

    RunOutcome run = Run();
    // No directory can be made for the fonts either: the unattended run ends there (exit 3).
    EXPECT_EQ(run.program.exitCode, 3) << run.program.err;
    EXPECT_EQ(pc.Read("C:\\WINDOWS\\WIN.INI"), winIni);
    EXPECT_EQ(pc.Read("C:\\WINDOWS\\SYSTEM.INI"), systemIni);
    EXPECT_FALSE(pc.Exists("C:\\WINDOWS\\tlsetup.ini"));
    EXPECT_NE(run.State(), 5);
}

TEST_F(Scenario, ControlCharacterInTheWindowsDirectoryIsABrokenMachineFolder) {
    WriteStandardDisk(disk);
    ScenarioMachine& pc = MakeMachine();
    static constexpr char kIni[] = "[Machine]\nWindowsDirectory=C:\\WIN\0DOWS\n";
    std::ofstream(pc.Root() / "machine.ini", std::ios::binary | std::ios::trunc)
        << std::string(kIni, sizeof kIni - 1);

    RunOutcome run = Run();
    EXPECT_EQ(run.program.exitCode, 2);
    EXPECT_NE(run.program.err.find("WindowsDirectory"), std::string::npos) << run.program.err;
    EXPECT_FALSE(pc.Exists("C:\\WIN"));
}

} // namespace
} // namespace tl::test
