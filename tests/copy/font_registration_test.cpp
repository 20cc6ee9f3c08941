#include "copy/font_registration.h"
#include "destination/destination_fixture.h"
#include "platform/registry.h"

namespace tl::test {
namespace {

class FontRegistrationTest : public DestinationTest {
protected:
    void SetUp() override { Open(); }

    // The key of installed fonts with Arial in it, as on a fresh system.
    void MakeFontsKey() {
        Registry& registry = platform->registry;
        HKEY key{};
        ASSERT_EQ(registry.RegCreateKeyEx(kHkeyLocalMachine, kInstalledFontsKey, 0, kKeyAllAccess,
                                          &key, nullptr),
                  0);
        const char file[] = "ARIAL.TTF";
        registry.RegSetValueEx(key, "Arial (TrueType)", kRegSz, reinterpret_cast<const BYTE*>(file),
                               sizeof file);
        registry.RegCloseKey(key);
    }

    bool FontAdded(const std::string& file) {
        for (const PlatformEvent& event : events.Events()) {
            if (event.event == "addfont" &&
                std::get<std::string>(event.fields.at(0).second) == file) {
                return true;
            }
        }
        return false;
    }

    // The value's data, or nothing when it is missing.
    std::optional<std::string> Value(const std::string& name) {
        Registry& registry = platform->registry;
        HKEY key{};
        if (registry.RegOpenKeyEx(kHkeyLocalMachine, kInstalledFontsKey, 0, kKeyRead, &key) != 0) {
            return std::nullopt;
        }
        char data[300] = {};
        DWORD type = 0;
        DWORD size = sizeof data;
        const LONG result = registry.RegQueryValueEx(key, name.c_str(), &type,
                                                     reinterpret_cast<BYTE*>(data), &size);
        registry.RegCloseKey(key);
        if (result != 0) {
            return std::nullopt;
        }
        EXPECT_EQ(type, kRegSz);
        EXPECT_EQ(size, std::string(data).size() + 1);
        return std::string(data);
    }
};

TEST_F(FontRegistrationTest, TellsARegisteredFontFromAMissingOne) {
    // Without the key the open's own error is the outcome.
    EXPECT_EQ(QueryFontRegistration(*installer, "Arial (TrueType)"), 2);
    MakeFontsKey();
    EXPECT_EQ(FontValueName("Arial"), "Arial (TrueType)");
    EXPECT_EQ(QueryFontRegistration(*installer, FontValueName("Arial")), 0);
    EXPECT_EQ(QueryFontRegistration(*installer, FontValueName("Telmora Sans")), 2);
}

TEST_F(FontRegistrationTest, NamesTheFileInTheTypedFontDirectory) {
    folder.WriteFile("drive_c/TTF/TLSANS.TTF", "font");
    installer->destination.typedFontDir = "c:\\ttf";
    const std::string name = FontValueName("Telmora Sans");
    MakeFontsKey();
    EXPECT_TRUE(RegisterFont(*installer, "C:\\TTF\\TLSANS.TTF", name));

    EXPECT_EQ(Value(name), "c:\\ttf\\TLSANS.TTF");
    EXPECT_EQ(QueryFontRegistration(*installer, name), 0);
    EXPECT_TRUE(FontAdded("c:\\ttf\\TLSANS.TTF"));
}

TEST_F(FontRegistrationTest, AFontTheSystemDoesNotTakeIsAFailure) {
    // A system without the key of installed fonts gets it.
    folder.WriteFile("drive_c/FONTS/TLSANS.TTF", "font");
    installer->destination.typedFontDir = "C:\\FONTS";
    EXPECT_TRUE(RegisterFont(*installer, "C:\\FONTS\\TLSANS.TTF", "Telmora Sans (TrueType)"));
    EXPECT_EQ(Value("Telmora Sans (TrueType)"), "C:\\FONTS\\TLSANS.TTF");

    // A font file that is not there adds no font: nothing is registered either.
    EXPECT_FALSE(RegisterFont(*installer, "C:\\FONTS\\NONE.TTF", "None (TrueType)"));
    const PlatformEvent& error = events.Events().back();
    EXPECT_EQ(error.event, "error");
    EXPECT_EQ(std::get<std::string>(error.fields.at(0).second), "AddFontResource");
    EXPECT_EQ(Value("None (TrueType)"), std::nullopt);
}

} // namespace
} // namespace tl::test
