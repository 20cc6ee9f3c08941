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

    // What a query answers: its result, the type and size, and the data.
    char data[32];
    DWORD type = 0, size = 0;
    const auto query = [&](const char* name, DWORD capacity) {
        std::fill(std::begin(data), std::end(data), '\0');
        size = capacity;
        return registry.RegQueryValueEx(
            key, name, &type, capacity == 0 ? nullptr : reinterpret_cast<BYTE*>(data), &size);
    };
    EXPECT_EQ(query("driver", 0), 0);
    EXPECT_EQ(type + size, kRegSz + 12u);
    EXPECT_EQ(query("Driver", 4), kErrorMoreData);
    EXPECT_EQ(size, 12u);
    EXPECT_EQ(query("Driver", sizeof data), 0);
    EXPECT_STREQ(data, "Telmora 600");
    EXPECT_EQ(query("Attributes", 4), 0);
    EXPECT_EQ(type, kRegDword);
    EXPECT_EQ(std::memcmp(data, &number, 4), 0);
    EXPECT_EQ(query("", sizeof data), 0);
    EXPECT_STREQ(data, "default");
    EXPECT_EQ(query("Missing", 0), kErrorFileNotFound);
    EXPECT_EQ(registry.RegDeleteValue(key, "Driver"), 0);
    EXPECT_EQ(query("Driver", 0), kErrorFileNotFound);
    EXPECT_EQ(registry.RegCloseKey(key), 0);
    EXPECT_EQ(registry.RegCloseKey(key), static_cast<LONG>(kErrorInvalidHandle));

    EXPECT_EQ(registry.RegCreateKeyEx(kHkeyCurrentUser, sandbox.Key("PRINT\\printers").c_str(), 0,
                                      kKeyAllAccess, &key, &disposition),
              0);
    EXPECT_EQ(disposition, kRegOpenedExistingKey);
    registry.RegCloseKey(key);
    EXPECT_EQ(
        registry.RegOpenKeyEx(kHkeyCurrentUser, sandbox.Key("Nothing").c_str(), 0, kKeyRead, &key),
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
