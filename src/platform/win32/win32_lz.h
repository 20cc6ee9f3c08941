// The LZ port on CreateFileA and LZ32 (LZInit, LZRead, LZCopy, LZClose). Files are opened
// under exactly the name asked for, never through OpenFile: that one holds 128 bytes of path,
// and LZOpenFileA falls back to a name of its own choosing when it cannot create a file. A file
// prompt that the system showed for kOfPrompt and that did not bring the file is recorded as a
// "prompt" event, as the host records the prompt it would have shown.
//
// LZ32 expands a compressed file that ends early as far as it goes and calls that success. Here
// LZCopy compares what it wrote with the length the file's header promises and fails with
// kLzErrorRead when they differ, so a cut file on a bad disk is never installed as a good one.
#pragma once

#include "platform/code_page.h"
#include "platform/events.h"
#include "platform/lz.h"

#include <cstdint>
#include <map>
#include <optional>
#include <set>

namespace tl::win32 {

class Win32LzExpand final : public LzExpand {
public:
    Win32LzExpand(const CodePage& codePage, EventSink& events);
    ~Win32LzExpand() override;
    Win32LzExpand(const Win32LzExpand&) = delete;
    Win32LzExpand& operator=(const Win32LzExpand&) = delete;

    LzHandle LZOpenFile(std::string_view fileName, OfStruct& of, WORD style) override;
    INT LZRead(LzHandle file, void* buffer, INT count) override;
    UINT LWrite(LzHandle file, const void* buffer, UINT count) override;
    LONG LZCopy(LzHandle source, LzHandle dest) override;
    void LZClose(LzHandle file) override;

private:
    const CodePage& codePage_;
    EventSink& events_;
    std::set<LzHandle> open_; // closed when the adapter goes, should a caller forget one
    // The expanded length of each compressed file opened for reading and not yet read from.
    std::map<LzHandle, std::uint32_t> promised_;
};

} // namespace tl::win32
