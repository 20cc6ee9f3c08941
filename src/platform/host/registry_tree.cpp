#include "platform/host/registry_tree.h"

#include "platform/host/ini_text.h"

#include <algorithm>

namespace tl::host {

namespace {

constexpr std::string_view kRootNames[] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER",
                                           "HKEY_LOCAL_MACHINE", "HKEY_USERS"};

template <typename Items, typename NameOf>
auto FindByName(Items& items, std::string_view name, NameOf nameOf) {
    return std::find_if(items.begin(), items.end(),
                        [&](const auto& item) { return ProfileNameEquals(nameOf(item), name); });
}

const std::string& KeyName(const std::unique_ptr<RegistryKey>& key) {
    return key->Name();
}
const std::string& ValueName(const RegistryValue& value) {
    return value.name;
}

// Splits a full path into its root's name and the rest.
std::pair<std::string_view, std::string_view> SplitRoot(std::string_view fullPath) {
    while (fullPath.starts_with('\\')) {
        fullPath.remove_prefix(1);
    }
    const std::size_t slash = fullPath.find('\\');
    if (slash == std::string_view::npos) {
        return {fullPath, {}};
    }
    return {fullPath.substr(0, slash), fullPath.substr(slash + 1)};
}

} // namespace

std::vector<std::string_view> SplitRegistryPath(std::string_view path) {
    std::vector<std::string_view> names;
    while (!path.empty()) {
        const std::size_t slash = path.find('\\');
        const std::string_view name = path.substr(0, slash);
        if (!name.empty()) {
            names.push_back(name);
        }
        if (slash == std::string_view::npos) {
            break;
        }
        path.remove_prefix(slash + 1);
    }
    return names;
}

RegistryKey::~RegistryKey() {
    std::vector<std::unique_ptr<RegistryKey>> doomed = std::move(children_);
    while (!doomed.empty()) {
        std::unique_ptr<RegistryKey> key = std::move(doomed.back());
        doomed.pop_back();
        for (auto& child : key->children_) {
            doomed.push_back(std::move(child));
        }
        key->children_.clear();
    }
}

RegistryKey* RegistryKey::FindChild(std::string_view name) {
    const auto it = childIndex_.find(ProfileNameKey(name));
    return it == childIndex_.end() ? nullptr : it->second;
}

const RegistryKey* RegistryKey::FindChild(std::string_view name) const {
    return const_cast<RegistryKey*>(this)->FindChild(name);
}

RegistryKey& RegistryKey::Child(std::string_view name, bool* created) {
    if (RegistryKey* existing = FindChild(name)) {
        if (created != nullptr) {
            *created = false;
        }
        return *existing;
    }
    children_.push_back(std::make_unique<RegistryKey>(std::string(name)));
    childIndex_.emplace(ProfileNameKey(name), children_.back().get());
    if (created != nullptr) {
        *created = true;
    }
    return *children_.back();
}

bool RegistryKey::RemoveChild(std::string_view name) {
    const auto indexed = childIndex_.find(ProfileNameKey(name));
    if (indexed == childIndex_.end()) {
        return false;
    }
    const RegistryKey* child = indexed->second;
    childIndex_.erase(indexed);
    std::erase_if(children_, [child](const auto& key) { return key.get() == child; });
    return true;
}

RegistryKey* RegistryKey::Find(std::string_view path) {
    RegistryKey* key = this;
    for (const auto name : SplitRegistryPath(path)) {
        key = key->FindChild(name);
        if (key == nullptr) {
            return nullptr;
        }
    }
    return key;
}

const RegistryKey* RegistryKey::Find(std::string_view path) const {
    return const_cast<RegistryKey*>(this)->Find(path);
}

RegistryKey& RegistryKey::Create(std::string_view path, bool* created) {
    RegistryKey* key = this;
    bool made = false;
    for (const auto name : SplitRegistryPath(path)) {
        key = &key->Child(name, &made);
    }
    if (created != nullptr) {
        *created = made;
    }
    return *key;
}

const RegistryValue* RegistryKey::FindValue(std::string_view name) const {
    const auto it = FindByName(values_, name, ValueName);
    return it == values_.end() ? nullptr : &*it;
}

void RegistryKey::SetValue(std::string_view name, DWORD type, std::string data) {
    const auto it = FindByName(values_, name, ValueName);
    if (it != values_.end()) {
        it->type = type;
        it->data = std::move(data);
        return;
    }
    values_.push_back(RegistryValue{std::string(name), type, std::move(data)});
}

bool RegistryKey::RemoveValue(std::string_view name) {
    const auto it = FindByName(values_, name, ValueName);
    if (it == values_.end()) {
        return false;
    }
    values_.erase(it);
    return true;
}

RegistryTree::RegistryTree() {
    for (const auto name : kRootNames) {
        roots_.push_back(std::make_unique<RegistryKey>(std::string(name)));
    }
}

RegistryKey* RegistryTree::Root(std::string_view name) {
    const auto it = FindByName(roots_, name, KeyName);
    return it == roots_.end() ? nullptr : it->get();
}

RegistryKey* RegistryTree::Find(std::string_view fullPath) {
    const auto [rootName, rest] = SplitRoot(fullPath);
    RegistryKey* root = Root(rootName);
    return root == nullptr ? nullptr : root->Find(rest);
}

const RegistryKey* RegistryTree::Find(std::string_view fullPath) const {
    return const_cast<RegistryTree*>(this)->Find(fullPath);
}

RegistryKey* RegistryTree::Create(std::string_view fullPath) {
    const auto [rootName, rest] = SplitRoot(fullPath);
    RegistryKey* root = Root(rootName);
    return root == nullptr ? nullptr : &root->Create(rest);
}

bool RegistryTree::Remove(std::string_view fullPath) {
    const auto [rootName, rest] = SplitRoot(fullPath);
    const auto names = SplitRegistryPath(rest);
    RegistryKey* parent = Root(rootName);
    if (parent == nullptr || names.empty()) {
        return false;
    }
    for (std::size_t i = 0; i + 1 < names.size() && parent != nullptr; ++i) {
        parent = parent->FindChild(names[i]);
    }
    return parent != nullptr && parent->RemoveChild(names.back());
}

void RegistryTree::Walk(
    const std::function<void(const std::string& path, const RegistryKey& key)>& visit) const {
    // Keys still to visit, the next one last: a parent's children go on in reverse order.
    std::vector<std::pair<std::string, const RegistryKey*>> pending;
    for (auto root = roots_.rbegin(); root != roots_.rend(); ++root) {
        pending.emplace_back((*root)->Name(), root->get());
    }
    while (!pending.empty()) {
        auto [path, key] = std::move(pending.back());
        pending.pop_back();
        visit(path, *key);
        const auto& children = key->Children();
        for (auto child = children.rbegin(); child != children.rend(); ++child) {
            pending.emplace_back(path + "\\" + (*child)->Name(), child->get());
        }
    }
}

} // namespace tl::host
