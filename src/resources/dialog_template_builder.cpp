#include "resources/dialog_template_builder.h"

#include <algorithm>

namespace tl {

namespace {

constexpr WORD kOrdinalMark = 0xFFFF;
constexpr DWORD kExtendedSignature = 0xFFFF0001u;

std::size_t AlignDword(std::size_t offset) {
    return (offset + 3) & ~std::size_t{3};
}

// Appends little-endian fields to a byte vector.
class Writer {
public:
    void Word(WORD value) {
        bytes.push_back(static_cast<BYTE>(value & 0xFF));
        bytes.push_back(static_cast<BYTE>(value >> 8));
    }
    void Short(SHORT value) { Word(static_cast<WORD>(value)); }
    void Dword(DWORD value) {
        Word(static_cast<WORD>(value & 0xFFFF));
        Word(static_cast<WORD>(value >> 16));
    }
    void Text(std::u16string_view text) {
        for (char16_t c : text) {
            Word(static_cast<WORD>(c));
        }
        Word(0);
    }
    void Name(const TemplateName& name) {
        if (name.ordinal) {
            Word(kOrdinalMark);
            Word(*name.ordinal);
            return;
        }
        Text(name.text);
    }
    std::vector<BYTE> bytes;
};

class Reader {
public:
    explicit Reader(std::span<const BYTE> bytes) : bytes_(bytes) {}

