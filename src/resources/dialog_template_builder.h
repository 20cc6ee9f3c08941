// Dialog templates in memory in the standard Windows form: a DLGTEMPLATE header (style,
// extended style, item count, position and size in dialog units, menu, class, caption, and with
// DS_SETFONT the point size and typeface) followed by DLGITEMTEMPLATE items, each on a 4-byte
// boundary, with texts and class names as NUL-terminated UTF-16. The builder writes the bytes
// that DialogBoxIndirectParamA takes; the reader turns such bytes back into fields, which is how
// the host's dialog manager makes the controls of a dialog built in memory.
#pragma once

#include "platform/win_types.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tl {

using SHORT = std::int16_t;

inline constexpr DWORD kDsSetFont = 0x40;
inline constexpr std::size_t kDialogTemplateBlockSize = 3096;

// A class, menu or text field: a name, or an ordinal (0xFFFF followed by the number).
struct TemplateName {
    std::u16string text;
    std::optional<WORD> ordinal;
    friend bool operator==(const TemplateName&, const TemplateName&) = default;
};

struct DialogItemFields {
    DWORD style = 0;
    DWORD exStyle = 0;
    SHORT x = 0;
    SHORT y = 0;
    SHORT cx = 0;
    SHORT cy = 0;
    WORD id = 0;
    TemplateName windowClass; // e.g. u"button", or ordinal 0x0080
    TemplateName title;
    std::vector<BYTE> creationData;
    friend bool operator==(const DialogItemFields&, const DialogItemFields&) = default;
};

struct DialogTemplateFields {
    DWORD style = 0;
    DWORD exStyle = 0;
    SHORT x = 0;
    SHORT y = 0;
    SHORT cx = 0;
    SHORT cy = 0;
    TemplateName menu;
    TemplateName windowClass;
    std::u16string title;
    WORD pointSize = 0;      // only with DS_SETFONT
    std::u16string typeface; // only with DS_SETFONT
    std::vector<DialogItemFields> items;
    friend bool operator==(const DialogTemplateFields&, const DialogTemplateFields&) = default;
};

// Writes a template into one zero-filled block of fixed size. Every call returns false, and
// leaves the block as it was, when the result would not fit.
class DialogTemplateBuilder {
public:
    explicit DialogTemplateBuilder(std::size_t blockSize = kDialogTemplateBlockSize);

    // The header (its item count is kept up to date by AddItem). Replaces any earlier content.
    bool SetHeader(const DialogTemplateFields& header);
    bool AddItem(const DialogItemFields& item);

    // The whole block, zero beyond what was written.
    std::span<const BYTE> Block() const { return block_; }
    std::size_t Used() const { return used_; }

private:
    std::vector<BYTE> block_;
    std::size_t used_ = 0;
    std::size_t countOffset_ = 0;
    WORD count_ = 0;
};

// Reads a template; none when the bytes end early, a text runs off the end, or the header is an
// extended one (DLGTEMPLATEEX), which the installer never builds.
std::optional<DialogTemplateFields> ReadDialogTemplate(std::span<const BYTE> bytes);

// UTF-8 -> UTF-16 (what MultiByteToWideChar gives for the same text); invalid sequences give
// U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

} // namespace tl
