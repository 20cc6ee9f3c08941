// The LZ port over a machine folder: Windows paths resolve to host files through PathResolver;
// the file prompt that the platform would show (kOfPrompt) is recorded as a "prompt" event.
// Given the drives' free space, what it writes uses that space up as the file port's writes do.
#pragma once

#include "platform/events.h"
#include "platform/host/drive_space.h"
#include "platform/host/fault_plan.h"
#include "platform/host/path_resolver.h"
#include "platform/lz.h"

#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tl::host {

class HostLzExpand final : public LzExpand {
public:
    // toUtf8 turns an ANSI path into the transcript's UTF-8 (the path unchanged when empty).
    HostLzExpand(const PathResolver& resolver, EventSink& events,
                 std::function<std::string(std::string_view)> toUtf8 = {});
    ~HostLzExpand() override;
    HostLzExpand(const HostLzExpand&) = delete;
    HostLzExpand& operator=(const HostLzExpand&) = delete;

    // Files that another program holds open (a driver in use): creating, emptying, writing or
    // deleting one fails with a sharing violation (32); reading it works.
    void SetHeldOpen(std::function<bool(const std::filesystem::path& hostPath)> heldOpen) {
        heldOpen_ = std::move(heldOpen);
    }

    // The free space the writes count against (the file port's, so both use up the same figure).
    // A write that does not fit fails whole: LWrite with HFILE_ERROR and LZCopy with
    // LZERROR_WRITE, the file left as it was. Without it, writes are limited only by the host.
    void SetDriveSpace(DriveSpace* space) { space_ = space; }
    // A test's fault plan (see fault_plan.h).
    void SetFaultPlan(FaultPlan* faults) { faults_ = faults; }

    LzHandle LZOpenFile(std::string_view fileName, OfStruct& of, WORD style) override;
    INT LZRead(LzHandle file, void* buffer, INT count) override;
    UINT LWrite(LzHandle file, const void* buffer, UINT count) override;
    LONG LZCopy(LzHandle source, LzHandle dest) override;
    void LZClose(LzHandle file) override;

    // How many handles are open (a test's check that every path closes what it opened).
    std::size_t OpenHandleCount() const { return files_.size(); }

private:
    struct CloseFile {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    struct OpenLzFile {
        std::unique_ptr<std::FILE, CloseFile> file;
        std::filesystem::path host;
        char drive = 0; // the drive a writable file's growth is counted against
        bool writable = false;
        bool compressed = false;
        // A compressed file is expanded once, here, by the first LZRead or LZCopy; readPos walks
        // it.
        std::optional<std::vector<BYTE>> expanded;
        std::size_t readPos = 0;
    };

    LzHandle Fail(OfStruct& of, DWORD error);
    LzHandle OpenForCreate(std::string_view fileName, OfStruct& of, WORD style);
    LzHandle Add(OpenLzFile file);
    bool HeldOpen(const std::filesystem::path& path) const;
    OpenLzFile* Find(LzHandle file);
    LONG ExpandAll(OpenLzFile& file);
    LONG CopyRest(OpenLzFile& in, OpenLzFile& out);
    bool Fits(OpenLzFile& out, std::uint64_t count);
    std::optional<std::uint64_t> SizeOf(OpenLzFile& file);
    void CountChange(const OpenLzFile& out, std::optional<std::uint64_t> before,
                     std::optional<std::uint64_t> after);
    void CountRemoved(std::string_view fileName, std::uint64_t size);

    const PathResolver& resolver_;
    EventSink& events_;
    std::function<std::string(std::string_view)> toUtf8_;
    std::function<bool(const std::filesystem::path&)> heldOpen_;
    std::map<LzHandle, OpenLzFile> files_;
    DriveSpace* space_ = nullptr;
    FaultPlan* faults_ = nullptr;
    static constexpr LzHandle kFirstCompressedHandle = 0x400;
};

} // namespace tl::host
