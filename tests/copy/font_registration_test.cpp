#include "copy/font_registration.h"
#include "platform/registry.h"
#include "support/installer_harness.h"

#include <gtest/gtest.h>

namespace tl::test {
namespace {

// The value names the file in the font directory as it was typed; a system without the key of
// installed fonts gets it. A font file that is not there adds no font: nothing is registered.
// A registered font is told from a missing one; without the key the open's own error is the
// outcome.
TEST(FontRegistrationTest, AFontTheSystemDoesNotTakeIsAFailure) {
    InstallerHarness pc;
    pc.SetPaths(); // each font is recorded for the removal
    Installer& installer = pc.Get();
    EXPECT_EQ(QueryFontRegistration(installer, FontValueName("Telmora Sans")), 2);
    pc.Folder().WriteFile("drive_c/TTF/TLSANS.TTF", "font");
    installer.destination.typedFontDir = "c:\\ttf";
    EXPECT_TRUE(RegisterFont(installer, "C:\\TTF\\TLSANS.TTF", "Telmora Sans (TrueType)"));
    EXPECT_EQ(pc.RegistryString(kHkeyLocalMachine, kInstalledFontsKey, "Telmora Sans (TrueType)"),
              "c:\\ttf\\TLSANS.TTF");
    EXPECT_TRUE(pc.HasEvent("addfont", {"c:\\ttf\\TLSANS.TTF"}));
    EXPECT_EQ(QueryFontRegistration(installer, FontValueName("Telmora Sans")), 0);

    EXPECT_FALSE(RegisterFont(installer, "C:\\TTF\\NONE.TTF", "None (TrueType)"));
    EXPECT_TRUE(pc.HasEvent("error", {"AddFontResource"}));
    EXPECT_EQ(pc.RegistryString(kHkeyLocalMachine, kInstalledFontsKey, "None (TrueType)"),
              std::nullopt);
    EXPECT_EQ(QueryFontRegistration(installer, FontValueName("None")), 2);
}

} // namespace
} // namespace tl::test
