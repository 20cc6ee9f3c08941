// The little JSON the transcript needs: quoted strings, numbers, booleans, arrays and objects
// written in the order their fields are added, all on one line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tl::ui {

// A JSON string literal of UTF-8 text: quotes, backslashes and control characters escaped.
std::string JsonQuote(std::string_view utf8);

class JsonObject {
public:
    JsonObject& Raw(std::string_view name, std::string_view json);
    JsonObject& String(std::string_view name, std::string_view utf8);
    JsonObject& Number(std::string_view name, std::int64_t value);
    JsonObject& Bool(std::string_view name, bool value);
    JsonObject& Null(std::string_view name);
    bool Empty() const { return body_.empty(); }
    std::string Text() const { return "{" + body_ + "}"; }

private:
    std::string body_;
};

std::string JsonArray(const std::vector<std::string>& rawItems);

} // namespace tl::ui
