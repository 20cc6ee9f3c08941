// The chain of steps as a user sees it: each way a step ends leads to the step the installer
// promises, shown by the questions, dialogs and effects of the run in their order.
#include "scenario.h"

#include <gmock/gmock.h>

namespace tl::test {
namespace {

using ::testing::ElementsAreArray;
using Story = std::vector<std::string>;

// The font step answered with its defaults: both fonts from the standard disk.
Story Then(Story story, const Story& more) {
    story.insert(story.end(), more.begin(), more.end());
    return story;
}

const Story kFontStep{"message 143 yes",
                      "dialog DIRECTORY 1",
                      "dialog FONT 1",
                      "addfont C:\\WINDOWS\\FONTS\\TLMJ.TTF",
                      "addfont C:\\WINDOWS\\FONTS\\TLGT.TTF",
                      "dialog COPYING -",
                      "broadcast WM_FONTCHANGE"};
const Story kFinished{"message 156 ok", "end 4 0"};

struct Chain {
    const char* name;
    std::vector<std::pair<std::string, std::string>> installInf; // INSTALL.INF: from -> to
    std::vector<std::pair<std::string, std::string>> catalogue;  // the catalogue: from -> to
    std::vector<std::string> missing;                            // files taken off the disk
    std::vector<std::string> machine;                            // tlmachine init options
    std::string answers;
    std::string commandLine;
    Story story;
};

class StepChain : public Scenario, public ::testing::WithParamInterface<Chain> {};

TEST_P(StepChain, LeadsToTheExpectedSteps) {
    const Chain& chain = GetParam();
    std::string installInf = kInstallInf;
    for (const auto& [from, to] : chain.installInf)
        installInf = Replaced(installInf, from, to);
    std::string catalogue = kCatalogue;
    for (const auto& [from, to] : chain.catalogue)
        catalogue = Replaced(catalogue, from, to);
    const bool flat = installInf.find("[PRINTERDRIVER]") == std::string::npos;
    WriteStandardDisk(disk, flat ? "" : "WIN95");
    disk.Write("INSTALL.INF", installInf);
    disk.Write(flat ? "OEMSETUP.INF" : "WIN95/OEMSETUP.INF", catalogue);
    for (const std::string& file : chain.missing)
        disk.Remove(file);
    MakeMachine(chain.machine);
    answers = chain.answers;

    RunOutcome run = Run(chain.commandLine);
    EXPECT_TRUE(run.Ended()) << run.program.err;
    EXPECT_THAT(run.Story(), ElementsAreArray(chain.story));
}

const std::pair<std::string, std::string> kNoDemonstration{"[DEMOFILE]\nfile = 1:TLDEMO.PRN\n", ""};

INSTANTIATE_TEST_SUITE_P(
    Scenario, StepChain,
    ::testing::Values(
        // Step 400 passes on to the fonts.
        Chain{"NoDriverSwitchWaitsForTheTimer",
              {},
              {},
              {},
              {},
              "",
              "/ND",
              Then(Then({"timer 1"}, kFontStep), kFinished)},
        Chain{"AddPrinterModeLeavesThePrinterToTheWizard",
              {{"[VxD]", "[WIN95SETUP]\n1\n\n[VxD]"}},
              {},
              {},
              {},
              "",
              "",
              Then(kFontStep, {"message 178 ok", "end 4 0"})},
        Chain{"NoManufacturerSection",
              {},
              {{"[Manufacturer]", "[Makers]"}},
              {},
              {},
              "",
              "",
              Then(kFontStep, kFinished)},
        Chain{"NoDriverPath",
              {{"[PRINTERDRIVER]\nPath = WIN95\n", ""}},
              {},
              {},
              {},
              "",
              "",
              Then(kFontStep, kFinished)},
        Chain{"NotEnoughSpaceForTheDriver",
              {},
              {},
              {},
              {"--free-bytes", "200000"},
              "",
              "",
              Then(Then({"message 139 yes", "message 148 ok"}, kFontStep), kFinished)},
        // Step 400 passes on to the demonstration file; step 405 to the fonts.
        Chain{"DriverAndDemonstrationDeclined",
              {},
              {},
              {},
              {},
              "[Messages]\n139=No\n142=No\n",
              "",
              Then(Then({"message 139 no", "message 142 no"}, kFontStep), kFinished)},
        Chain{"NoDemonstrationFile",
              {kNoDemonstration},
              {},
              {},
              {},
              "[Messages]\n139=No\n",
              "",
              Then(Then({"message 139 no"}, kFontStep), kFinished)},
        Chain{"NotEnoughSpaceForTheDemonstration",
              {},
              {},
              {},
              {"--free-bytes", "400000"},
              "[Messages]\n139=No\n",
              "",
              Then(Then({"message 139 no", "message 142 yes", "message 148 ok"}, kFontStep),
                   kFinished)},
        // Step 405's copy fails: straight to the end.
        Chain{"DemonstrationFileMissing",
              {},
              {},
              {"WIN95/TLDEMO.PRN"},
              {},
              "[Messages]\n139=No\n",
              "",
              {"message 139 no", "message 142 yes", "prompt A:\\WIN95\\TLDEMO.PR_",
               "error LZOpenFile A:\\WIN95\\TLDEMO.PR_ 2", "dialog COPYING -", "message 153 ok",
               "end 1 0"}},
        // Step 403 ends at 404 whatever happens.
        Chain{"EverythingDeclined",
              {},
              {},
              {},
              {},
              "[Messages]\n139=No\n142=No\n143=No\n",
              "",
              {"message 139 no", "message 142 no", "message 143 no", "end 0 0"}},
        Chain{"NoFontList",
              {{"FontList = Telmora_Myeongjo,Telmora_Gothic", ""}},
              {},
              {},
              {},
              "[Messages]\n139=No\n142=No\n",
              "",
              {"message 139 no", "message 142 no", "end 0 0"}},
        // Step 400 stops at 404.
        Chain{"CatalogueMissing",
              {},
              {},
              {"WIN95/OEMSETUP.INF"},
              {},
              "",
              "",
              {"error GetFileAttributes OEMSETUP.INF 2", "message 132 ok", "end 0 0"}},
        Chain{"NoCatalogueName",
              {{"[OEM.INF]\nOEMSETUP.INF\n", ""}},
              {},
              {},
              {},
              "",
              "",
              {"error GetFileAttributes OEM.INF 2", "message 132 ok", "end 0 0"}},
        Chain{"CatalogueEmpty",
              {},
              {{kCatalogue, ""}},
              {},
              {},
              "",
              "",
              {"error ReadFile A:\\WIN95\\OEMSETUP.INF 13", "message 131 ok", "end 0 0"}},
        Chain{"ModelSectionMissing",
              {},
              {{"[TL300]", "[TL300.OLD]"}},
              {},
              {},
              "[SELECTDRV]\n119=Telmora 300\n",
              "",
              {"message 139 yes", "dialog SELECTDRV 1", "error FindInfSection [TL300] 3758096641",
               "message 131 ok", "end 0 0"}},
        Chain{"DriverFileMissing",
              {},
              {},
              {"WIN95/TLPROC.DLL"},
              {},
              "",
              "",
              {"message 139 yes", "message 175 ok", "dialog SELECTDRV 1",
               "prompt A:\\WIN95\\TLPROC.DL_", "error LZOpenFile A:\\WIN95\\TLPROC.DL_ 2",
               "dialog COPYING -", "message 157 ok", "message 153 ok", "restart 0",
               "dialog WIN_RESTART 1", "end 1 0"}}),
    [](const ::testing::TestParamInfo<Chain>& param) { return std::string(param.param.name); });

} // namespace
} // namespace tl::test
