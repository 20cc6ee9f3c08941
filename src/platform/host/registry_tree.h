// The simulated PC's registry in memory: four root keys, each a tree of keys that hold named
// values. Names are compared without regard to case (as profile names are) and keep the case in
// which they were first written. Keys and values keep the order in which they were made, which
// is the order of enumeration and of the REGEDIT4 file.
#pragma once

#include "platform/win_types.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tl::host {

// How many keys deep below its root a key may lie: Windows keeps no deeper one, and a registry
// file that nests deeper is broken.
inline constexpr std::size_t kMaxRegistryKeyDepth = 512;

struct RegistryValue {
    std::string name; // empty for the default value ("@")
    DWORD type = 0;
    std::string data; // the bytes as stored; a REG_SZ normally ends with its NUL
};

class RegistryKey {
public:
    explicit RegistryKey(std::string name) : name_(std::move(name)) {}
    // Tears the keys below down one at a time: a tree as deep as a program made it must not
    // take a stack frame a level.
    ~RegistryKey();
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    const std::string& Name() const { return name_; }

    const std::vector<std::unique_ptr<RegistryKey>>& Children() const { return children_; }
    RegistryKey* FindChild(std::string_view name);
    const RegistryKey* FindChild(std::string_view name) const;
    // The child of that name, made when missing; *created tells which (may be null).
    RegistryKey& Child(std::string_view name, bool* created = nullptr);
    bool RemoveChild(std::string_view name);

    // A key below this one, by a path of names separated by "\" (empty components are
    // ignored, so an empty path is this key).
    RegistryKey* Find(std::string_view path);
    const RegistryKey* Find(std::string_view path) const;
    // Like Find, making every missing key on the way; *created tells whether the last was made.
    RegistryKey& Create(std::string_view path, bool* created = nullptr);

    const std::vector<RegistryValue>& Values() const { return values_; }
    const RegistryValue* FindValue(std::string_view name) const;
    void SetValue(std::string_view name, DWORD type, std::string data);
    bool RemoveValue(std::string_view name);

    bool Empty() const { return children_.empty() && values_.empty(); }

private:
    std::string name_;
    std::vector<std::unique_ptr<RegistryKey>> children_;
    // Children by ProfileNameKey of their names: a Windows 95 registry has keys with thousands
    // of subkeys (CLSID), which a scan per lookup would make slow to load.
    std::unordered_map<std::string, RegistryKey*> childIndex_;
    std::vector<RegistryValue> values_;
};

class RegistryTree {
public:
    RegistryTree();
    RegistryTree(const RegistryTree&) = delete;
    RegistryTree& operator=(const RegistryTree&) = delete;
    RegistryTree(RegistryTree&&) noexcept = default;
    RegistryTree& operator=(RegistryTree&&) noexcept = default;
    ~RegistryTree() = default;

    // The roots in the order they are written: HKEY_CLASSES_ROOT, HKEY_CURRENT_USER,
    // HKEY_LOCAL_MACHINE, HKEY_USERS.
    const std::vector<std::unique_ptr<RegistryKey>>& Roots() const { return roots_; }
    RegistryKey* Root(std::string_view name);

    // A key by its full path ("HKEY_LOCAL_MACHINE\Software\..."); null when the root is unknown
    // or a key on the way is missing.
    RegistryKey* Find(std::string_view fullPath);
    const RegistryKey* Find(std::string_view fullPath) const;
    // Makes the key and its parents; null when the root is unknown.
    RegistryKey* Create(std::string_view fullPath);
    // Removes a key below a root with everything in it; false when there is none.
    bool Remove(std::string_view fullPath);

    // Visits every key, parents before their children, in order, with its full path; however
    // deep the tree, without recursion.
    void
    Walk(const std::function<void(const std::string& path, const RegistryKey& key)>& visit) const;

private:
    std::vector<std::unique_ptr<RegistryKey>> roots_;
};

// Splits "A\B\C" into its names, ignoring empty ones.
std::vector<std::string_view> SplitRegistryPath(std::string_view path);

} // namespace tl::host
