// Cancelling in each dialog that can cancel the installation: the run goes straight to its end,
// and nothing after the cancelled dialog happens.
#include "scenario.h"

#include <gmock/gmock.h>

namespace tl::test {
namespace {

using ::testing::ElementsAreArray;
using Story = std::vector<std::string>;

const char* const kThreeEditions = R"INF([Manufacturer]
"Telmora (English)" = Telmora.ENU
"Telmora (Deutsch)" = Telmora.ENU
"Telmora (Italy)" = Telmora.ENU
)INF";

struct Cancel {
    const char* name;
    std::vector<std::string> machine; // tlmachine init options
    std::string answers;
    Story story;
};

class CancelIn : public Scenario, public ::testing::WithParamInterface<Cancel> {};

TEST_P(CancelIn, EndsTheRunThere) {
    const Cancel& cancel = GetParam();
    WriteStandardDisk(disk);
    disk.Write("WIN95/OEMSETUP.INF",
               Replaced(kCatalogue, "[Manufacturer]\n\"Telmora (English)\" = Telmora.ENU\n",
                        kThreeEditions));
    MakeMachine(cancel.machine);
    answers = cancel.answers;

    RunOutcome run = Run();
    EXPECT_TRUE(run.Ended()) << run.program.err;
    EXPECT_THAT(run.Story(), ElementsAreArray(cancel.story));
    // Nothing of the driver was copied.
    EXPECT_FALSE(Machine().Exists("C:\\WINDOWS\\SYSTEM\\TLPM.386"));
}

INSTANTIATE_TEST_SUITE_P(
    Scenario, CancelIn,
    ::testing::Values(
        Cancel{"Language", {}, "[CHOICE]\nPress=2\n", {"timer 1", "dialog CHOICE 0", "end 0 0"}},
        Cancel{"Model",
               {},
               "[SELECTDRV]\nPress=118\n[Messages]\n123=Yes\n",
               {"timer 1", "dialog CHOICE 1", "message 139 yes", "message 123 yes",
                "dialog SELECTDRV 0", "end 0 0"}},
        Cancel{"PrinterName",
               {"--driver", "Telmora 600", "--printer", "Telmora 600"},
               "[PRINTERNAME]\nPress=2\n[Messages]\n123=Yes\n",
               {"timer 1", "dialog CHOICE 1", "message 139 yes", "message 175 ok",
                "dialog SELECTDRV 1", "dialog PRINTERNAME 2", "message 123 yes", "end 0 0"}},
        Cancel{"FontDirectory",
               {},
               "[Messages]\n139=No\n142=No\n123=Yes\n[DIRECTORY]\nPress=118\n",
               {"timer 1", "dialog CHOICE 1", "message 139 no", "message 142 no", "message 143 yes",
                "message 123 yes", "dialog DIRECTORY 0", "end 0 0"}},
        Cancel{"FontList",
               {},
               "[Messages]\n139=No\n142=No\n123=Yes\n[FONT]\nPress=118\n",
               {"timer 1", "dialog CHOICE 1", "message 139 no", "message 142 no", "message 143 yes",
                "dialog DIRECTORY 1", "message 123 yes", "dialog FONT 0", "end 0 0"}},
        Cancel{"NotEnoughSpaceForFonts",
               {"--free-bytes", "40000"},
               "[Messages]\n139=No\n142=No\n123=Yes\n[KEIKOKU]\nPress=118\n",
               {"timer 1", "dialog CHOICE 1", "message 139 no", "message 142 no", "message 143 yes",
                "dialog DIRECTORY 1", "message 123 yes", "dialog KEIKOKU 0", "dialog FONT 0",
                "end 0 0"}}),
    [](const ::testing::TestParamInfo<Cancel>& param) { return std::string(param.param.name); });

} // namespace
} // namespace tl::test
