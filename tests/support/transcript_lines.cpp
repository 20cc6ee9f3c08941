#include "support/transcript_lines.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>

namespace tl::test {

using nlohmann::json;

TranscriptLines TranscriptLines::Read(const std::filesystem::path& path) {
    TranscriptLines transcript;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        json parsed = json::parse(line, nullptr, false);
        if (parsed.is_discarded()) {
            ADD_FAILURE() << "transcript line is not JSON: " << line;
            continue;
        }
        transcript.lines_.push_back(std::move(parsed));
    }
    return transcript;
}

std::vector<json> TranscriptLines::Events(std::string_view event) const {
    std::vector<json> found;
    for (const json& line : lines_) {
        if (line.value("event", "") == event)
            found.push_back(line);
    }
    return found;
}

namespace {

json Nth(const std::vector<json>& lines, std::string_view event, std::string_view field,
         std::string_view value, int occurrence) {
    for (const json& line : lines) {
        if (line.value("event", "") != event || line.value(std::string(field), "") != value)
            continue;
        if (--occurrence == 0)
            return line;
    }
    return nullptr;
}

std::string Scalar(const json& value) {
    if (value.is_null())
        return "-";
    if (value.is_string())
        return value.get<std::string>();
    return value.dump();
}

} // namespace

json TranscriptLines::Message(std::string_view key, int occurrence) const {
    return Nth(lines_, "message", "key", key, occurrence);
}

json TranscriptLines::Dialog(std::string_view name, int occurrence) const {
    return Nth(lines_, "dialog", "template", name, occurrence);
}

json TranscriptLines::End() const {
    return lines_.empty() ? json(nullptr) : lines_.back();
}

std::vector<std::string> TranscriptLines::Story() const {
    // The fields each kind of event shows, after its name.
    static const std::map<std::string, std::vector<const char*>, std::less<>> kShown{
        {"message", {"key", "answer"}},
        {"dialog", {"template", "result"}},
        {"broadcast", {"message"}},
        {"addfont", {"file"}},
        {"prompt", {"file"}},
        {"restart", {"flags"}},
        {"timer", {"id"}},
        {"error", {"operation", "file", "code"}},
        {"end", {"state", "exitCode"}}};
    std::vector<std::string> story;
    for (const json& line : lines_) {
        std::string text = line.value("event", "?");
        const auto shown = kShown.find(text);
        for (const char* field : shown == kShown.end() ? std::vector<const char*>{} : shown->second)
            text += " " + Scalar(line[field]);
        story.push_back(text);
    }
    return story;
}

} // namespace tl::test
