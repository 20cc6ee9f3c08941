// The choices of the driver step: the language edition, the printer's name when it is taken,
// and an installed driver kept by the version check.
#include "scenario.h"

#include <gmock/gmock.h>

namespace tl::test {
namespace {

using nlohmann::json;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;

const char* const kFontsDeclined = "[Messages]\n142=No\n143=No\n";

TEST_F(Scenario, ThreeLanguageEditionsAskForTheLanguageAndUseTheChosenModelList) {
    WriteStandardDisk(disk);
    disk.Write("WIN95/OEMSETUP.INF", Replaced(kCatalogue, "\"Telmora (English)\" = Telmora.ENU\n",
                                              "\"Telmora (English)\" = Telmora.ENU\n"
                                              "\"Telmora (deutsch)\" = Telmora.DEU\n"
                                              "\"Telmora [Italy]\" = Telmora.ITA\n"
                                              "[Telmora.DEU]\n\"Telmora 600 DE\" = TL600\n"
                                              "[Telmora.ITA]\n\"Telmora 600 IT\" = TL600\n"));
    answers = std::string(kFontsDeclined) + "[CHOICE]\n21=1\nPress=1\n";

    RunOutcome run = Run();
    ASSERT_TRUE(run.Ended()) << run.program.err;
    // One model: no model dialog.
    EXPECT_THAT(run.Story(),
                ElementsAre("timer 1", "dialog CHOICE 1", "message 139 yes", "dialog COPYING -",
                            "broadcast WM_DEVMODECHANGE", "message 142 no", "message 143 no",
                            "dialog WAITING -", "message 157 ok", "message 165 ok", "restart 0",
                            "dialog WIN_RESTART 1", "end 5 0"));
    json choice = run.transcript.Dialog("CHOICE");
    EXPECT_EQ(ControlText(choice, "opened", 20), "&English");
    EXPECT_EQ(ControlText(choice, "opened", 21), "&Deutsch");
    EXPECT_EQ(ControlText(choice, "opened", 22), "&Italy");
    EXPECT_EQ(choice["opened"]["controls"]["20"]["checked"], true);
    EXPECT_EQ(Setting("Language"), "2");
    EXPECT_EQ(Setting("DriverName"), "Telmora 600 DE");
    json show = Machine().Show();
    ASSERT_EQ(show["printers"].size(), 1u);
    EXPECT_EQ(show["printers"][0]["name"], "Telmora 600 DE");

    // The next run on this PC starts from the language chosen.
    answers = "[CHOICE]\nPress=2\n";
    choice = Run().transcript.Dialog("CHOICE");
    EXPECT_EQ(choice["opened"]["controls"]["20"]["checked"], false);
    EXPECT_EQ(choice["opened"]["controls"]["21"]["checked"], true);
}

TEST_F(Scenario, UnknownEditionIsReportedAndTheChoiceNamesItsOwnManufacturerLine) {
    WriteStandardDisk(disk);
    disk.Write("WIN95/OEMSETUP.INF", Replaced(kCatalogue, "\"Telmora (English)\" = Telmora.ENU\n",
                                              "\"Telmora (Klingon)\" = Telmora.TLH\n"
                                              "\"Telmora (English)\" = Telmora.ENU\n"
                                              "\"Telmora (Deutsch)\" = Telmora.DEU\n"
                                              "[Telmora.DEU]\n\"Telmora 600 DE\" = TL600\n"));
    answers = std::string(kFontsDeclined) + "[CHOICE]\n21=1\n";

    RunOutcome run = Run();
    ASSERT_TRUE(run.Ended()) << run.program.err;
    std::vector<std::string> story = run.Story();
    ASSERT_GE(story.size(), 4u);
    EXPECT_THAT(std::vector<std::string>(story.begin(), story.begin() + 4),
                ElementsAre("message Error ok", "timer 1", "dialog CHOICE 1", "message 139 yes"));
    json invalid = run.transcript.Lines().front();
    EXPECT_EQ(invalid.value("text", ""),
              "oem.inf\n section [Manufacturer]\n Entry ' Telmora (Klingon) ' is invalid");
    EXPECT_EQ(invalid.value("caption", ""), "Error");
    EXPECT_EQ(invalid.value("icon", ""), "none");
    json choice = run.transcript.Dialog("CHOICE");
    EXPECT_EQ(ControlText(choice, "opened", 20), "&English");
    EXPECT_EQ(ControlText(choice, "opened", 21), "&Deutsch");
    EXPECT_EQ(Setting("Language"), "2");
    EXPECT_EQ(Setting("DriverName"), "Telmora 600 DE");
}

TEST_F(Scenario, TakenPrinterNameIsReplacedByTheProposedCopyName) {
    struct Case {
        const char* name;
        std::vector<std::string> machine;
        std::vector<std::string> story;
    };
    // A driver of the model's name installed: the name is settled before copying. Only a
    // printer of that name (with another driver): the spooler refuses it and the name is asked
    // for then.
    const std::vector<Case> cases{
        {"driver installed",
         {"--driver", "Telmora 600", "--printer", "Telmora 600"},
         {"message 139 yes", "message 175 ok", "dialog SELECTDRV 1", "dialog PRINTERNAME 1",
          "dialog COPYING -"}},
        {"printer name taken",
         {"--driver", "Other Printer", "--printer", "Telmora 600=Other Printer"},
         {"message 139 yes", "message 175 ok", "dialog SELECTDRV 1", "dialog COPYING -",
          "dialog PRINTERNAME 1"}},
    };
    WriteStandardDisk(disk);
    answers = kFontsDeclined;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MakeMachine(c.machine);
        RunOutcome run = Run();
        ASSERT_TRUE(run.Ended()) << run.program.err;
        std::vector<std::string> story = run.Story();
        ASSERT_GE(story.size(), c.story.size());
        EXPECT_EQ(std::vector<std::string>(story.begin(), story.begin() + c.story.size()), c.story);
        json dialog = run.transcript.Dialog("PRINTERNAME");
        EXPECT_EQ(ControlText(dialog, "opened", 2107), "Telmora 600");
        EXPECT_EQ(ControlText(dialog, "opened", 1006), "Telmora 600 (Copy 2)");
        std::vector<std::string> printers;
        const json show = Machine().Show();
        for (const json& printer : show["printers"])
            printers.push_back(printer["name"]);
        EXPECT_THAT(printers, Contains("Telmora 600"));
        EXPECT_THAT(printers, Contains("Telmora 600 (Copy 2)"));
        EXPECT_EQ(run.State(), 5);
    }
}

TEST_F(Scenario, PrinterNameQuestionOfTheSpoolerCancelledFailsTheInstallation) {
    WriteStandardDisk(disk);
    MakeMachine({"--driver", "Other Printer", "--printer", "Telmora 600=Other Printer"});
    answers = "[PRINTERNAME]\nPress=2\n[Messages]\n124=Yes\n";

    RunOutcome run = Run();
    ASSERT_TRUE(run.Ended()) << run.program.err;
    EXPECT_THAT(run.Story(), ElementsAre("message 139 yes", "message 175 ok", "dialog SELECTDRV 1",
                                         "dialog COPYING -", "dialog PRINTERNAME 2",
                                         "message 124 yes", "message 157 ok", "message 153 ok",
                                         "restart 0", "dialog WIN_RESTART 1", "end 1 0"));
    EXPECT_EQ(run.transcript.Message("153").value("text", ""),
              "Printer 드라이버 설치에 실패했습니다.");
    EXPECT_EQ(run.transcript.Message("153").value("icon", ""), "error");
}

TEST_F(Scenario, InstalledFilesKeptByTheVersionCheck) {
    struct Case {
        const char* file;
        ImageKind kind;
        const char* diskVersion;            // as the dialog shows the disk file's version
        std::vector<std::string> afterCopy; // the story from the copy on
        std::vector<std::string> copied;    // files of the system directory afterwards
    };
    // Keeping the printer driver keeps every file but the virtual device drivers; keeping a
    // virtual device driver keeps only that one, and the new parallel-port driver still wants
    // the restart.
    const std::vector<Case> cases{
        {"TL600.DRV",
         ImageKind::Ne,
         "5.10",
         {"dialog COPYING -", "broadcast WM_DEVMODECHANGE", "message 142 no", "message 143 no",
          "dialog WAITING -", "message 157 ok", "message 165 ok", "restart 0",
          "dialog WIN_RESTART 1", "end 5 0"},
         {"LPT.VXD", "TL600.DRV", "TLMON.DLL", "TLPM.386", "TLPROC.DLL"}},
        {"TLPM.386",
         ImageKind::Le,
         "4.100",
         {"dialog COPYING -", "broadcast WM_DEVMODECHANGE", "message 142 no", "message 143 no",
          "dialog WAITING -", "message 165 ok", "restart 0", "dialog WIN_RESTART 1", "end 5 0"},
         {"LPT.BZ", "LPT.VXD", "LPT.VXZ", "TL600.DRV", "TLHELP.HLP", "TLMON.DLL", "TLPM.386",
          "TLPROC.DLL"}},
    };
    WriteStandardDisk(disk);
    answers = std::string(kFontsDeclined) + "[VER_CHECK]\nPress=2\n";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        ScenarioMachine& pc = MakeMachine();
        const std::string path = std::string("C:\\WINDOWS\\SYSTEM\\") + c.file;
        const std::string installed = InstallDisk::ImageBytes(c.kind, {4, 0, 3, 7});
        pc.Write(path, installed);
        // The earlier driver came with its monitor and print processor, which the spooler needs
        // when the files are kept.
        if (c.kind == ImageKind::Ne) {
            pc.Write("C:\\WINDOWS\\SYSTEM\\TLMON.DLL", "the monitor installed before");
            pc.Write("C:\\WINDOWS\\SYSTEM\\TLPROC.DLL", "the processor installed before");
        }

        RunOutcome run = Run();
        ASSERT_TRUE(run.Ended()) << run.program.err;
        std::vector<std::string> story{"message 139 yes", "message 175 ok", "dialog SELECTDRV 1",
                                       "dialog VER_CHECK 0"};
        story.insert(story.end(), c.afterCopy.begin(), c.afterCopy.end());
        EXPECT_EQ(run.Story(), story);
        const std::string text = ControlText(run.transcript.Dialog("VER_CHECK"), "opened", 120);
        EXPECT_NE(text.find(c.file), std::string::npos) << text;
        EXPECT_NE(text.find("4.03"), std::string::npos) << text;
        // The disk file is read in the driver folder, where the copy reads it.
        EXPECT_NE(text.find(c.diskVersion), std::string::npos) << text;
        EXPECT_EQ(pc.Read(path), installed);
        const std::set<std::string> names = pc.FileNames("C:\\WINDOWS\\SYSTEM");
        EXPECT_EQ(std::vector<std::string>(names.begin(), names.end()), c.copied);
    }
}

} // namespace
} // namespace tl::test
