#include "machine_changes.h"

#include "platform/host/ini_text.h"
#include "platform/host/registry_file.h"
#include "platform/host/registry_tree.h"
#include "platform/host/spooler_registry.h"

#include <array>

namespace tl::app {
namespace {

constexpr std::string_view kMachineRoot = "HKEY_LOCAL_MACHINE\\";
constexpr std::string_view kFontsKey =
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Fonts";

// The spooler's collections: each key right below one is a printer, driver, monitor or print
// processor of that name.
struct Collection {
    std::string_view key;
    std::vector<std::string> RegistryChanges::*added;
    std::vector<std::string> RegistryChanges::*removed;
};

const std::array<Collection, 4> kCollections{{
    {host::spooler_keys::kPrinters, &RegistryChanges::printersAdded,
     &RegistryChanges::printersRemoved},
    {host::spooler_keys::kDrivers, &RegistryChanges::driversAdded,
     &RegistryChanges::driversRemoved},
    {host::spooler_keys::kMonitors, &RegistryChanges::monitorsAdded,
     &RegistryChanges::monitorsRemoved},
    {host::spooler_keys::kPrintProcessors, &RegistryChanges::printProcessorsAdded,
     &RegistryChanges::printProcessorsRemoved},
}};

bool SamePath(std::string_view a, std::string_view b) {
    return a.size() == b.size() && host::ProfileNameEquals(a, b);
}

// The collection `path` lies in and the item it is or lies below ("depth" 0 for the item itself).
struct Place {
    const Collection* collection = nullptr;
    std::string item;
    bool isItem = false;
};

Place PlaceOf(const std::string& path) {
    for (const Collection& collection : kCollections) {
        const std::string base = std::string(kMachineRoot) + std::string(collection.key) + "\\";
        if (path.size() <= base.size() || !SamePath(path.substr(0, base.size()), base))
            continue;
        const std::string rest = path.substr(base.size());
        const std::size_t slash = rest.find('\\');
        return {&collection, rest.substr(0, slash), slash == std::string::npos};
    }
    return {};
}

std::string ValueText(const host::RegistryValue& value) {
    std::string data = value.data;
    while (!data.empty() && data.back() == '\0')
        data.pop_back();
    return data;
}

// Keys and values of `from` that `to` lacks (or holds otherwise), into the `added` side when
// walking the tree after the run and the removed side when walking the one before.
void Walk(const host::RegistryTree& from, const host::RegistryTree& to, bool after,
          const CodePage& codePage, RegistryChanges& changes) {
    from.Walk([&](const std::string& path, const host::RegistryKey& key) {
        const host::RegistryKey* other = to.Find(path);
        const Place place = PlaceOf(path);
        if (!other) {
            if (place.collection && place.isItem)
                (changes.*(after ? place.collection->added : place.collection->removed))
                    .push_back(codePage.ToUtf8(place.item));
            else if (!place.collection || to.Find(path.substr(0, path.rfind('\\'))))
                (after ? changes.otherKeysAdded : changes.otherKeysRemoved)
                    .push_back(codePage.ToUtf8(path));
            return;
        }
        const bool fonts = SamePath(path, kFontsKey);
        for (const host::RegistryValue& value : key.Values()) {
            const host::RegistryValue* otherValue = other->FindValue(value.name);
            if (otherValue && otherValue->type == value.type && otherValue->data == value.data)
                continue;
            if (fonts) {
                if (!otherValue || after)
                    (after ? changes.fontsAdded : changes.fontsRemoved)
                        .push_back(codePage.ToUtf8(value.name + " = " + ValueText(value)));
                continue;
            }
            if (after)
                changes.otherValuesSet.push_back(codePage.ToUtf8(path + "\\" + value.name) + " = " +
                                                 codePage.ToUtf8(ValueText(value)));
            else if (!otherValue)
                changes.otherValuesRemoved.push_back(codePage.ToUtf8(path + "\\" + value.name));
        }
    });
}

} // namespace

bool CompareRegistryText(std::string_view before, std::string_view after, const CodePage& codePage,
                         RegistryChanges& changes, std::string& error) {
    host::RegistryTree old;
    host::RegistryTree now;
    if (!host::ParseRegistryText(before, old, error) || !host::ParseRegistryText(after, now, error))
        return false;
    Walk(now, old, true, codePage, changes);
    Walk(old, now, false, codePage, changes);
    return true;
}

} // namespace tl::app
