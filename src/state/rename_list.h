// The rename list: the target names of the copy-list entries stored on the disk under another
// name (kind 6), one after the other, each NUL-terminated, an empty name ending the list. The n-th
// name belongs to the n-th kind-6 entry of the copy list that is not skipped.
//
// The driver catalogue creates it with room for its first section that needs it and fills it;
// the copy engine and the spooler registration read it from its first name; the step sequencer
// releases it. Its block is zero-filled and of fixed size: a name that would not fit, together
// with the empty name that ends the list, is refused rather than written past the block.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace tl {

enum class RenameListError {
    None,
    NotHeld, // no list was created (or it was released)
    Full,    // the name and the list's end would not fit the block
    BadName, // empty (it would end the list) or holding a NUL
};

// A fixed English text for the caller's report.
std::string_view RenameListErrorText(RenameListError error);

class RenameList {
public:
    // Walks the names from the first one; a reader is valid while the list is not changed.
    class Reader {
    public:
        // The next name, or none behind the last one.
        std::optional<std::string_view> Next();

    private:
        friend class RenameList;
        explicit Reader(std::span<const char> bytes) : bytes_(bytes) {}
        std::span<const char> bytes_;
        std::size_t pos_ = 0;
    };

    bool Held() const { return !block_.empty(); }
    // Creates a zero-filled block of `capacity` bytes; false (nothing changed) when one is held
    // already or `capacity` is 0.
    bool Create(std::size_t capacity);
    // Adds `extra` zero bytes to the held block, keeping its names; false when none is held.
    bool Grow(std::size_t extra);
    void Release() {
        block_ = {};
        used_ = 0;
    }

    // Appends a name behind the last one.
    RenameListError Append(std::string_view name);

    Reader Read() const { return Reader(block_); }
    std::size_t Capacity() const { return block_.size(); }
    std::span<const char> Bytes() const { return block_; }

private:
    std::vector<char> block_;
    std::size_t used_ = 0; // bytes of the names written so far, their NULs included
};

} // namespace tl
