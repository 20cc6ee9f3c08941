#include "platform/win32/win32_file_system.h"

#include "platform/win32/win32_api.h"
#include "platform/win32/windows95_fallbacks.h"

#include <string>

namespace tl::win32 {
namespace {

// The ports' paths are views; the API wants NUL-ended strings.
std::string Z(std::string_view text) {
    return std::string(text);
}

::FILETIME ToNative(const FILETIME& time) {
    return ::FILETIME{time.dwLowDateTime, time.dwHighDateTime};
}

FILETIME FromNative(const ::FILETIME& time) {
    return FILETIME{static_cast<DWORD>(time.dwLowDateTime),
                    static_cast<DWORD>(time.dwHighDateTime)};
}

} // namespace

Win32FileSystem::~Win32FileSystem() {
    handles_.CloseAll([](void* handle) { ::CloseHandle(handle); });
}

template <typename T> T Win32FileSystem::Done(T result) {
    lastError_ = static_cast<DWORD>(::GetLastError());
    return result;
}

FileHandle Win32FileSystem::CreateFile(std::string_view path, DWORD access, DWORD shareMode,
                                       DWORD disposition) {
    HANDLE handle = ::CreateFileA(Z(path).c_str(), access, shareMode, nullptr, disposition,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
    // Also on success: 183 tells CREATE_ALWAYS and OPEN_ALWAYS that the file was there.
    lastError_ = static_cast<DWORD>(::GetLastError());
    if (handle == INVALID_HANDLE_VALUE) {
        return {};
    }
    return FileHandle{handles_.Add(handle)};
}

BOOL Win32FileSystem::ReadFile(FileHandle file, void* buffer, DWORD count, DWORD* read) {
    auto handle = handles_.Find(file.value);
    if (!handle) {
        return Fail(FALSE, kErrorInvalidHandle);
    }
    ::DWORD done = 0;
    BOOL ok = ::ReadFile(*handle, buffer, count, &done, nullptr);
    if (read != nullptr) {
        *read = static_cast<DWORD>(done);
    }
    return Done(ok);
}

BOOL Win32FileSystem::WriteFile(FileHandle file, const void* buffer, DWORD count, DWORD* written) {
    auto handle = handles_.Find(file.value);
    if (!handle) {
        return Fail(FALSE, kErrorInvalidHandle);
    }
    ::DWORD done = 0;
    BOOL ok = ::WriteFile(*handle, buffer, count, &done, nullptr);
    if (written != nullptr) {
        *written = static_cast<DWORD>(done);
    }
    return Done(ok);
}

DWORD Win32FileSystem::SetFilePointer(FileHandle file, LONG distance, DWORD method) {
    auto handle = handles_.Find(file.value);
    if (!handle) {
        return Fail(kInvalidFileSize, kErrorInvalidHandle);
    }
    ::SetLastError(0);
    return Done(static_cast<DWORD>(::SetFilePointer(*handle, distance, nullptr, method)));
}

DWORD Win32FileSystem::GetFileSize(FileHandle file) {
    auto handle = handles_.Find(file.value);
    if (!handle) {
        return Fail(kInvalidFileSize, kErrorInvalidHandle);
    }
    ::SetLastError(0);
    return Done(static_cast<DWORD>(::GetFileSize(*handle, nullptr)));
}

BOOL Win32FileSystem::CloseHandle(FileHandle file) {
    auto handle = handles_.Remove(file.value);
    if (!handle) {
        return Fail(FALSE, kErrorInvalidHandle);
    }
    return Done(::CloseHandle(*handle));
}

BOOL Win32FileSystem::DeleteFile(std::string_view path) {
    return Done(::DeleteFileA(Z(path).c_str()));
}

DWORD Win32FileSystem::GetFileAttributes(std::string_view path) {
    return Done(static_cast<DWORD>(::GetFileAttributesA(Z(path).c_str())));
}

BOOL Win32FileSystem::MoveFileEx(std::string_view existing, std::string_view newName, DWORD flags) {
    const std::string from = Z(existing);
    const std::string to = Z(newName);
    if (!moveFileExStub_) {
        if (::MoveFileExA(from.c_str(), to.c_str(), flags)) {
            return Done(TRUE);
        }
        if (::GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) {
            return Done(FALSE);
        }
    }
    return Done(MoveFileWithoutMoveFileEx(from.c_str(), to.c_str(), flags));
}

BOOL Win32FileSystem::GetFileTime(FileHandle file, FILETIME* creation, FILETIME* lastAccess,
                                  FILETIME* lastWrite) {
    auto handle = handles_.Find(file.value);
    if (!handle) {
        return Fail(FALSE, kErrorInvalidHandle);
    }
    ::FILETIME times[3] = {};
    BOOL ok = ::GetFileTime(*handle, &times[0], &times[1], &times[2]);
    if (ok) {
        FILETIME* out[3] = {creation, lastAccess, lastWrite};
        for (int i = 0; i < 3; ++i) {
            if (out[i] != nullptr) {
                *out[i] = FromNative(times[i]);
            }
        }
    }
    return Done(ok);
}

BOOL Win32FileSystem::SetFileTime(FileHandle file, const FILETIME* creation,
                                  const FILETIME* lastAccess, const FILETIME* lastWrite) {
    auto handle = handles_.Find(file.value);
    if (!handle) {
        return Fail(FALSE, kErrorInvalidHandle);
    }
    ::FILETIME times[3] = {};
    const FILETIME* in[3] = {creation, lastAccess, lastWrite};
    const ::FILETIME* native[3] = {};
    for (int i = 0; i < 3; ++i) {
        if (in[i] != nullptr) {
            times[i] = ToNative(*in[i]);
            native[i] = &times[i];
        }
    }
    return Done(::SetFileTime(*handle, native[0], native[1], native[2]));
}

BOOL Win32FileSystem::CreateDirectory(std::string_view path) {
    return Done(::CreateDirectoryA(Z(path).c_str(), nullptr));
}

BOOL Win32FileSystem::RemoveDirectory(std::string_view path) {
    return Done(::RemoveDirectoryA(Z(path).c_str()));
}

BOOL Win32FileSystem::SetCurrentDirectory(std::string_view path) {
    return Done(::SetCurrentDirectoryA(Z(path).c_str()));
}

std::string Win32FileSystem::GetCurrentDirectory() const {
    std::string text(MAX_PATH, '\0');
    for (;;) {
        ::DWORD length = ::GetCurrentDirectoryA(static_cast<::DWORD>(text.size()), text.data());
        if (length == 0) {
            return {};
        }
        if (length < text.size()) {
            text.resize(length);
            return text;
        }
        text.resize(length); // too small: length is the size needed, with the NUL
    }
}

BOOL Win32FileSystem::GetDiskFreeSpace(std::string_view rootPath, DiskFreeSpace* space) {
    ::DWORD counts[4] = {};
    BOOL ok =
        ::GetDiskFreeSpaceA(Z(rootPath).c_str(), &counts[0], &counts[1], &counts[2], &counts[3]);
    if (ok && space != nullptr) {
        *space = DiskFreeSpace{static_cast<DWORD>(counts[0]), static_cast<DWORD>(counts[1]),
                               static_cast<DWORD>(counts[2]), static_cast<DWORD>(counts[3])};
    }
    return Done(ok);
}

BOOL Win32FileSystem::GetDiskFreeSpaceEx(std::string_view path, DiskFreeSpaceEx* space) {
    using FreeSpaceEx = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
    HMODULE kernel = ::GetModuleHandleA("KERNEL32.DLL");
    auto getEx = kernel == nullptr ? nullptr
                                   : reinterpret_cast<FreeSpaceEx>(reinterpret_cast<void*>(
                                         ::GetProcAddress(kernel, "GetDiskFreeSpaceExA")));
    if (getEx != nullptr) {
        ULARGE_INTEGER available{}, total{}, free{};
        BOOL ok = getEx(Z(path).c_str(), &available, &total, &free);
        if (ok && space != nullptr) {
            *space = DiskFreeSpaceEx{available.QuadPart, total.QuadPart, free.QuadPart};
        }
        return Done(ok);
    }
    return Done(DiskFreeSpaceFromClusters(path, space));
}

DWORD Win32FileSystem::GetLogicalDrives() const {
    return static_cast<DWORD>(::GetLogicalDrives());
}

UINT Win32FileSystem::GetDriveType(std::string_view rootPath) const {
    return ::GetDriveTypeA(Z(rootPath).c_str());
}

} // namespace tl::win32
