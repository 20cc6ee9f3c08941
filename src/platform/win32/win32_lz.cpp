#include "platform/win32/win32_lz.h"

#include "platform/compressed_name.h"
#include "platform/win32/win32_api.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace tl::win32 {
namespace {

constexpr WORD kAccessMask = 0x3;
constexpr WORD kShareMask = 0x70;
constexpr DWORD kErrorInvalidData = 13;

// The expanded length in the header of an MS-DOS COMPRESS (SZDD) file: "SZDD", 88 F0 27 33,
// the method, the last letter of the name, then the length; none for any other file.
std::optional<std::uint32_t> PromisedLength(HANDLE file) {
    unsigned char header[14] = {};
    ::DWORD read = 0;
    const bool whole = ::ReadFile(file, header, sizeof header, &read, nullptr) && read == 14;
    ::SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    static constexpr unsigned char kMagic[8] = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33};
    if (!whole || std::memcmp(header, kMagic, sizeof kMagic) != 0) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(header[10]) | static_cast<std::uint32_t>(header[11]) << 8 |
           static_cast<std::uint32_t>(header[12]) << 16 |
           static_cast<std::uint32_t>(header[13]) << 24;
}

::DWORD DesiredAccess(WORD style) {
    switch (style & kAccessMask) {
    case kOfWrite:
        return GENERIC_WRITE;
    case kOfReadWrite:
        return GENERIC_READ | GENERIC_WRITE;
    default:
        return GENERIC_READ;
    }
}

::DWORD ShareMode(WORD style) {
    switch (style & kShareMask) {
    case kOfShareExclusive:
        return 0;
    case kOfShareDenyWrite:
        return FILE_SHARE_READ;
    case kOfShareDenyRead:
        return FILE_SHARE_WRITE;
    default:
        return FILE_SHARE_READ | FILE_SHARE_WRITE;
    }
}

// A file handle as LZ32 and _lwrite take it (an HFILE is a Win32 file handle in a Win32 program).
LzHandle AsHfile(HANDLE file) {
    return static_cast<LzHandle>(reinterpret_cast<std::intptr_t>(file));
}

HANDLE AsHandle(LzHandle file) {
    return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(file));
}

LzHandle Fail(OfStruct& of, DWORD error) {
    of.nErrCode = static_cast<WORD>(error);
    return kHfileError;
}

