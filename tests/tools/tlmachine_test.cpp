// tlmachine as a person or a script uses it: init a folder and show it.
#include "tool_run.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tl::test {
namespace {

namespace fs = std::filesystem;

class TlmachineTest : public ::testing::Test {
protected:
    // `command` on this test's machine folder "pc", with more options after it.
    ProgramRun On(const std::string& command, std::vector<std::string> options = {}) {
        options.insert(options.begin(), {command, machine.string()});
        return RunTool("tlmachine", options);
    }
    void ExpectShown(const ProgramRun& show, const std::vector<std::string>& parts) {
        ASSERT_EQ(show.exitCode, 0) << show.err;
        for (const std::string& part : parts)
            EXPECT_NE(show.out.find(part), std::string::npos) << part << " in\n" << show.out;
    }

    TempMachine folder;
    const fs::path machine = folder.Root() / "pc";
};

TEST_F(TlmachineTest, InitMakesAWindows95PcThatShowReports) {
    ASSERT_EQ(On("init", {"--free-bytes", "123456789"}).exitCode, 0);
    for (const char* file : {"WIN.INI", "SYSTEM.INI", "FONTS/ARIAL.TTF"})
        EXPECT_TRUE(folder.Exists(fs::path("pc/drive_c/WINDOWS") / file)) << file;
    EXPECT_NE(folder.ReadFile("pc/machine.ini").find("FreeBytes=123456789"), std::string::npos);
    for (const auto& entry : fs::directory_iterator(folder.Root())) // no staging folder left
        EXPECT_NE(entry.path().filename().string().front(), '.') << entry.path();
    ExpectShown(On("show"),
                {"Windows 4.0 in C:\\WINDOWS", "Printers (0):", "  Local Port: SPOOLSS.DLL",
                 "  WinPrint: SPOOLSS.DLL", "  굴림 & 굴림체 (TrueType): GULIM.TTF\n",
                 "  device=*vcd\n", "Parallel ports: LPT1\n", "lpt.vxd: version 4.0.0.950\n"});
}

TEST_F(TlmachineTest, ShowListsWhatTheSpoolerRegisteredAsJson) {
    ASSERT_EQ(On("init", {"--windows-dir", "D:\\WIN95", "--ecp", "LPT1", "--atom", "bi-di.386",
                          "--lpt-vxd-version", "none", "--driver", "Telmora 600", "--printer",
                          "Telmora \"600\"=Telmora 600"})
                  .exitCode,
              0);
    fs::remove(machine / "drive_d/WIN95/SYSTEM/TELMORA6.DRV");
    ExpectShown(RunTool("tlmachine", {"show", "--json", machine.string()}),
                {R"("windowsDirectory":"D:\\WIN95","systemDirectory":"D:\\WIN95\\SYSTEM")",
                 R"("printers":[{"name":"Telmora \"600\"","port":"LPT1:","driver":"Telmora 600",)"
                 R"("printProcessor":"WinPrint","datatype":"RAW","attributes":2052,"priority":1,)"
                 R"("defaultPriority":1}])",
                 R"("dependentFiles":["TELMORA6.DRV"],"monitor":"","datatype":"RAW",)"
                 R"("files":[{"name":"TELMORA6.DRV","present":false}])",
                 R"("atoms":["bi-di.386"])", R"("parallelPorts":[{"name":"LPT1","ecp":true}])",
                 R"("lptVxd":{"present":false,"version":null)"});
}

TEST_F(TlmachineTest, MissingOrBrokenFoldersFailWithExitCodeTwo) {
    const ProgramRun missing = RunTool("tlmachine", {"show", (folder.Root() / "none").string()});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_NE(missing.err.find("no such machine folder"), std::string::npos) << missing.err;
    folder.MakeDirectory("empty");
    EXPECT_EQ(RunTool("tlmachine", {"show", (folder.Root() / "empty").string()}).exitCode, 2);
    ASSERT_EQ(On("init").exitCode, 0);
    const std::string registry = folder.ReadFile("pc/registry.reg");
    folder.WriteFile("pc/registry.reg", "REGEDIT4\r\n\r\n[HKEY_NOWHERE");
    const ProgramRun broken = On("show");
    EXPECT_EQ(broken.exitCode, 2);
    EXPECT_NE(broken.err.find("registry.reg"), std::string::npos) << broken.err;
    folder.WriteFile("pc/registry.reg", registry);
    folder.WriteFile("pc/machine.ini",
                     folder.ReadFile("pc/machine.ini") + "[Machine]\nVersion=four\n");
    EXPECT_EQ(On("show").exitCode, 2);
    const ProgramRun again = On("init"); // never over a folder that holds something
    EXPECT_EQ(again.exitCode, 2);
    EXPECT_NE(again.err.find("not an empty folder"), std::string::npos);
}

TEST_F(TlmachineTest, ARegistryNestedDeeperThanWindowsAllowsIsRefusedAsBroken) {
    ASSERT_EQ(On("init").exitCode, 0);
    std::string deep = "REGEDIT4\r\n\r\n[HKEY_USERS";
    for (int i = 0; i < 30000; ++i)
        deep += "\\k";
    folder.WriteFile("pc/registry.reg", deep + "]\r\n");
    const ProgramRun shown = On("show");
    EXPECT_EQ(shown.exitCode, 2);
    EXPECT_NE(shown.err.find("registry.reg: line 3: a key nested deeper than 512 levels"),
              std::string::npos)
        << shown.err;
}

TEST_F(TlmachineTest, UsageErrorsAndHelp) {
    const ProgramRun help = RunTool("tlmachine", {"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("tlmachine init DIR"), std::string::npos);
    for (std::string line :
         {"", "frobnicate", "init", "init a b", "show", "show a --xml", "init pc --ecp LPT4",
          "init pc --version 4", "init pc --free-bytes", "init pc --lpt-vxd-version 4.0.950"}) {
        std::vector<std::string> args;
        std::istringstream words(line);
        for (std::string word; words >> word;)
            args.push_back(word);
        const ProgramRun run = RunTool("tlmachine", args);
        EXPECT_EQ(run.exitCode, 1) << line;
        EXPECT_NE(run.err.find("tlmachine: "), std::string::npos) << line;
    }
    EXPECT_FALSE(fs::exists(fs::current_path() / "pc"));
}

} // namespace
} // namespace tl::test
