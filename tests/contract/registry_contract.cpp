#include "port_contract.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace tl::test {
namespace {

// Every test works below a key of its own under HKEY_CURRENT_USER\Software and removes it.
class Sandbox {
public:
    explicit Sandbox(Registry& registry) : registry_(registry) {
        name_ = "Software\\TlContract" + std::to_string(reinterpret_cast<std::uintptr_t>(this));
    }
    ~Sandbox() { registry_.RegDeleteKey(kHkeyCurrentUser, name_.c_str()); }
    std::string Key(std::string_view below) const { return name_ + "\\" + std::string(below); }

private:
    Registry& registry_;
    std::string name_;
};

LONG SetText(Registry& registry, HKEY key, const char* name, const std::string& text) {
    return registry.RegSetValueEx(key, name, kRegSz, reinterpret_cast<const BYTE*>(text.c_str()),
                                  static_cast<DWORD>(text.size() + 1));
}

TEST_P(RegistryContract, CreatesKeysAndReadsValuesBackWithTheirSizes) {
    Registry& registry = Ports().registry;
    Sandbox sandbox(registry);
    HKEY key;
    DWORD disposition = 0;
    ASSERT_EQ(registry.RegCreateKeyEx(kHkeyCurrentUser, sandbox.Key("Print\\Printers").c_str(), 0,
                                      kKeyAllAccess, &key, &disposition),
              0);
    EXPECT_EQ(disposition, kRegCreatedNewKey);
    EXPECT_EQ(SetText(registry, key, "Driver", "Telmora 600"), 0);
    const DWORD number = 0x12345678;
    EXPECT_EQ(registry.RegSetValueEx(key, "Attributes", kRegDword,
                                     reinterpret_cast<const BYTE*>(&number), 4),
              0);
    EXPECT_EQ(SetText(registry, key, nullptr, "default"), 0);

    DWORD type = 0, size = 0;
    EXPECT_EQ(registry.RegQueryValueEx(key, "driver", &type, nullptr, &size), 0);
    EXPECT_EQ(type, kRegSz);
    EXPECT_EQ(size, 12u);
    char text[32] = {};
    size = 4;
    EXPECT_EQ(registry.RegQueryValueEx(key, "Driver", &type, reinterpret_cast<BYTE*>(text), &size),
              kErrorMoreData);
    EXPECT_EQ(size, 12u);
    size = sizeof text;
    EXPECT_EQ(registry.RegQueryValueEx(key, "Driver", &type, reinterpret_cast<BYTE*>(text), &size),
              0);
    EXPECT_STREQ(text, "Telmora 600");
    DWORD read = 0;
    size = 4;
    EXPECT_EQ(
        registry.RegQueryValueEx(key, "Attributes", &type, reinterpret_cast<BYTE*>(&read), &size),
        0);
    EXPECT_EQ(type, kRegDword);
    EXPECT_EQ(read, number);
    size = sizeof text;
    EXPECT_EQ(registry.RegQueryValueEx(key, "", &type, reinterpret_cast<BYTE*>(text), &size), 0);
    EXPECT_STREQ(text, "default");
    EXPECT_EQ(registry.RegQueryValueEx(key, "Missing", &type, nullptr, &size), kErrorFileNotFound);

    EXPECT_EQ(registry.RegDeleteValue(key, "Driver"), 0);
    EXPECT_EQ(registry.RegQueryValueEx(key, "Driver", &type, nullptr, &size), kErrorFileNotFound);
    EXPECT_EQ(registry.RegCloseKey(key), 0);
    EXPECT_EQ(registry.RegCloseKey(key), static_cast<LONG>(kErrorInvalidHandle));

    HKEY again;
    EXPECT_EQ(registry.RegCreateKeyEx(kHkeyCurrentUser, sandbox.Key("PRINT\\printers").c_str(), 0,
                                      kKeyAllAccess, &again, &disposition),
              0);
    EXPECT_EQ(disposition, kRegOpenedExistingKey);
    registry.RegCloseKey(again);
    EXPECT_EQ(registry.RegOpenKeyEx(kHkeyCurrentUser, sandbox.Key("Nothing").c_str(), 0, kKeyRead,
                                    &again),
              kErrorFileNotFound);
}

TEST_P(RegistryContract, EnumeratesAndDeletesWholeTrees) {
    Registry& registry = Ports().registry;
    Sandbox sandbox(registry);
    HKEY root;
    ASSERT_EQ(registry.RegCreateKeyEx(kHkeyCurrentUser, sandbox.Key("Drivers").c_str(), 0,
                                      kKeyAllAccess, &root, nullptr),
              0);
    for (const char* name : {"Telmora 600", "Telmora 1200\\Sub"}) {
        HKEY child;
        ASSERT_EQ(registry.RegCreateKeyEx(root, name, 0, kKeyAllAccess, &child, nullptr), 0);
        registry.RegCloseKey(child);
    }
    EXPECT_EQ(SetText(registry, root, "Version", "4.0"), 0);

    std::vector<std::string> names;
    char name[64];
    for (DWORD index = 0;; ++index) {
        DWORD size = sizeof name;
        const LONG error = registry.RegEnumKeyEx(root, index, name, &size);
        if (error != 0) {
            EXPECT_EQ(error, static_cast<LONG>(kErrorNoMoreItems));
            break;
        }
        EXPECT_EQ(size, std::strlen(name));
        names.emplace_back(name);
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Telmora 1200", "Telmora 600"}));
    DWORD small = 4;
    EXPECT_EQ(registry.RegEnumKeyEx(root, 0, name, &small), kErrorMoreData);
    EXPECT_GE(small, 12u) << "the size needed, with the NUL";

    DWORD nameSize = sizeof name, type = 0, dataSize = 0;
    EXPECT_EQ(registry.RegEnumValue(root, 0, name, &nameSize, &type, nullptr, &dataSize), 0);
    EXPECT_STREQ(name, "Version");
    EXPECT_EQ(nameSize, 7u);
    EXPECT_EQ(type, kRegSz);
    EXPECT_EQ(dataSize, 4u);
    nameSize = sizeof name;
    EXPECT_EQ(registry.RegEnumValue(root, 1, name, &nameSize, &type, nullptr, &dataSize),
              static_cast<LONG>(kErrorNoMoreItems));

    // The key goes with everything below it.
    EXPECT_EQ(registry.RegDeleteKey(root, "Telmora 1200"), 0);
    HKEY gone;
    EXPECT_EQ(registry.RegOpenKeyEx(root, "Telmora 1200\\Sub", 0, kKeyRead, &gone),
              kErrorFileNotFound);
    EXPECT_EQ(registry.RegDeleteKey(root, "Telmora 1200"), kErrorFileNotFound);
    registry.RegCloseKey(root);
    EXPECT_EQ(registry.RegOpenKeyEx(HKEY{0x1234}, "x", 0, kKeyRead, &gone),
              static_cast<LONG>(kErrorInvalidHandle));
}

} // namespace
} // namespace tl::test
