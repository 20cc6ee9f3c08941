// What every fuzz target shares: its entry point, a check that aborts, the input as text or lines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

namespace tl::fuzz {

using Bytes = std::span<const std::uint8_t>;

inline void Check(bool condition) {
    if (!condition)
        std::abort();
}

inline std::string_view Text(Bytes bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// The lines of a text, each with its line feed (the last one may have none).
inline std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t feed = text.find('\n');
        lines.push_back(text.substr(0, feed == std::string_view::npos ? text.size() : feed + 1));
        text.remove_prefix(lines.back().size());
    }
    return lines;
}

// A folder of this process's own under the temporary folder, made on first use.
inline std::filesystem::path Folder(const std::string& name) {
    const auto folder = std::filesystem::temp_directory_path() /
                        ("tl-fuzz-" + name + "-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    return folder;
}

inline void Write(const std::filesystem::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    Check(static_cast<bool>(out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()))));
}

inline std::string Read(const std::filesystem::path& file) {
    std::stringstream text;
    text << std::ifstream(file, std::ios::binary).rdbuf();
    return text.str();
}

} // namespace tl::fuzz

// TL_FUZZ_TARGET(bytes) { ... } defines the target's body over its input `bytes`; the body is
// inside tl::fuzz, so it names the installer's parts and these helpers without qualification.
#define TL_FUZZ_TARGET(bytes)                                                                      \
    namespace tl::fuzz {                                                                           \
    static void FuzzOne(Bytes bytes);                                                              \
    }                                                                                              \
    extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {            \
        tl::fuzz::FuzzOne({data, size});                                                           \
        return 0;                                                                                  \
    }                                                                                              \
    void tl::fuzz::FuzzOne(tl::fuzz::Bytes bytes)
