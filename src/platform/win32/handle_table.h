// Native handles behind the ports' 32-bit handle numbers. A Win32 HANDLE, HKEY or printer
// handle is pointer-sized; the ports hand out small numbers instead (never 0), so a stale or
// made-up number is caught here rather than passed to the system.
#pragma once

#include <cstdint>
#include <map>
#include <optional>

namespace tl::win32 {

template <typename Native> class HandleTable {
public:
    std::uint32_t Add(Native native) {
        const std::uint32_t id = next_++;
        if (next_ == 0) {
            next_ = 1;
        }
        natives_.emplace(id, native);
        return id;
    }
    std::optional<Native> Find(std::uint32_t id) const {
        auto it = natives_.find(id);
        if (it == natives_.end()) {
            return std::nullopt;
        }
        return it->second;
    }
    std::optional<Native> Remove(std::uint32_t id) {
        auto it = natives_.find(id);
        if (it == natives_.end()) {
            return std::nullopt;
        }
        Native native = it->second;
        natives_.erase(it);
        return native;
    }
    template <typename Close> void CloseAll(Close close) {
        for (auto& [id, native] : natives_) {
            close(native);
        }
        natives_.clear();
    }

private:
    std::map<std::uint32_t, Native> natives_;
    std::uint32_t next_ = 1;
};

} // namespace tl::win32
