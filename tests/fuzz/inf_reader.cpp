// Arbitrary bytes as a setup script: compaction agrees with a second compactor written the way its
// rules are stated, and every query on every section and line stays inside the script.
#include "fuzz.h"
#include "state/inf_compact.h"
#include "state/inf_query.h"
#include "state/inf_scripts.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

using tl::fuzz::Check;

// One file, whatever its name, read in one go.
class OneFile final : public tl::FileSystem {
public:
    explicit OneFile(std::string_view bytes) : bytes_(bytes) {}
    tl::FileHandle CreateFile(std::string_view, tl::DWORD, tl::DWORD, tl::DWORD) override {
        position_ = 0;
        return {1};
    }
    tl::BOOL ReadFile(tl::FileHandle, void* buffer, tl::DWORD count, tl::DWORD* read) override {
        const std::size_t n = std::min<std::size_t>(count, bytes_.size() - position_);
        std::memcpy(buffer, bytes_.data() + position_, n);
        position_ += n;
        *read = static_cast<tl::DWORD>(n);
        return 1;
    }
    tl::BOOL WriteFile(tl::FileHandle, const void*, tl::DWORD, tl::DWORD*) override { return 0; }
    tl::DWORD SetFilePointer(tl::FileHandle, tl::LONG, tl::DWORD) override { return 0; }
    tl::DWORD GetFileSize(tl::FileHandle) override { return static_cast<tl::DWORD>(bytes_.size()); }
    tl::BOOL CloseHandle(tl::FileHandle) override { return 1; }
    tl::BOOL DeleteFile(std::string_view) override { return 0; }
    tl::DWORD GetFileAttributes(std::string_view) override { return 0; }
    tl::BOOL MoveFileEx(std::string_view, std::string_view, tl::DWORD) override { return 0; }
    tl::DWORD GetLastError() const override { return 0; }

private:
    std::string_view bytes_;
    std::size_t position_ = 0;
};

// Bytes are taken one at a time, and one is examined only while fewer than the limit have been
// taken: the file's length when its last byte is a line feed or 0x1A (never examined), one more
// otherwise.
std::string CompactAsStated(std::string_view file) {
    const std::size_t length = file.size();
    const bool marked = length > 0 && (file.back() == '\n' || file.back() == 0x1a);
    const std::size_t limit = marked ? length : length + 1;
    std::size_t taken = 0;
    const auto take = [&] { return taken < length ? file[taken++] : (++taken, '\0'); };
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    std::string out;
    bool inQuotes = false;
    char c = take();
    while (taken < limit) {
        if (c == '\r' || ((c == ' ' || c == '\t') && !inQuotes)) {
            c = take();
        } else if (c == ';') {
            while (c != '\n' && c != '\r' && c != '\0' && c != 0x1a && taken < limit)
                c = take();
        } else if (c == '\n') {
            do {
                c = take();
            } while (blank(c) && taken < limit);
            if (c != ';')
                out.push_back('\0');
            if (c == '[')
                out.push_back('\0');
            inQuotes = false;
        } else {
            inQuotes = c == '"' ? !inQuotes : inQuotes;
            out.push_back(c);
            c = take();
        }
    }
    return out.append(tl::kInfEndBytes);
}

// Section names as written in the headers of the compacted buffer.
std::vector<std::string> HeaderNames(std::string_view buffer) {
    std::vector<std::string> names;
    for (std::size_t at = 0; at < buffer.size();) {
        const std::size_t end = std::min(buffer.find('\0', at), buffer.size());
        const std::string_view line = buffer.substr(at, end - at);
        if (line.size() > 1 && line[0] == '[')
            names.emplace_back(line.substr(1, std::min(line.find(']'), line.size()) - 1));
        at = end + 1;
    }
    return names;
}

void QueryLine(const tl::SetupScripts& scripts, tl::InfLine line, const std::string& section) {
    Check(scripts.Bytes(line.script).has_value());
    const auto text = tl::InfLineText(scripts, line);
    Check(text.has_value() && !text->empty());
    std::string field;
    for (int n = 0; n < 64; ++n) {
        const int found = tl::GetInfField(scripts, line, n, field);
        Check(field.find('\0') == std::string::npos && field.size() <= text->size());
        if (!found && n > 0)
            break;
    }
    // The key of the line, as GetInfKey would match it.
    const std::size_t equals = text->find('=');
    if (equals == std::string_view::npos || equals == 0)
        return;
    const std::string key{text->substr(0, equals)};
    std::string value;
    if (tl::GetInfKey(scripts, line.script, section, key, value))
        Check(value.find('\0') == std::string::npos);
    tl::GetInfDotted(scripts, section + "." + key, value);
}

} // namespace

TL_FUZZ_TARGET(data) {
    const std::string_view bytes = tl::fuzz::Text(data);
    // Compaction never grows the text beyond one extra byte per "[" plus the end bytes.
    const std::string compacted = tl::CompactInf(bytes);
    const auto brackets = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '['));
    Check(compacted.size() <= bytes.size() + brackets + tl::kInfEndBytes.size());
    Check(compacted.ends_with(tl::kInfEndBytes) && compacted == CompactAsStated(bytes));

    OneFile files{bytes};
    tl::SetupScripts scripts;
    const auto loaded = tl::LoadInf(scripts, files, "FUZZ.INF");
    if (bytes.empty())
        return Check(loaded.status == tl::InfLoadStatus::Empty && !scripts.Current());
    Check(loaded.status == tl::InfLoadStatus::Loaded && scripts.Current() == loaded.script);
    Check(*scripts.Bytes(loaded.script) == compacted);
    for (const std::string& section : HeaderNames(compacted)) {
        const auto first = tl::FindInfSection(scripts, std::nullopt, section);
        const int count = tl::CountInfLines(scripts, first);
        Check((count == 0) == !first.has_value());
        int walked = 0;
        for (auto line = first; line; line = tl::NextInfLine(scripts, line), ++walked) {
            Check(line->offset < compacted.size());
            QueryLine(scripts, *line, section);
        }
        Check(walked == count);
    }
    // Lines kept past their script's release read as none.
    const auto anyLine = tl::FindInfSection(scripts, loaded.script, "A");
    tl::FreeInf(scripts);
    Check(!scripts.Current() && !tl::NextInfLine(scripts, anyLine));
}
