#include "support/transcript_lines.h"

#include <gtest/gtest.h>

#include <fstream>

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
    std::vector<std::string> story;
    for (const json& line : lines_) {
        std::string event = line.value("event", "?");
        std::string text = event;
        if (event == "message")
            text += " " + Scalar(line["key"]) + " " + Scalar(line["answer"]);
        else if (event == "dialog")
            text += " " + Scalar(line["template"]) + " " + Scalar(line["result"]);
        else if (event == "broadcast")
            text += " " + Scalar(line["message"]);
        else if (event == "addfont" || event == "prompt")
            text += " " + Scalar(line["file"]);
        else if (event == "restart")
            text += " " + Scalar(line["flags"]);
        else if (event == "timer")
            text += " " + Scalar(line["id"]);
        else if (event == "error")
            text += " " + Scalar(line["operation"]) + " " + Scalar(line["file"]) + " " +
                    Scalar(line["code"]);
        else if (event == "end")
            text += " " + Scalar(line["state"]) + " " + Scalar(line["exitCode"]);
        story.push_back(text);
    }
    return story;
}

std::string ControlText(const json& dialog, std::string_view when, int id) {
    if (!dialog.is_object() || !dialog.contains(when))
        return {};
    const json& controls = dialog[std::string(when)]["controls"];
    std::string key = std::to_string(id);
    if (!controls.contains(key))
        return {};
    return controls[key].value("text", "");
}

} // namespace tl::test
