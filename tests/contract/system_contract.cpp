#include "port_contract.h"

#include <algorithm>
#include <cctype>

namespace tl::test {
namespace {

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

TEST_P(SystemContract, GlobalAtomsCountTheirReferences) {
    System& system = Ports().system;
    const std::string name = "tlcontract-atom-" + Scratch().substr(Scratch().size() - 4);
    EXPECT_EQ(system.GlobalFindAtom(name), 0);
    const ATOM atom = system.GlobalAddAtom(name);
    ASSERT_GE(atom, 0xC000);
    EXPECT_EQ(system.GlobalFindAtom(Upper(name)), atom);
    EXPECT_EQ(system.GlobalAddAtom(name), atom);
    EXPECT_EQ(system.GlobalDeleteAtom(atom), 0);
    EXPECT_EQ(system.GlobalFindAtom(name), atom) << "added twice, deleted once";
    EXPECT_EQ(system.GlobalDeleteAtom(atom), 0);
    EXPECT_EQ(system.GlobalFindAtom(name), 0);
    // Integer atoms are their own number and need no table entry.
    EXPECT_EQ(system.GlobalAddAtom("#123"), 123);
    EXPECT_EQ(system.GlobalFindAtom("#123"), 123);
    EXPECT_EQ(system.GlobalDeleteAtom(123), 0);
}

TEST_P(SystemContract, EffectsThatLeaveNoFileAreRecorded) {
    System& system = Ports().system;
    const UINT before = system.SetErrorMode(kSemFailCriticalErrors);
    EXPECT_EQ(system.SetErrorMode(0) & kSemFailCriticalErrors, kSemFailCriticalErrors);
    EXPECT_EQ(system.SetErrorMode(before) & kSemFailCriticalErrors, 0u);
    EXPECT_EQ(system.AddFontResource(Path("NOFONT.TTF")), 0);
    system.BroadcastMessage(kWmDevModeChange, "Telmora 600");
    system.BroadcastMessage(kWmFontChange, "");
    EXPECT_TRUE(system.ExitWindowsEx(kEwxReboot, 0));

    const std::vector<PlatformEvent>& events = environment_->Events();
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].event, "addfont");
    EXPECT_EQ(events[1].event, "broadcast");
    ASSERT_EQ(events[1].fields.size(), 2u);
    EXPECT_EQ(std::get<std::string>(events[1].fields[0].second), "WM_DEVMODECHANGE");
    EXPECT_EQ(std::get<std::string>(events[1].fields[1].second), "Telmora 600");
    EXPECT_EQ(events[2].fields.size(), 1u);
    EXPECT_EQ(events[3].event, "restart");
    EXPECT_EQ(std::get<std::int64_t>(events[3].fields[0].second), kEwxReboot);
}

} // namespace
} // namespace tl::test