    std::optional<WORD> Word() {
        if (offset_ + 2 > bytes_.size()) {
            return std::nullopt;
        }
        const auto value = static_cast<WORD>(bytes_[offset_] | (bytes_[offset_ + 1] << 8));
        offset_ += 2;
        return value;
    }
    std::optional<DWORD> Dword() {
        const auto low = Word();
        const auto high = Word();
        if (!low || !high) {
            return std::nullopt;
        }
        return static_cast<DWORD>(*low | (static_cast<DWORD>(*high) << 16));
    }
    std::optional<SHORT> Short() {
        const auto value = Word();
        if (!value) {
            return std::nullopt;
        }
        return static_cast<SHORT>(*value);
    }
    std::optional<std::u16string> Text() {
        std::u16string text;
        for (;;) {
            const auto c = Word();
            if (!c) {
                return std::nullopt;
            }
            if (*c == 0) {
                return text;
            }
            text.push_back(static_cast<char16_t>(*c));
        }
    }
    std::optional<TemplateName> Name() {
        const auto first = Word();
        if (!first) {
            return std::nullopt;
        }
        TemplateName name;
        if (*first == kOrdinalMark) {
            const auto ordinal = Word();
            if (!ordinal) {
                return std::nullopt;
            }
            name.ordinal = *ordinal;
            return name;
        }
        if (*first == 0) {
            return name;
        }
        offset_ -= 2;
        auto text = Text();
        if (!text) {
            return std::nullopt;
        }
        name.text = std::move(*text);
        return name;
    }
    bool Skip(std::size_t count) {
        if (count > bytes_.size() - offset_) {
            return false;
        }
        offset_ += count;
        return true;
    }
    bool Align() { return Skip(AlignDword(offset_) - offset_) || offset_ == bytes_.size(); }
    std::size_t Offset() const { return offset_; }
    std::span<const BYTE> Rest() const { return bytes_.subspan(offset_); }

private:
    std::span<const BYTE> bytes_;
    std::size_t offset_ = 0;
};

bool ReadItem(Reader& reader, DialogItemFields& item) {
    const auto style = reader.Dword();
    const auto exStyle = reader.Dword();
    const auto x = reader.Short();
    const auto y = reader.Short();
    const auto cx = reader.Short();
    const auto cy = reader.Short();
    const auto id = reader.Word();
    if (!style || !exStyle || !x || !y || !cx || !cy || !id) {
        return false;
    }
    auto windowClass = reader.Name();
    if (!windowClass) {
        return false;
    }
    auto title = reader.Name();
    if (!title) {
        return false;
    }
    const auto extra = reader.Word();
    if (!extra) {
        return false;
    }
    // The count includes its own WORD when it is not 0 (as Windows reads it).
    const std::size_t dataSize = *extra == 0 ? 0 : std::max<std::size_t>(*extra, 2) - 2;
    if (dataSize > reader.Rest().size()) {
        return false;
    }
    item.creationData.assign(reader.Rest().begin(),
                             reader.Rest().begin() + static_cast<std::ptrdiff_t>(dataSize));
    reader.Skip(dataSize);
    item.style = *style;
    item.exStyle = *exStyle;
    item.x = *x;
    item.y = *y;
    item.cx = *cx;
    item.cy = *cy;
    item.id = *id;
    item.windowClass = std::move(*windowClass);
    item.title = std::move(*title);
    return true;
}

} // namespace

DialogTemplateBuilder::DialogTemplateBuilder(std::size_t blockSize) : block_(blockSize, 0) {}

bool DialogTemplateBuilder::SetHeader(const DialogTemplateFields& header) {
    Writer writer;
    writer.Dword(header.style);
    writer.Dword(header.exStyle);
    writer.Word(0); // item count: AddItem counts
    writer.Short(header.x);
    writer.Short(header.y);
    writer.Short(header.cx);
    writer.Short(header.cy);
    writer.Name(header.menu);
    writer.Name(header.windowClass);
    writer.Text(header.title);
    if ((header.style & kDsSetFont) != 0) {
        writer.Word(header.pointSize);
        writer.Text(header.typeface);
    }
    if (writer.bytes.size() > block_.size()) {
        return false;
    }
    std::fill(block_.begin(), block_.end(), BYTE{0});
    std::copy(writer.bytes.begin(), writer.bytes.end(), block_.begin());
    used_ = writer.bytes.size();
    countOffset_ = 8;
    count_ = 0;
    return true;
}

bool DialogTemplateBuilder::AddItem(const DialogItemFields& item) {
    if (used_ == 0 || count_ == 0xFFFF) {
        return false;
    }
    Writer writer;
    writer.Dword(item.style);
    writer.Dword(item.exStyle);
    writer.Short(item.x);
    writer.Short(item.y);
    writer.Short(item.cx);
    writer.Short(item.cy);
    writer.Word(item.id);
    writer.Name(item.windowClass);
    writer.Name(item.title);
    if (item.creationData.empty()) {
        writer.Word(0);
    } else {
        if (item.creationData.size() + 2 > 0xFFFF) {
            return false;
        }
        writer.Word(static_cast<WORD>(item.creationData.size() + 2));
        writer.bytes.insert(writer.bytes.end(), item.creationData.begin(), item.creationData.end());
    }
    const std::size_t start = AlignDword(used_);
    if (start > block_.size() || writer.bytes.size() > block_.size() - start) {
        return false;
    }
    std::copy(writer.bytes.begin(), writer.bytes.end(),
              block_.begin() + static_cast<std::ptrdiff_t>(start));
    used_ = start + writer.bytes.size();
    ++count_;
    block_[countOffset_] = static_cast<BYTE>(count_ & 0xFF);
    block_[countOffset_ + 1] = static_cast<BYTE>(count_ >> 8);
    return true;
}

std::optional<DialogTemplateFields> ReadDialogTemplate(std::span<const BYTE> bytes) {
    Reader reader(bytes);
    DialogTemplateFields fields;
    const auto style = reader.Dword();
    if (!style || *style == kExtendedSignature) {
        return std::nullopt;
    }
    const auto exStyle = reader.Dword();
    const auto count = reader.Word();
    const auto x = reader.Short();
    const auto y = reader.Short();
    const auto cx = reader.Short();
    const auto cy = reader.Short();
    if (!exStyle || !count || !x || !y || !cx || !cy) {
        return std::nullopt;
    }
    auto menu = reader.Name();
    if (!menu) {
        return std::nullopt;
    }
    auto windowClass = reader.Name();
    if (!windowClass) {
        return std::nullopt;
    }
    auto title = reader.Text();
    if (!title) {
        return std::nullopt;
    }
    fields.style = *style;
    fields.exStyle = *exStyle;
    fields.x = *x;
    fields.y = *y;
    fields.cx = *cx;
    fields.cy = *cy;
    fields.menu = std::move(*menu);
    fields.windowClass = std::move(*windowClass);
    fields.title = std::move(*title);
    if ((fields.style & kDsSetFont) != 0) {
        const auto pointSize = reader.Word();
        auto typeface = reader.Text();
        if (!pointSize || !typeface) {
            return std::nullopt;
        }
        fields.pointSize = *pointSize;
        fields.typeface = std::move(*typeface);
    }
    for (WORD index = 0; index < *count; ++index) {
        DialogItemFields item;
        if (!reader.Align() || !ReadItem(reader, item)) {
            return std::nullopt;
        }
        fields.items.push_back(std::move(item));
    }
    return fields;
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        std::size_t length = 0;
        char32_t code = 0;
        if (lead < 0x80) {
            length = 1;
            code = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2;
            code = lead & 0x1Fu;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            code = lead & 0x0Fu;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            code = lead & 0x07u;
        }
        bool valid = length != 0 && i + length <= utf8.size();
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            valid = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3Fu);
        }
        const char32_t minimum = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
        valid = valid && (length == 1 || code >= minimum) && code <= 0x10FFFF &&
                (code < 0xD800 || code > 0xDFFF);
        if (!valid) {
            out.push_back(u'\xFFFD');
            ++i;
            continue;
        }
        i += length;
        if (code >= 0x10000) {
            code -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(code));
        }
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
    std::string out;
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        char32_t code = utf16[i];
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
            utf16[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (utf16[i + 1] - 0xDC00u);
            ++i;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = 0xFFFD;
        }
        if (code < 0x80) {
            out.push_back(static_cast<char>(code));
        } else if (code < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (code >> 6)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else if (code < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (code >> 12)));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (code >> 18)));
            out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        }
    }
    return out;
}

} // namespace tl
