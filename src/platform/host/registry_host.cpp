#include "platform/host/registry_host.h"

#include "platform/host/ini_file_io.h"
#include "platform/host/registry_file.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace tl::host {

namespace {

constexpr LONG kSuccess = static_cast<LONG>(kErrorSuccess);
constexpr LONG kNotFound = static_cast<LONG>(kErrorFileNotFound);
constexpr LONG kBadHandle = static_cast<LONG>(kErrorInvalidHandle);
constexpr LONG kBadParameter = static_cast<LONG>(kErrorInvalidParameter);
constexpr LONG kMoreData = static_cast<LONG>(kErrorMoreData);
constexpr LONG kNoMoreItems = static_cast<LONG>(kErrorNoMoreItems);

std::string_view OrEmpty(const char* text) {
    return text == nullptr ? std::string_view{} : text;
}

// A line break in a name would end its line in the registry file and lose the rest.
bool IsWritableName(std::string_view name) {
    return name.find_first_of("\r\n") == std::string_view::npos;
}

std::string JoinPath(const std::string& base, std::string_view subKey) {
    std::string path = base;
    for (const auto name : SplitRegistryPath(subKey)) {
        path += '\\';
        path += name;
    }
    return path;
}

// Copies a name into a caller's buffer of *size characters (NUL included).
LONG CopyName(const std::string& source, char* name, DWORD* size) {
    if (name == nullptr || size == nullptr) {
        return kBadParameter;
    }
    if (*size < source.size() + 1) {
        *size = static_cast<DWORD>(source.size() + 1);
        return kMoreData;
    }
    std::memcpy(name, source.data(), source.size());
    name[source.size()] = '\0';
    *size = static_cast<DWORD>(source.size());
    return kSuccess;
}

// Hands out a value's type and data the way RegQueryValueEx and RegEnumValue do.
LONG CopyData(const RegistryValue& value, DWORD* type, BYTE* data, DWORD* dataSize) {
    if (type != nullptr) {
        *type = value.type;
    }
    const auto size = static_cast<DWORD>(value.data.size());
    if (data == nullptr) {
        if (dataSize != nullptr) {
            *dataSize = size;
        }
        return kSuccess;
    }
    if (dataSize == nullptr) {
        return kBadParameter;
    }
    if (*dataSize < size) {
        *dataSize = size;
        return kMoreData;
    }
    std::memcpy(data, value.data.data(), value.data.size());
    *dataSize = size;
    return kSuccess;
}

std::optional<std::string_view> RootName(HKEY key) {
    if (key == kHkeyClassesRoot) {
        return "HKEY_CLASSES_ROOT";
    }
    if (key == kHkeyCurrentUser) {
        return "HKEY_CURRENT_USER";
    }
    if (key == kHkeyLocalMachine) {
        return "HKEY_LOCAL_MACHINE";
    }
    if (key == kHkeyUsers) {
        return "HKEY_USERS";
    }
    return std::nullopt;
}

} // namespace

HostRegistry::HostRegistry(std::filesystem::path file) : file_(std::move(file)) {}

bool HostRegistry::Load(std::string& error) {
    tree_ = RegistryTree();
    saved_.clear();
    loadFailed_ = false;
    std::error_code ignored;
    const auto status = std::filesystem::symlink_status(file_, ignored);
    if (std::filesystem::is_symlink(status)) {
        // The registry is this folder's own file: a link would read and later replace
        // what lies elsewhere.
        error = file_.string() + ": a symbolic link, not the registry file itself";
        loadFailed_ = true;
        return false;
    }
    if (!std::filesystem::exists(status)) {
        return true;
    }
    auto text = ReadWholeFile(file_, Links::Refuse);
    if (!text) {
        error = file_.string() + ": the registry file cannot be read";
        loadFailed_ = true;
        return false;
    }
    RegistryTree loaded;
    std::string message;
    if (!ParseRegistryText(*text, loaded, message)) {
        error = file_.string() + ": " + message;
        loadFailed_ = true;
        return false;
    }
    tree_ = std::move(loaded);
    saved_ = std::move(*text);
    return true;
}

DWORD HostRegistry::Save() {
    if (loadFailed_) {
        return static_cast<DWORD>(kErrorRegistryIoFailed);
    }
    std::string text = FormatRegistryText(tree_);
    if (text == saved_) {
        return kErrorSuccess;
    }
    if (const DWORD fault = faults_ != nullptr ? faults_->Call(FaultKind::Write, file_) : 0) {
        return fault;
    }
    const DWORD error = ReplaceFileAtomically(file_, text);
    if (error == kErrorSuccess) {
        saved_ = std::move(text);
        if (faults_ != nullptr) {
            faults_->Written();
        }
    }
    return error;
}

LONG HostRegistry::Commit() {
    if (Save() == kErrorSuccess) {
        return kSuccess;
    }
    // The change could not be kept: forget it, so that memory and file agree.
    Revert();
    return kErrorRegistryIoFailed;
}

void HostRegistry::Revert() {
    RegistryTree previous;
    std::string ignored;
    if (!saved_.empty()) {
        ParseRegistryText(saved_, previous, ignored);
    }
    tree_ = std::move(previous);
}

std::optional<std::string> HostRegistry::PathOf(HKEY key) const {
    if (const auto root = RootName(key)) {
        return std::string(*root);
    }
    const auto it = open_.find(key.value);
    if (it == open_.end()) {
        return std::nullopt;
    }
    return it->second;
}

