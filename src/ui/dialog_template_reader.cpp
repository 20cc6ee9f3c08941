#include "ui/dialog_template_reader.h"

namespace tl::ui {
namespace {

class Reader {
public:
    explicit Reader(std::span<const BYTE> bytes) : bytes_(bytes) {}

    bool Word(WORD& out) {
        if (offset_ + 2 > bytes_.size())
            return false;
        out = static_cast<WORD>(bytes_[offset_] | (bytes_[offset_ + 1] << 8));
        offset_ += 2;
        return true;
    }
    bool Short(short& out) {
        WORD w = 0;
        if (!Word(w))
            return false;
        out = static_cast<short>(w);
        return true;
    }
    bool Dword(DWORD& out) {
        WORD low = 0;
        WORD high = 0;
        if (!Word(low) || !Word(high))
            return false;
        out = static_cast<DWORD>(low) | (static_cast<DWORD>(high) << 16);
        return true;
    }
    bool String(std::u16string& out) {
        out.clear();
        for (;;) {
            WORD c = 0;
            if (!Word(c))
                return false;
            if (c == 0)
                return true;
            out.push_back(static_cast<char16_t>(c));
        }
    }
    // A menu, class or text field: 0x0000 none, 0xFFFF and an ordinal, or a string.
    bool NameOrOrdinal(std::u16string& text, std::optional<WORD>& ordinal) {
        ordinal.reset();
        text.clear();
        if (offset_ + 2 > bytes_.size())
            return false;
        WORD first = static_cast<WORD>(bytes_[offset_] | (bytes_[offset_ + 1] << 8));
        if (first == 0xFFFF) {
            offset_ += 2;
            WORD value = 0;
            if (!Word(value))
                return false;
            ordinal = value;
            return true;
        }
        return String(text);
    }
    bool Skip(std::size_t count) {
        if (count > bytes_.size() - offset_)
            return false;
        offset_ += count;
        return true;
    }
    bool AlignDword() {
        std::size_t aligned = (offset_ + 3) & ~static_cast<std::size_t>(3);
        if (aligned > bytes_.size())
            return false;
        offset_ = aligned;
        return true;
    }

private:
    std::span<const BYTE> bytes_;
    std::size_t offset_ = 0;
};

bool ToAnsi(const Utf16ToAnsi& toAnsi, const std::u16string& text, std::string& out) {
    auto converted = toAnsi(text);
    if (!converted)
        return false;
    out = std::move(*converted);
    return true;
}

bool ReadItem(Reader& reader, const Utf16ToAnsi& toAnsi, DialogItemTemplate& item) {
    if (!reader.AlignDword() || !reader.Dword(item.style) || !reader.Dword(item.exStyle) ||
        !reader.Short(item.x) || !reader.Short(item.y) || !reader.Short(item.cx) ||
        !reader.Short(item.cy) || !reader.Word(item.id))
        return false;
    std::u16string text;
    std::optional<WORD> ordinal;
    if (!reader.NameOrOrdinal(text, ordinal))
        return false;
    if (ordinal) {
        if (*ordinal < 0x0080 || *ordinal > 0x0085)
            return false;
        item.controlClass = static_cast<ControlClass>(*ordinal);
    } else {
        item.controlClass = ControlClass::Named;
        if (!ToAnsi(toAnsi, text, item.className))
            return false;
    }
    if (!reader.NameOrOrdinal(text, ordinal))
        return false;
    if (ordinal)
        item.text = "#" + std::to_string(*ordinal); // a resource ordinal (icons); unused here
    else if (!ToAnsi(toAnsi, text, item.text))
        return false;
    WORD extra = 0;
    return reader.Word(extra) && reader.Skip(extra);
}

} // namespace

std::optional<std::string> AsciiOnly(std::u16string_view text) {
    std::string out;
    for (char16_t c : text) {
        if (c > 0x7F)
            return std::nullopt;
        out.push_back(static_cast<char>(c));
    }
    return out;
}

std::optional<DialogTemplate> ReadDialogTemplate(std::span<const BYTE> bytes,
                                                 const Utf16ToAnsi& toAnsi) {
    Reader reader(bytes);
    DialogTemplate dialog;
    WORD count = 0;
    if (!reader.Dword(dialog.style) || !reader.Dword(dialog.exStyle) || !reader.Word(count) ||
        !reader.Short(dialog.x) || !reader.Short(dialog.y) || !reader.Short(dialog.cx) ||
        !reader.Short(dialog.cy))
        return std::nullopt;
    // DLGTEMPLATEEX starts with version 1 and signature 0xFFFF where the style would be.
    if ((dialog.style & 0xFFFF0000u) == 0xFFFF0000u && (dialog.style & 0xFFFFu) == 1)
        return std::nullopt;
    std::u16string text;
    std::optional<WORD> ordinal;
    if (!reader.NameOrOrdinal(text, ordinal))
        return std::nullopt;
    if (ordinal)
        dialog.menu = "#" + std::to_string(*ordinal);
    else if (!ToAnsi(toAnsi, text, dialog.menu))
        return std::nullopt;
    if (!reader.NameOrOrdinal(text, ordinal))
        return std::nullopt;
    if (ordinal)
        dialog.className = "#" + std::to_string(*ordinal);
    else if (!ToAnsi(toAnsi, text, dialog.className))
        return std::nullopt;
    if (!reader.String(text) || !ToAnsi(toAnsi, text, dialog.caption))
        return std::nullopt;
    dialog.typeface.clear();
    dialog.pointSize = 0;
    if (dialog.style & 0x40u) { // DS_SETFONT
        if (!reader.Word(dialog.pointSize) || !reader.String(text) ||
            !ToAnsi(toAnsi, text, dialog.typeface))
            return std::nullopt;
    }
    dialog.items.resize(count);
    for (auto& item : dialog.items) {
        if (!ReadItem(reader, toAnsi, item))
            return std::nullopt;
    }
    return dialog;
}

} // namespace tl::ui
