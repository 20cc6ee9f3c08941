#include "volume_label.h"

#include <string_view>
#include <vector>

namespace tl::tools {
namespace {

bool IsLabelCharacter(char c) {
    constexpr std::string_view kPunctuation = "!#$%&'()-@^_`{}~";
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           kPunctuation.find(c) != std::string_view::npos;
}

char Capital(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::vector<std::string> Words(std::string_view label) {
    std::vector<std::string> words;
    std::string word;
    for (const char raw : label) {
        const char c = Capital(raw);
        if (c == ' ' || c == '\t') {
            if (!word.empty())
                words.push_back(std::move(word));
            word.clear();
        } else if (IsLabelCharacter(c)) {
            word += c;
        }
    }
    if (!word.empty())
        words.push_back(std::move(word));
    return words;
}

std::string Joined(const std::vector<std::string>& words, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        if (!text.empty())
            text += ' ';
        text += words[i];
    }
    return text;
}

} // namespace

std::string VolumeLabel(std::string_view label) {
    const std::vector<std::string> words = Words(label);
    std::string whole = Joined(words, words.size());
    if (whole.size() <= kMaxVolumeLabel)
        return whole;
    const std::string& last = words.back();
    if (words.size() == 1 || last.size() + 2 > kMaxVolumeLabel)
        return whole.substr(0, kMaxVolumeLabel);
    std::string head = Joined(words, words.size() - 1).substr(0, kMaxVolumeLabel - last.size() - 1);
    while (!head.empty() && head.back() == ' ')
        head.pop_back();
    return head + " " + last;
}

} // namespace tl::tools
