#include "platform/win32/win32_registry.h"

#include "platform/win32/win32_api.h"

#include <cstring>
#include <string>
#include <vector>

// The predefined roots, taken outside namespace tl, whose own HKEY the headers' macros would
// otherwise name.
namespace {
const ::HKEY kNativeClassesRoot = HKEY_CLASSES_ROOT;
const ::HKEY kNativeCurrentUser = HKEY_CURRENT_USER;
const ::HKEY kNativeLocalMachine = HKEY_LOCAL_MACHINE;
const ::HKEY kNativeUsers = HKEY_USERS;
} // namespace

namespace tl::win32 {
namespace {

constexpr LONG kSuccess = ERROR_SUCCESS;
constexpr ::DWORD kLongestKeyName = 256;     // 255 characters and the NUL
constexpr ::DWORD kLongestValueName = 16384; // 16,383 characters and the NUL

::HKEY AsNative(void* key) {
    return static_cast<::HKEY>(key);
}

LONG CopyName(const std::string& source, char* name, DWORD* size) {
    if (name == nullptr || size == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    if (*size < source.size() + 1) {
        *size = static_cast<DWORD>(source.size() + 1);
        return ERROR_MORE_DATA;
    }
    std::memcpy(name, source.data(), source.size());
    name[source.size()] = '\0';
    *size = static_cast<DWORD>(source.size());
    return kSuccess;
}

// Deletes every subkey of `key` and below.
void DeleteSubkeys(::HKEY key) {
    char name[kLongestKeyName];
    for (;;) {
        ::DWORD length = kLongestKeyName;
        if (::RegEnumKeyExA(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            kSuccess) {
            return;
        }
        ::HKEY child = nullptr;
        if (::RegOpenKeyExA(key, name, 0, KEY_ALL_ACCESS, &child) == kSuccess) {
            DeleteSubkeys(child);
            ::RegCloseKey(child);
        }
        if (::RegDeleteKeyA(key, name) != kSuccess) {
            return;
        }
    }
}

} // namespace

Win32Registry::~Win32Registry() {
    keys_.CloseAll([](void* key) { ::RegCloseKey(AsNative(key)); });
}

void* Win32Registry::Native(HKEY key) const {
    if (key == kHkeyClassesRoot) {
        return kNativeClassesRoot;
    }
    if (key == kHkeyCurrentUser) {
        return kNativeCurrentUser;
    }
    if (key == kHkeyLocalMachine) {
        return kNativeLocalMachine;
    }
    if (key == kHkeyUsers) {
        return kNativeUsers;
    }
    return keys_.Find(key.value).value_or(nullptr);
}

HKEY Win32Registry::Adopt(void* native) {
    return HKEY{keys_.Add(native)};
}

LONG Win32Registry::RegOpenKeyEx(HKEY key, const char* subKey, DWORD options, REGSAM access,
                                 HKEY* result) {
    void* parent = Native(key);
    if (parent == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    if (result == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    ::HKEY opened = nullptr;
    LONG error = ::RegOpenKeyExA(AsNative(parent), subKey, options, access, &opened);
    if (error == kSuccess) {
        *result = Adopt(opened);
    }
    return error;
}

LONG Win32Registry::RegCreateKeyEx(HKEY key, const char* subKey, DWORD options, REGSAM access,
                                   HKEY* result, DWORD* disposition) {
    void* parent = Native(key);
    if (parent == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    if (result == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    ::HKEY created = nullptr;
    ::DWORD how = 0;
    LONG error = ::RegCreateKeyExA(AsNative(parent), subKey == nullptr ? "" : subKey, 0, nullptr,
                                   options, access, nullptr, &created, &how);
    if (error != kSuccess) {
        return error;
    }
    *result = Adopt(created);
    if (disposition != nullptr) {
        *disposition = static_cast<DWORD>(how);
    }
    return kSuccess;
}

LONG Win32Registry::RegQueryValueEx(HKEY key, const char* valueName, DWORD* type, BYTE* data,
                                    DWORD* dataSize) {
    void* native = Native(key);
    if (native == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    ::DWORD kind = 0;
    ::DWORD size = dataSize != nullptr ? *dataSize : 0;
    LONG error = ::RegQueryValueExA(AsNative(native), valueName, nullptr, &kind, data,
                                    dataSize != nullptr ? &size : nullptr);
    if (error == kSuccess || error == ERROR_MORE_DATA) {
        if (type != nullptr) {
            *type = static_cast<DWORD>(kind);
        }
        if (dataSize != nullptr) {
            *dataSize = static_cast<DWORD>(size);
        }
    }
    return error;
}

LONG Win32Registry::RegSetValueEx(HKEY key, const char* valueName, DWORD type, const BYTE* data,
                                  DWORD dataSize) {
    void* native = Native(key);
    if (native == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    if (data == nullptr && dataSize != 0) {
        return ERROR_INVALID_PARAMETER;
    }
    return ::RegSetValueExA(AsNative(native), valueName, 0, type, data, dataSize);
}

LONG Win32Registry::RegEnumKeyEx(HKEY key, DWORD index, char* name, DWORD* nameSize) {
    void* native = Native(key);
    if (native == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    char whole[kLongestKeyName];
    ::DWORD length = kLongestKeyName;
    LONG error = ::RegEnumKeyExA(AsNative(native), index, whole, &length, nullptr, nullptr, nullptr,
                                 nullptr);
    if (error != kSuccess) {
        return error;
    }
    return CopyName(std::string(whole, length), name, nameSize);
}

LONG Win32Registry::RegEnumValue(HKEY key, DWORD index, char* name, DWORD* nameSize, DWORD* type,
                                 BYTE* data, DWORD* dataSize) {
    void* native = Native(key);
    if (native == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    std::vector<char> whole(kLongestValueName);
    ::DWORD length = kLongestValueName;
    ::DWORD kind = 0;
    ::DWORD size = 0;
    LONG error = ::RegEnumValueA(AsNative(native), index, whole.data(), &length, nullptr, &kind,
                                 nullptr, &size);
    if (error != kSuccess) {
        return error;
    }
    const std::string valueName(whole.data(), length);
    if (LONG copied = CopyName(valueName, name, nameSize); copied != kSuccess) {
        return copied;
    }
    if (type != nullptr) {
        *type = static_cast<DWORD>(kind);
    }
    if (data == nullptr) {
        if (dataSize != nullptr) {
            *dataSize = static_cast<DWORD>(size);
        }
        return kSuccess;
    }
    if (dataSize == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    return RegQueryValueEx(key, valueName.c_str(), nullptr, data, dataSize);
}

LONG Win32Registry::RegDeleteValue(HKEY key, const char* valueName) {
    void* native = Native(key);
    if (native == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    return ::RegDeleteValueA(AsNative(native), valueName);
}

LONG Win32Registry::RegDeleteKey(HKEY key, const char* subKey) {
    void* native = Native(key);
    if (native == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    if (subKey == nullptr || *subKey == '\0') {
        return ERROR_INVALID_PARAMETER;
    }
    ::HKEY doomed = nullptr;
    LONG error = ::RegOpenKeyExA(AsNative(native), subKey, 0, KEY_ALL_ACCESS, &doomed);
    if (error != kSuccess) {
        return error;
    }
    DeleteSubkeys(doomed);
    ::RegCloseKey(doomed);
    return ::RegDeleteKeyA(AsNative(native), subKey);
}

LONG Win32Registry::RegCloseKey(HKEY key) {
    if (key == kHkeyClassesRoot || key == kHkeyCurrentUser || key == kHkeyLocalMachine ||
        key == kHkeyUsers) {
        return kSuccess;
    }
    auto native = keys_.Remove(key.value);
    if (!native) {
        return ERROR_INVALID_HANDLE;
    }
    return ::RegCloseKey(AsNative(*native));
}

} // namespace tl::win32
