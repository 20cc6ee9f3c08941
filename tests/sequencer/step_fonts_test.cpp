// The fonts step: the ways it ends short of a finished copy.
#include "driver_disk.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tl {
namespace {

using test::SequencerMachine;
using test::WriteDriverDisk;
using Keys = std::vector<std::string>;
using Steps = std::vector<UINT>;

constexpr UINT kFonts = 403;

// A font copy that succeeds is shown end to end by the scenarios.

TEST(FontsStep, ACancelledFontCopyEndsOnceAndClaimsNothing) {
    // Disk 2 has no section in INSTALL.INF: the copy run takes its cancellation exit, which
    // posts the last step itself.
    SequencerMachine machine("[Messages]\n139=No\n");
    WriteDriverDisk(machine, "[TRUETYPEFONTS]\nFontList = Gothic\n[NEEDED.SPACE]\nGothic = 10,0\n"
                             "[Gothic.TrueType]\n2:GOTHIC.TTF, 0:\"Telmora Gothic\"\n");
    ASSERT_TRUE(machine.Run());
    EXPECT_EQ(machine.steps, (Steps{400, 405, 403, 404}));
    EXPECT_EQ(machine.BoxKeys(), (Keys{"139", "143"}));
    EXPECT_EQ(machine.Get().installationState, InstallationState::NotStarted);
}

TEST(FontsStep, AMissingOrEmptyInstallInfIsReportedWithoutOwner) {
    struct Case {
        const char* name;
        std::function<void(SequencerMachine&)> damage;
        std::string key;
        std::string text;
    };
    const Case cases[] = {
        {"missing",
         [](SequencerMachine& m) {
             std::filesystem::remove(m.Folder().Root() / "disk/INSTALL.INF");
         },
         "132", "INSTALL.INF 찾을수 없습니다."},
        {"empty", [](SequencerMachine& m) { m.WriteDiskFile("INSTALL.INF", ""); }, "131",
         "정보화일을 읽을수 없습니다."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SequencerMachine machine;
        WriteDriverDisk(machine, test::kFontSections);
        ASSERT_TRUE(machine.StartUp());
        c.damage(machine);
        machine.RunFrom(kFonts);
        EXPECT_EQ(machine.steps, (Steps{403, 404}));
        ASSERT_EQ(machine.BoxKeys(), (Keys{c.key}));
        const ui::MessageBoxRequest& box = machine.Boxes()[0].request;
        EXPECT_EQ(machine.Utf8(box.text), c.text);
        EXPECT_EQ(machine.Utf8(box.caption), "드라이버 설치");
        EXPECT_EQ(box.type, MB_OK | MB_ICONHAND);
        EXPECT_FALSE(box.owner);
    }
}

TEST(FontsStep, DeclinedFontsOrNoFontListFinish) {
    struct Case {
        const char* name;
        std::string answers;
        std::string script;
        Keys keys;
    };
    const Case cases[] = {
        {"no font list", "", "", Keys{}},
        {"declined", "[Messages]\n143=No\n", std::string(test::kFontSections), Keys{"143"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SequencerMachine machine(c.answers);
        WriteDriverDisk(machine, c.script);
        ASSERT_TRUE(machine.StartUp());
        machine.RunFrom(kFonts);
        EXPECT_FALSE(machine.StopReason());
        EXPECT_EQ(machine.steps, (Steps{403, 404}));
        EXPECT_EQ(machine.BoxKeys(), c.keys);
        EXPECT_FALSE(machine.WindowsFileExists("FONTS/GOTHIC.TTF"));
    }
}

} // namespace
} // namespace tl