HANDLE Open(const std::string& name, WORD style) {
    return ::CreateFileA(name.c_str(), DesiredAccess(style), ShareMode(style), nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The system's own prompt for a missing file (OpenFile with OF_PROMPT: a box with Retry and
// Cancel) is shown to a person as before; an unattended run has it turned off
// (SEM_NOOPENFILEERRORBOX). A path too long for OpenFile gets no prompt.
HANDLE OpenAfterPrompt(const std::string& name, WORD style) {
    if (name.size() >= OFS_MAXPATHNAME) {
        return INVALID_HANDLE_VALUE;
    }
    OFSTRUCT native{};
    native.cBytes = sizeof native;
    if (::OpenFile(name.c_str(), &native, OF_EXIST | OF_PROMPT | (style & kShareMask)) ==
        HFILE_ERROR) {
        return INVALID_HANDLE_VALUE;
    }
    return Open(name, style);
}

} // namespace

Win32LzExpand::Win32LzExpand(const CodePage& codePage, EventSink& events)
    : codePage_(codePage), events_(events) {}

Win32LzExpand::~Win32LzExpand() {
    for (LzHandle file : open_) {
        ::LZClose(file);
    }
}

// LZ32's LZOpenFileA goes through OpenFile, which takes paths of at most 128 bytes and, when it
// cannot create a file, creates one under another name (NAME.EXT_ in place of NAME.EXT). Here
// every file is opened with CreateFileA under exactly the name asked for, up to the system's
// path length; only the reading of a compressed file is left to LZ32 (LZInit).
LzHandle Win32LzExpand::LZOpenFile(std::string_view fileName, OfStruct& of, WORD style) {
    const std::string name(fileName);
    of = OfStruct{};
    of.cBytes = OfStruct::kSize;
    of.szPathName = name.substr(0, OfStruct::kMaxPathName - 1);
    const bool removable = name.size() >= 3 && name[1] == ':' &&
                           ::GetDriveTypeA(name.substr(0, 3).c_str()) == DRIVE_REMOVABLE;
    of.fFixedDisk = removable ? BYTE{0} : BYTE{1};
    if ((style & kOfParse) != 0) {
        return 0;
    }
    if ((style & kOfCreate) != 0) {
        // CREATE_ALWAYS empties a file that is there and fails on a directory (5): the data goes
        // to this name or nowhere.
        HANDLE file = ::CreateFileA(name.c_str(), DesiredAccess(style) | GENERIC_WRITE,
                                    ShareMode(style), nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            return Fail(of, ::GetLastError());
        }
        if ((style & kOfExist) != 0) {
            ::CloseHandle(file);
            return 1;
        }
        const LzHandle handle = AsHfile(file);
        open_.insert(handle);
        return handle;
    }
    if ((style & kOfDelete) != 0) {
        return ::DeleteFileA(name.c_str()) ? 1 : Fail(of, ::GetLastError());
    }

    // Only a file looked for to be read is also looked for under its compressed name: writing
    // never touches a file the caller did not name.
    const bool reading = (style & kAccessMask) == kOfRead;
    HANDLE file = Open(name, style);
    DWORD error = file == INVALID_HANDLE_VALUE ? ::GetLastError() : kErrorSuccess;
    if (file == INVALID_HANDLE_VALUE && reading) {
        const std::string compressed = CompressedName(name);
        file = Open(compressed, style);
        if (file != INVALID_HANDLE_VALUE) {
            of.szPathName = compressed.substr(0, OfStruct::kMaxPathName - 1);
        }
    }
    if (file == INVALID_HANDLE_VALUE && (style & kOfPrompt) != 0 && error != kErrorAccessDenied) {
        file = OpenAfterPrompt(name, style);
        if (file == INVALID_HANDLE_VALUE) {
            events_.Record(PlatformEvent{"prompt", {{"file", codePage_.ToUtf8(fileName)}}});
        }
    }
    if (file == INVALID_HANDLE_VALUE) {
        return Fail(of, error);
    }
    if ((style & kOfExist) != 0) {
        ::CloseHandle(file);
        return 1;
    }
    if (!reading) {
        const LzHandle handle = AsHfile(file);
        open_.insert(handle);
        return handle;
    }
    const std::optional<std::uint32_t> promised = PromisedLength(file);
    const LzHandle plain = AsHfile(file);
    const LzHandle handle = ::LZInit(plain);
    if (handle <= 0) {
        // A compressed file LZ32 cannot expand (another method, no room for its state).
        ::CloseHandle(file);
        return Fail(of, handle == LZERROR_GLOBALLOC ? kErrorNotEnoughMemory : kErrorInvalidData);
    }
    open_.insert(handle);
    if (promised) {
        promised_[handle] = *promised;
    }
    return handle;
}

INT Win32LzExpand::LZRead(LzHandle file, void* buffer, INT count) {
    promised_.erase(file); // LZCopy then copies only the rest
    return ::LZRead(file, static_cast<LPSTR>(buffer), count);
}

UINT Win32LzExpand::LWrite(LzHandle file, const void* buffer, UINT count) {
    ::DWORD written = 0;
    if (!::WriteFile(AsHandle(file), buffer, count, &written, nullptr)) {
        return 0xFFFFFFFFu;
    }
    return written;
}

LONG Win32LzExpand::LZCopy(LzHandle source, LzHandle dest) {
    const LONG written = ::LZCopy(source, dest);
    auto promised = promised_.find(source);
    if (written < 0 || promised == promised_.end()) {
        return written;
    }
    const bool whole = static_cast<std::uint32_t>(written) == promised->second;
    promised_.erase(promised);
    return whole ? written : kLzErrorRead;
}

void Win32LzExpand::LZClose(LzHandle file) {
    open_.erase(file);
    promised_.erase(file);
    ::LZClose(file);
}

} // namespace tl::win32
