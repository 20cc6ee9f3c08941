// The system port of the simulated PC beyond the port contract: what machine.ini sets and its atom
// table's limits.
#include "host_pc.h"

namespace tl::host {
namespace {

TEST(SystemTest, MachineIniSetsTheVersionAndTheAtomsOfEachRun) {
    test::HostPc pc("[Machine]\nVersion=4.10\nProgramFile=B:\\SETUP.EXE\n"
                    "[Atoms]\nbi-di.386=1\nother=0\n");
    System& system = pc.Ports().system;
    EXPECT_EQ(system.GetModuleFileName(), "B:\\SETUP.EXE");
    EXPECT_EQ(system.GetVersion(), 0xC0000A04u);
    // Windows NT has no Windows 95 mark.
    EXPECT_EQ(test::HostPc("[Machine]\nVersion=3.51\n").Ports().system.GetVersion() & 0x8000FFFFu,
              0x3303u);
    const ATOM bidi = system.GlobalFindAtom("BI-DI.386");
    EXPECT_GE(bidi, 0xC000);
    EXPECT_EQ(system.GlobalFindAtom("other"), 0);
    EXPECT_EQ(system.GlobalDeleteAtom(bidi), 0);
    EXPECT_EQ(system.GlobalDeleteAtom(bidi), bidi); // a delete too many fails
    EXPECT_EQ(system.GlobalAddAtom(""), 0);
    EXPECT_EQ(system.GlobalAddAtom(std::string(256, 'a')), 0);
    EXPECT_NE(system.GlobalAddAtom("Fresh"), 0);
    // A new run of the same machine starts again from machine.ini.
    pc.machine.reset();
    pc.Open();
    EXPECT_NE(pc.Ports().system.GlobalFindAtom("bi-di.386"), 0);
    EXPECT_EQ(pc.Ports().system.GlobalFindAtom("Fresh"), 0);
}

} // namespace
} // namespace tl::host