RegistryKey* HostRegistry::Resolve(HKEY key, LONG* error) {
    const auto path = PathOf(key);
    if (!path) {
        *error = kBadHandle;
        return nullptr;
    }
    RegistryKey* found = tree_.Find(*path);
    *error = found == nullptr ? kNotFound : kSuccess;
    return found;
}

HKEY HostRegistry::NewHandle(std::string path) {
    const HKEY handle{nextHandle_++};
    open_.emplace(handle.value, std::move(path));
    return handle;
}

LONG HostRegistry::RegOpenKeyEx(HKEY key, const char* subKey, DWORD, REGSAM, HKEY* result) {
    if (result == nullptr) {
        return kBadParameter;
    }
    *result = HKEY{};
    LONG error = kSuccess;
    RegistryKey* base = Resolve(key, &error);
    if (base == nullptr) {
        return error;
    }
    if (base->Find(OrEmpty(subKey)) == nullptr) {
        return kNotFound;
    }
    *result = NewHandle(JoinPath(*PathOf(key), OrEmpty(subKey)));
    return kSuccess;
}

LONG HostRegistry::RegCreateKeyEx(HKEY key, const char* subKey, DWORD, REGSAM, HKEY* result,
                                  DWORD* disposition) {
    if (result == nullptr || !IsWritableName(OrEmpty(subKey))) {
        return kBadParameter;
    }
    *result = HKEY{};
    LONG error = kSuccess;
    RegistryKey* base = Resolve(key, &error);
    if (base == nullptr) {
        return error;
    }
    bool created = false;
    base->Create(OrEmpty(subKey), &created);
    if (created) {
        if (const LONG saved = Commit(); saved != kSuccess) {
            return saved;
        }
    }
    if (disposition != nullptr) {
        *disposition = created ? kRegCreatedNewKey : kRegOpenedExistingKey;
    }
    *result = NewHandle(JoinPath(*PathOf(key), OrEmpty(subKey)));
    return kSuccess;
}

LONG HostRegistry::RegQueryValueEx(HKEY key, const char* valueName, DWORD* type, BYTE* data,
                                   DWORD* dataSize) {
    LONG error = kSuccess;
    const RegistryKey* found = Resolve(key, &error);
    if (found == nullptr) {
        return error;
    }
    const RegistryValue* value = found->FindValue(OrEmpty(valueName));
    if (value == nullptr) {
        return kNotFound;
    }
    return CopyData(*value, type, data, dataSize);
}

LONG HostRegistry::RegSetValueEx(HKEY key, const char* valueName, DWORD type, const BYTE* data,
                                 DWORD dataSize) {
    if ((data == nullptr && dataSize != 0) || !IsWritableName(OrEmpty(valueName))) {
        return kBadParameter;
    }
    LONG error = kSuccess;
    RegistryKey* found = Resolve(key, &error);
    if (found == nullptr) {
        return error;
    }
    std::string bytes(reinterpret_cast<const char*>(data), dataSize);
    const RegistryValue* old = found->FindValue(OrEmpty(valueName));
    if (old != nullptr && old->type == type && old->data == bytes) {
        return kSuccess;
    }
    found->SetValue(OrEmpty(valueName), type, std::move(bytes));
    return Commit();
}

LONG HostRegistry::RegEnumKeyEx(HKEY key, DWORD index, char* name, DWORD* nameSize) {
    LONG error = kSuccess;
    const RegistryKey* found = Resolve(key, &error);
    if (found == nullptr) {
        return error;
    }
    if (index >= found->Children().size()) {
        return kNoMoreItems;
    }
    return CopyName(found->Children()[index]->Name(), name, nameSize);
}

LONG HostRegistry::RegEnumValue(HKEY key, DWORD index, char* name, DWORD* nameSize, DWORD* type,
                                BYTE* data, DWORD* dataSize) {
    LONG error = kSuccess;
    const RegistryKey* found = Resolve(key, &error);
    if (found == nullptr) {
        return error;
    }
    if (index >= found->Values().size()) {
        return kNoMoreItems;
    }
    const RegistryValue& value = found->Values()[index];
    if (const LONG copied = CopyName(value.name, name, nameSize); copied != kSuccess) {
        return copied;
    }
    return CopyData(value, type, data, dataSize);
}

LONG HostRegistry::RegDeleteValue(HKEY key, const char* valueName) {
    LONG error = kSuccess;
    RegistryKey* found = Resolve(key, &error);
    if (found == nullptr) {
        return error;
    }
    if (!found->RemoveValue(OrEmpty(valueName))) {
        return kNotFound;
    }
    return Commit();
}

LONG HostRegistry::RegDeleteKey(HKEY key, const char* subKey) {
    const auto names = SplitRegistryPath(OrEmpty(subKey));
    if (names.empty()) {
        return kBadParameter;
    }
    LONG error = kSuccess;
    RegistryKey* parent = Resolve(key, &error);
    for (std::size_t i = 0; parent != nullptr && i + 1 < names.size(); ++i) {
        parent = parent->FindChild(names[i]);
        error = parent == nullptr ? kNotFound : kSuccess;
    }
    if (parent == nullptr) {
        return error;
    }
    if (!parent->RemoveChild(names.back())) {
        return kNotFound;
    }
    return Commit();
}

LONG HostRegistry::RegCloseKey(HKEY key) {
    if (RootName(key)) {
        return kSuccess;
    }
    return open_.erase(key.value) == 1 ? kSuccess : kBadHandle;
}

} // namespace tl::host
