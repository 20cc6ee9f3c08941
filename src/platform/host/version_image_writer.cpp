#include "platform/host/version_image_writer.h"

#include <algorithm>
#include <string_view>

namespace tl::host {
namespace {

class Image {
public:
    explicit Image(std::size_t size = 0) : bytes_(size, 0) {}
    void U8(std::size_t at, std::size_t v) {
        Grow(at + 1);
        bytes_[at] = static_cast<BYTE>(v);
    }
    void U16(std::size_t at, std::size_t v) {
        U8(at, v & 0xFF);
        U8(at + 1, (v >> 8) & 0xFF);
    }
    void U32(std::size_t at, std::size_t v) {
        U16(at, v & 0xFFFF);
        U16(at + 2, (v >> 16) & 0xFFFF);
    }
    void Bytes(std::size_t at, const std::vector<BYTE>& b) {
        Grow(at + b.size());
        std::copy(b.begin(), b.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(at));
    }
    void Text(std::size_t at, std::string_view s) {
        for (std::size_t i = 0; i < s.size(); ++i) {
            U8(at + i, static_cast<unsigned char>(s[i]));
        }
    }
    void PadTo(std::size_t size) { Grow(size); }
    std::size_t Size() const { return bytes_.size(); }
    std::vector<BYTE> Take() { return std::move(bytes_); }

private:
    void Grow(std::size_t size) {
        if (bytes_.size() < size) {
            bytes_.resize(size, 0);
        }
    }
    std::vector<BYTE> bytes_;
};

std::size_t AlignUp(std::size_t v, std::size_t a) {
    return (v + a - 1) / a * a;
}

// The MS-DOS header every image starts with; e_lfanew names the new header.
void DosHeader(Image& image, std::size_t newHeader) {
    image.Text(0, "MZ");
    image.U16(0x02, 0x90);   // bytes on the last page
    image.U16(0x04, 3);      // pages
    image.U16(0x08, 4);      // header paragraphs
    image.U16(0x0C, 0xFFFF); // maximum extra paragraphs
    image.U16(0x10, 0xB8);   // initial SP
    image.U16(0x18, 0x40);   // relocations at 0x40: a new-style executable
    image.U32(0x3C, newHeader);
}

} // namespace

std::vector<BYTE> WriteNeImage(const std::optional<VersionRecord>& record) {
    constexpr std::size_t ne = 0x40;
    constexpr std::size_t shift = 4;
    Image image;
    DosHeader(image, ne);
    image.Text(ne, "NE");
    image.U8(ne + 0x02, 5);       // linker version
    image.U16(ne + 0x0C, 0x8001); // library module, single data
    image.U16(ne + 0x22, 0x40);   // segment table (empty)
    // Resource table at 0x40 of the header.
    std::size_t at = ne + 0x40;
    const std::size_t rsrcTab = at - ne;
    image.U16(at, shift);
    at += 2;
    std::vector<BYTE> block;
    std::size_t nameRecord = 0;
    if (record) {
        block = BuildVersionBlock16(*record);
        image.U16(at, 0x8010);
        image.U16(at + 2, 1);
        at += 8;
        nameRecord = at;
        image.U16(at + 4, 0x0C50); // moveable, pure, preload
        image.U16(at + 6, 0x8001);
        at += 12;
    }
    image.U16(at, 0);    // end of types
    image.U8(at + 2, 0); // no resource names
    at += 3;
    // Resident names: the module name, then an empty entry.
    const std::size_t resTab = at - ne;
    constexpr std::string_view kModule = "TLDRV";
    image.U8(at, kModule.size());
    image.Text(at + 1, kModule);
    at += 1 + kModule.size() + 2;
    image.U8(at++, 0);
    const std::size_t modTab = at - ne;
    const std::size_t entTab = at - ne;
    image.U16(at, 0); // empty entry table
    at += 2;
    const std::size_t nonResident = at;
    constexpr std::string_view kDescription = "Telmora printer driver";
    image.U8(at, kDescription.size());
    image.Text(at + 1, kDescription);
    at += 1 + kDescription.size() + 2;
    image.U8(at++, 0);

    image.U16(ne + 0x04, entTab);
    image.U16(ne + 0x06, 2);
    image.U16(ne + 0x20, 1 + kDescription.size() + 3);
    image.U16(ne + 0x24, rsrcTab);
    image.U16(ne + 0x26, resTab);
    image.U16(ne + 0x28, modTab);
    image.U16(ne + 0x2A, modTab);
    image.U32(ne + 0x2C, nonResident);
    image.U16(ne + 0x32, shift);
    image.U16(ne + 0x34, record ? 1 : 0);
    image.U8(ne + 0x36, 2);       // Windows
    image.U16(ne + 0x3E, 0x030A); // expected Windows version 3.10
    if (record) {
        const std::size_t data = AlignUp(at, std::size_t{1} << shift);
        const std::size_t length = AlignUp(block.size(), std::size_t{1} << shift);
        image.Bytes(data, block);
        image.PadTo(data + length);
        image.U16(nameRecord, data >> shift);
        image.U16(nameRecord + 2, length >> shift);
    }
    return image.Take();
}

std::vector<BYTE> WriteLeImage(const std::optional<VersionRecord>& record) {
    constexpr std::size_t le = 0x80;
    constexpr std::size_t headerSize = 0xC4;
    Image image;
    DosHeader(image, le);
    image.Text(le, "LE");
    image.U16(le + 0x08, 2);          // 80386
    image.U16(le + 0x0A, 4);          // Windows 386 (a virtual device driver)
    image.U32(le + 0x10, 0x00038000); // a virtual device driver module
    image.U32(le + 0x28, 0x1000);     // page size
    image.U32(le + 0x40, headerSize); // object table (empty)
    image.U32(le + 0x58, headerSize); // resident names (empty)
    image.U32(le + 0x5C, headerSize); // entry table (empty)
    image.U16(le + 0xC2, 0x0400);     // DDK version 4.0
    image.PadTo(le + headerSize + 2);
    if (record) {
        const std::vector<BYTE> block = BuildVersionBlock16(*record);
        const std::size_t res = AlignUp(image.Size(), 16);
        image.U8(res, 0xFF);
        image.U16(res + 1, 16); // RT_VERSION
        image.U8(res + 3, 0xFF);
        image.U16(res + 4, 1); // VS_VERSION_INFO
        image.U16(res + 6, 0x30);
        image.U32(res + 8, block.size());
        image.Bytes(res + 12, block);
        image.U32(le + 0xB8, res);
        image.U32(le + 0xBC, 12 + block.size());
    }
    return image.Take();
}

std::vector<BYTE> WritePeImage(const std::optional<VersionRecord>& record) {
    constexpr std::size_t pe = 0x80;
    constexpr std::size_t optional = pe + 24;
    constexpr std::size_t optionalSize = 0xE0;
    constexpr std::size_t sectionTable = optional + optionalSize;
    constexpr std::size_t fileAlign = 0x200;
    constexpr std::size_t sectionAlign = 0x1000;
    constexpr std::size_t rsrcRva = 0x1000;
    Image image;
    DosHeader(image, pe);
    image.Text(pe, std::string_view("PE\0\0", 4));
    image.U16(pe + 4, 0x014C);         // i386
    image.U16(pe + 6, record ? 1 : 0); // sections
    image.U16(pe + 20, optionalSize);
    image.U16(pe + 22, 0x2102);           // executable, 32-bit, DLL
    image.U16(optional, 0x10B);           // PE32
    image.U8(optional + 2, 6);            // linker version
    image.U32(optional + 28, 0x10000000); // image base
    image.U32(optional + 32, sectionAlign);
    image.U32(optional + 36, fileAlign);
    image.U16(optional + 40, 4);         // OS version 4.0
    image.U16(optional + 48, 4);         // subsystem version 4.0
    image.U32(optional + 60, fileAlign); // size of headers
    image.U16(optional + 68, 2);         // Windows GUI
    image.U32(optional + 72, 0x100000);
    image.U32(optional + 76, 0x1000);
    image.U32(optional + 80, 0x100000);
    image.U32(optional + 84, 0x1000);
    image.U32(optional + 92, 16); // data directories
    image.PadTo(fileAlign);
    if (!record) {
        image.U32(optional + 56, sectionAlign);
        return image.Take();
    }
    const std::vector<BYTE> block = BuildVersionBlock32(*record);
    // .rsrc: three directory levels (type 16, id 1, language 0x0409), a data entry, the data.
    Image rsrc;
    rsrc.U16(12 + 2, 1);
    rsrc.U32(16, 16);
    rsrc.U32(20, 0x80000000u | 24);
    rsrc.U16(24 + 14, 1);
    rsrc.U32(40, 1);
    rsrc.U32(44, 0x80000000u | 48);
    rsrc.U16(48 + 14, 1);
    rsrc.U32(64, 0x0409);
    rsrc.U32(68, 72);
    rsrc.U32(72, rsrcRva + 88);
    rsrc.U32(76, block.size());
    rsrc.Bytes(88, block);
    const std::size_t rsrcSize = rsrc.Size();
    const std::size_t rawSize = AlignUp(rsrcSize, fileAlign);
    image.Bytes(fileAlign, rsrc.Take());
    image.PadTo(fileAlign + rawSize);
    image.U32(optional + 56, rsrcRva + AlignUp(rsrcSize, sectionAlign)); // size of image
    image.U32(optional + 8, rawSize);                                    // initialised data
    image.U32(optional + 96 + 2 * 8, rsrcRva);
    image.U32(optional + 96 + 2 * 8 + 4, rsrcSize);
    image.Text(sectionTable, ".rsrc");
    image.U32(sectionTable + 8, rsrcSize);
    image.U32(sectionTable + 12, rsrcRva);
    image.U32(sectionTable + 16, rawSize);
    image.U32(sectionTable + 20, fileAlign);
    image.U32(sectionTable + 36, 0x40000040u); // initialised data, readable
    return image.Take();
}

} // namespace tl::host
