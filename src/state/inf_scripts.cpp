#include "state/inf_scripts.h"

#include "state/inf_compact.h"

#include <utility>

namespace tl {

InfScript SetupScripts::Adopt(std::string compacted) {
    const InfScript script{++lastId_};
    buffers_.emplace(script.id, std::move(compacted));
    if (!current_) {
        current_ = script;
    }
    return script;
}

void SetupScripts::Release(InfScript script) {
    buffers_.erase(script.id);
    if (current_ == script) {
        current_.reset();
    }
}

std::optional<std::string_view> SetupScripts::Bytes(InfScript script) const {
    const auto found = buffers_.find(script.id);
    if (found == buffers_.end()) {
        return std::nullopt;
    }
    return std::string_view{found->second};
}

namespace {

// Reads the whole file; fails when a read fails. A file that shrinks while it is read yields
// the bytes it still had.
bool ReadWhole(FileSystem& files, FileHandle file, DWORD size, std::string& text) {
    constexpr DWORD kChunk = 64 * 1024;
    text.resize(size);
    DWORD total = 0;
    while (total < size) {
        const DWORD want = size - total < kChunk ? size - total : kChunk;
        DWORD got = 0;
        if (!files.ReadFile(file, text.data() + total, want, &got)) {
            return false;
        }
        if (got == 0) {
            break;
        }
        total += got;
    }
    text.resize(total);
    return true;
}

} // namespace

InfLoadResult LoadInf(SetupScripts& scripts, FileSystem& files, std::string_view path) {
    const FileHandle file = files.CreateFile(path, kGenericRead, kFileShareRead, kOpenExisting);
    if (!file) {
        return {InfLoadStatus::NotLoaded, {}, files.GetLastError()};
    }

    InfLoadResult result;
    const DWORD size = files.GetFileSize(file);
    std::string text;
    if (size == kInvalidFileSize) {
        result.error = files.GetLastError();
    } else if (size > kMaxInfFileSize) {
        result.error = kErrorNotEnoughMemory;
    } else if (size == 0) {
        result.status = InfLoadStatus::Empty;
    } else if (!ReadWhole(files, file, size, text)) {
        result.error = files.GetLastError();
    } else if (text.empty()) {
        result.status = InfLoadStatus::Empty;
    } else {
        result.status = InfLoadStatus::Loaded;
    }
    files.CloseHandle(file);

    if (result.status == InfLoadStatus::Loaded) {
        result.script = scripts.Adopt(CompactInf(text));
    }
    return result;
}

void FreeInf(SetupScripts& scripts, std::optional<InfScript> script) {
    if (!script) {
        script = scripts.Current();
    }
    if (script) {
        scripts.Release(*script);
    }
}

} // namespace tl
