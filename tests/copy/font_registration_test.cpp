#include "copy/font_registration.h"
#include "platform/registry.h"
#include "support/installer_harness.h"

#include <gtest/gtest.h>

namespace tl::test {
namespace {

class FontRegistrationTest : public ::testing::Test {
protected:
    void SetUp() override { pc.SetPaths(); } // each font is recorded for the removal
    std::optional<std::string> Value(const std::string& name) {
        return pc.RegistryString(kHkeyLocalMachine, kInstalledFontsKey, name);
    }

    InstallerHarness pc;
    Installer& installer = pc.Get();
};

TEST_F(FontRegistrationTest, TellsARegisteredFontFromAMissingOne) {
    // Without the key the open's own error is the outcome.
    EXPECT_EQ(QueryFontRegistration(installer, "Arial (TrueType)"), 2);
    pc.SetRegistryString(kHkeyLocalMachine, kInstalledFontsKey, "Arial (TrueType)", "ARIAL.TTF");
    EXPECT_EQ(FontValueName("Arial"), "Arial (TrueType)");
    EXPECT_EQ(QueryFontRegistration(installer, FontValueName("Arial")), 0);
    EXPECT_EQ(QueryFontRegistration(installer, FontValueName("Telmora Sans")), 2);
}

// The value names the file in the font directory as it was typed; a system without the key of
// installed fonts gets it.
TEST_F(FontRegistrationTest, AFontTheSystemDoesNotTakeIsAFailure) {
    pc.Folder().WriteFile("drive_c/TTF/TLSANS.TTF", "font");
    installer.destination.typedFontDir = "c:\\ttf";
    EXPECT_TRUE(RegisterFont(installer, "C:\\TTF\\TLSANS.TTF", "Telmora Sans (TrueType)"));
    EXPECT_EQ(Value("Telmora Sans (TrueType)"), "c:\\ttf\\TLSANS.TTF");
    EXPECT_TRUE(pc.HasEvent("addfont", {"c:\\ttf\\TLSANS.TTF"}));

    // A font file that is not there adds no font: nothing is registered either.
    EXPECT_FALSE(RegisterFont(installer, "C:\\TTF\\NONE.TTF", "None (TrueType)"));
    EXPECT_TRUE(pc.HasEvent("error", {"AddFontResource"}));
    EXPECT_EQ(Value("None (TrueType)"), std::nullopt);
}

} // namespace
} // namespace tl::test
