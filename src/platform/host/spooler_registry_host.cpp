#include "platform/host/spooler_registry_host.h"

namespace tl::host {
namespace {

std::string LocalMachinePath(std::string_view path) {
    std::string full = "HKEY_LOCAL_MACHINE\\";
    full += path;
    return full;
}

} // namespace

HostRegistrySpoolerStore::HostRegistrySpoolerStore(HostRegistry& registry) : registry_(registry) {}

const RegistryKey* HostRegistrySpoolerStore::Find(std::string_view path) const {
    return static_cast<const RegistryTree&>(registry_.Tree()).Find(LocalMachinePath(path));
}

bool HostRegistrySpoolerStore::KeyExists(std::string_view path) const {
    return Find(path) != nullptr;
}

std::vector<std::string> HostRegistrySpoolerStore::SubKeys(std::string_view path) const {
    std::vector<std::string> names;
    if (const RegistryKey* key = Find(path)) {
        for (const auto& child : key->Children()) {
            names.push_back(child->Name());
        }
    }
    return names;
}

std::optional<SpoolerValue> HostRegistrySpoolerStore::GetValue(std::string_view path,
                                                               std::string_view name) const {
    const RegistryKey* key = Find(path);
    const RegistryValue* value = key != nullptr ? key->FindValue(name) : nullptr;
    if (value == nullptr) {
        return std::nullopt;
    }
    SpoolerValue result{value->type, value->data};
    // The registry keeps a text with its NUL; the spooler speaks of the text.
    if (result.type == kRegSz && !result.data.empty() && result.data.back() == '\0') {
        result.data.pop_back();
    }
    return result;
}

bool HostRegistrySpoolerStore::CreateKey(std::string_view path) {
    return registry_.Tree().Create(LocalMachinePath(path)) != nullptr;
}

bool HostRegistrySpoolerStore::SetValue(std::string_view path, std::string_view name,
                                        SpoolerValue value) {
    RegistryKey* key = registry_.Tree().Create(LocalMachinePath(path));
    if (key == nullptr) {
        return false;
    }
    if (value.type == kRegSz) {
        value.data += '\0';
    }
    key->SetValue(name, value.type, std::move(value.data));
    return true;
}

bool HostRegistrySpoolerStore::DeleteValue(std::string_view path, std::string_view name) {
    if (RegistryKey* key = registry_.Tree().Find(LocalMachinePath(path))) {
        key->RemoveValue(name);
    }
    return true;
}

bool HostRegistrySpoolerStore::DeleteKey(std::string_view path) {
    const std::string full = LocalMachinePath(path);
    const std::size_t cut = full.rfind('\\');
    if (cut == std::string::npos)
        return false;
    if (RegistryKey* parent = registry_.Tree().Find(std::string_view(full).substr(0, cut)))
        parent->RemoveChild(std::string_view(full).substr(cut + 1));
    return true;
}

bool HostRegistrySpoolerStore::Commit() {
    if (registry_.Save() != kErrorSuccess) {
        registry_.Revert();
        return false;
    }
    return true;
}

void HostRegistrySpoolerStore::Discard() {
    // The file holds every change that was kept, the spooler's and anyone else's.
    registry_.Revert();
}

} // namespace tl::host
