#include "platform/win32/win32_lz.h"

#include "platform/win32/win32_api.h"

#include <cstring>
#include <string>

namespace tl::win32 {
namespace {

constexpr WORD kOpenStyles = kOfExist | kOfDelete | kOfParse;
constexpr WORD kAccessStyles = kOfWrite | kOfReadWrite | kOfCreate;

// The expanded length in the header of an MS-DOS COMPRESS (SZDD) file: "SZDD", 88 F0 27 33,
// the method, the last letter of the name, then the length; none for any other file.
std::optional<std::uint32_t> PromisedLength(const char* path) {
    HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    unsigned char header[14] = {};
    ::DWORD read = 0;
    const bool whole = ::ReadFile(file, header, sizeof header, &read, nullptr) && read == 14;
    ::CloseHandle(file);
    static constexpr unsigned char kMagic[8] = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33};
    if (!whole || std::memcmp(header, kMagic, sizeof kMagic) != 0) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(header[10]) | static_cast<std::uint32_t>(header[11]) << 8 |
           static_cast<std::uint32_t>(header[12]) << 16 |
           static_cast<std::uint32_t>(header[13]) << 24;
}

} // namespace

Win32LzExpand::Win32LzExpand(const CodePage& codePage, EventSink& events)
    : codePage_(codePage), events_(events) {}

Win32LzExpand::~Win32LzExpand() {
    for (LzHandle file : open_) {
        ::LZClose(file);
    }
}

LzHandle Win32LzExpand::LZOpenFile(std::string_view fileName, OfStruct& of, WORD style) {
    std::string name(fileName);
    OFSTRUCT native{};
    native.cBytes = sizeof native;
    INT handle = ::LZOpenFileA(name.data(), &native, style);
    of.cBytes = OfStruct::kSize;
    of.fFixedDisk = native.fFixedDisk;
    of.nErrCode = native.nErrCode;
    of.szPathName.assign(native.szPathName, strnlen(native.szPathName, OfStruct::kMaxPathName - 1));
    if (handle < 0) {
        if ((style & kOfPrompt) != 0 && native.nErrCode != kErrorAccessDenied) {
            events_.Record(PlatformEvent{"prompt", {{"file", codePage_.ToUtf8(fileName)}}});
        }
        return handle;
    }
    // Testing, deleting and parsing leave no file open.
    if ((style & kOpenStyles) != 0) {
        return handle;
    }
    open_.insert(handle);
    if ((style & kAccessStyles) == 0) {
        if (auto length = PromisedLength(native.szPathName)) {
            promised_[handle] = *length;
        }
    }
    return handle;
}

INT Win32LzExpand::LZRead(LzHandle file, void* buffer, INT count) {
    promised_.erase(file); // LZCopy then copies only the rest
    return ::LZRead(file, static_cast<LPSTR>(buffer), count);
}

UINT Win32LzExpand::LWrite(LzHandle file, const void* buffer, UINT count) {
    return ::_lwrite(file, static_cast<LPCCH>(buffer), count);
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
