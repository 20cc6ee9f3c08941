// The driver step's own rules: a copy run that stops.
#include "driver_disk.h"

#include <gtest/gtest.h>

namespace tl {
namespace {

using test::SequencerMachine;
using test::WriteDriverDisk;

// What keeping an installed file leaves out of the copy is checked by the version check's own
// tests and, end to end, by the driver scenarios.

TEST(DriverStep, ACopyRunThatStopsIsNotReportedAsInstalled) {
    // The system directory cannot be made on a write-protected drive: the copy engine reports
    // it and stops without a failure state of its own.
    SequencerMachine machine("", "[Machine]\nSystemDirectory=C:\\WINDOWS\\SYSNEW\n"
                                 "[Drive.C]\nReadOnly=1\n");
    WriteDriverDisk(machine);
    ASSERT_TRUE(machine.Run());
    EXPECT_EQ(machine.steps, (std::vector<UINT>{400, 404}));
    ASSERT_FALSE(machine.Boxes().empty());
    EXPECT_EQ(machine.Boxes().back().request.key, "153");
    EXPECT_EQ(machine.Get().installationState, InstallationState::Failed);
    EXPECT_EQ(machine.Get().changeBits & kChangeDriverInstalled, 0u);
}

} // namespace
} // namespace tl
