// The few Win32 scalar types and error codes that the ports speak.
#pragma once

#include <cstdint>

namespace tl {

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using UINT = std::uint32_t;
using BOOL = int;

// FILETIME: 100-nanosecond intervals since 1 January 1601 (UTC unless said otherwise).
struct FILETIME {
    DWORD dwLowDateTime = 0;
    DWORD dwHighDateTime = 0;
    friend bool operator==(const FILETIME&, const FILETIME&) = default;
};

inline std::uint64_t FileTimeValue(const FILETIME& time) {
    return (std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
}
inline FILETIME MakeFileTime(std::uint64_t value) {
    return {static_cast<DWORD>(value), static_cast<DWORD>(value >> 32)};
}

// GetLastError codes the installer acts on or reports.
inline constexpr DWORD kErrorSuccess = 0;
inline constexpr DWORD kErrorFileNotFound = 2;
inline constexpr DWORD kErrorPathNotFound = 3;
inline constexpr DWORD kErrorAccessDenied = 5;
inline constexpr DWORD kErrorInvalidHandle = 6;
inline constexpr DWORD kErrorNotEnoughMemory = 8;
inline constexpr DWORD kErrorNotReady = 21;
inline constexpr DWORD kErrorSharingViolation = 32;
inline constexpr DWORD kErrorNotSameDevice = 17;
inline constexpr DWORD kErrorHandleEof = 38;
inline constexpr DWORD kErrorFileExists = 80;
inline constexpr DWORD kErrorInvalidParameter = 87;
inline constexpr DWORD kErrorDiskFull = 112;
inline constexpr DWORD kErrorInsufficientBuffer = 122;
inline constexpr DWORD kErrorInvalidName = 123;
inline constexpr DWORD kErrorNegativeSeek = 131;
inline constexpr DWORD kErrorDirNotEmpty = 145;
inline constexpr DWORD kErrorAlreadyExists = 183;
inline constexpr DWORD kErrorMoreData = 234;
inline constexpr DWORD kErrorNoMoreItems = 259;
inline constexpr DWORD kErrorDirectory = 267;
inline constexpr DWORD kErrorUnknownPrinterDriver = 1797;
inline constexpr DWORD kErrorPrinterAlreadyExists = 1802;

} // namespace tl
