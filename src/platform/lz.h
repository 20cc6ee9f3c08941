// Port: LZ expansion, shaped like the LZ32 calls (LZOpenFileA, LZRead, LZCopy, LZClose).
// A file opened for reading that is MS-DOS COMPRESS (SZDD) data is expanded on the way; any other
// file is read as it is. Paths are ANSI (code page 949) Windows paths.
#pragma once

#include "platform/win_types.h"

#include <string>
#include <string_view>

namespace tl {

using INT = std::int32_t;

// An LZ file handle: a positive number, or a negative HFILE_ERROR / LZERROR_* code.
using LzHandle = INT;
inline constexpr LzHandle kHfileError = -1;

// OpenFile / LZOpenFile styles (wStyle).
inline constexpr WORD kOfRead = 0x0000;
inline constexpr WORD kOfWrite = 0x0001;
inline constexpr WORD kOfReadWrite = 0x0002;
inline constexpr WORD kOfShareCompat = 0x0000;
inline constexpr WORD kOfShareExclusive = 0x0010;
inline constexpr WORD kOfShareDenyWrite = 0x0020;
inline constexpr WORD kOfShareDenyRead = 0x0030;
inline constexpr WORD kOfShareDenyNone = 0x0040;
inline constexpr WORD kOfParse = 0x0100;
inline constexpr WORD kOfDelete = 0x0200;
inline constexpr WORD kOfVerify = 0x0400;
inline constexpr WORD kOfCancel = 0x0800;
inline constexpr WORD kOfCreate = 0x1000;
inline constexpr WORD kOfPrompt = 0x2000;
inline constexpr WORD kOfExist = 0x4000;
inline constexpr WORD kOfReopen = 0x8000;

// LZCopy / LZRead failures (LZERROR_*).
inline constexpr LONG kLzErrorBadInHandle = -1;
inline constexpr LONG kLzErrorBadOutHandle = -2;
inline constexpr LONG kLzErrorRead = -3;
inline constexpr LONG kLzErrorWrite = -4;
inline constexpr LONG kLzErrorGlobalAlloc = -5;
inline constexpr LONG kLzErrorGlobalLock = -6;
inline constexpr LONG kLzErrorBadValue = -7;
inline constexpr LONG kLzErrorUnknownAlg = -8;

// The Win32 error a failed LZCopy stands for in a record: 29 (write fault) when the destination
// failed, else 30 (read fault).
inline constexpr DWORD kErrorWriteFault = 29;
inline constexpr DWORD kErrorReadFault = 30;
inline constexpr DWORD LzCopyErrorCode(LONG lzError) {
    return lzError == kLzErrorWrite || lzError == kLzErrorBadOutHandle ? kErrorWriteFault
                                                                       : kErrorReadFault;
}

// OFSTRUCT: what LZOpenFile reports about the file it opened or failed to open.
struct OfStruct {
    static constexpr BYTE kSize = 136; // sizeof(OFSTRUCT), stored in cBytes
    static constexpr std::size_t kMaxPathName = 128;
    BYTE cBytes = 0;
    BYTE fFixedDisk = 0;
    WORD nErrCode = 0;      // the GetLastError code of a failure, 0 after success
    std::string szPathName; // the path that was opened (at most kMaxPathName - 1 bytes)
};

class LzExpand {
public:
    virtual ~LzExpand() = default;

    // LZOpenFileA. kOfRead gives a handle that LZRead and LZCopy expand; kOfCreate creates or
    // empties the file for writing; kOfExist and kOfDelete test or delete and return 1. A file
    // that cannot be found for reading is looked for again under its compressed name (the last
    // character of its extension replaced by "_"). With kOfPrompt a file that is still missing
    // makes the platform prompt for it before the call fails. kHfileError on failure, the reason in
    // of.nErrCode (2 file not found, 3 path not found, 5 access denied, ...).
    virtual LzHandle LZOpenFile(std::string_view fileName, OfStruct& of, WORD style) = 0;

    // LZRead: up to count expanded bytes; the number read (0 at the end) or a negative LZERROR.
    virtual INT LZRead(LzHandle file, void* buffer, INT count) = 0;

    // _lwrite on a handle that LZOpenFile opened for writing: count, or 0xFFFFFFFF (HFILE_ERROR)
    // on failure.
    virtual UINT LWrite(LzHandle file, const void* buffer, UINT count) = 0;

    // LZCopy: writes the rest of source, expanded, to dest; the number of bytes written or a
    // negative LZERROR. A compressed source that ends early or is damaged is a failure (never a
    // short file reported as success); the caller deletes the partial destination.
    virtual LONG LZCopy(LzHandle source, LzHandle dest) = 0;

    virtual void LZClose(LzHandle file) = 0;
};

} // namespace tl
