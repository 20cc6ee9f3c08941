// A small JSON writer for tlmachine's --json output: UTF-8 text in, stable key order out.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tl::tools {

std::string JsonString(std::string_view utf8);

class JsonWriter {
public:
    JsonWriter& BeginObject();
    JsonWriter& EndObject();
    JsonWriter& BeginArray();
    JsonWriter& EndArray();
    // The key of the next member of the object being written.
    JsonWriter& Key(std::string_view key);
    JsonWriter& String(std::string_view utf8);
    JsonWriter& Number(std::uint64_t value);
    JsonWriter& Bool(bool value);
    JsonWriter& Null();
    const std::string& Text() const { return text_; }

private:
    void BeforeValue();

    std::string text_;
    bool needComma_ = false;
};

} // namespace tl::tools
