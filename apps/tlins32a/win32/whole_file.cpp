#include "whole_file.h"

#include <cstdio>
#include <memory>

namespace tl::app {
namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

} // namespace

std::optional<std::string> ReadWholeFile(const std::wstring& path, std::size_t limit) {
    const std::unique_ptr<std::FILE, FileCloser> file(_wfopen(path.c_str(), L"rb"));
    if (!file)
        return std::nullopt;
    std::string bytes;
    char block[4096];
    for (;;) {
        const std::size_t got = std::fread(block, 1, sizeof block, file.get());
        if (got > limit - bytes.size())
            return std::nullopt;
        bytes.append(block, got);
        if (got < sizeof block)
            break;
    }
    if (std::ferror(file.get()))
        return std::nullopt;
    return bytes;
}

} // namespace tl::app
