#include "ui/unattended/json_text.h"

#include <cstdio>

namespace tl::ui {

std::string JsonQuote(std::string_view utf8) {
    std::string out = "\"";
    for (char c : utf8) {
        auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (byte < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", byte);
                out += escape;
            } else {
                out += c;
            }
        }
    }
    out += '"';
    return out;
}

JsonObject& JsonObject::Raw(std::string_view name, std::string_view json) {
    if (!body_.empty())
        body_ += ',';
    body_ += JsonQuote(name);
    body_ += ':';
    body_ += json;
    return *this;
}

JsonObject& JsonObject::String(std::string_view name, std::string_view utf8) {
    return Raw(name, JsonQuote(utf8));
}

JsonObject& JsonObject::Number(std::string_view name, std::int64_t value) {
    return Raw(name, std::to_string(value));
}

JsonObject& JsonObject::Bool(std::string_view name, bool value) {
    return Raw(name, value ? "true" : "false");
}

JsonObject& JsonObject::Null(std::string_view name) {
    return Raw(name, "null");
}

std::string JsonArray(const std::vector<std::string>& rawItems) {
    std::string out = "[";
    for (std::size_t i = 0; i < rawItems.size(); ++i) {
        if (i)
            out += ',';
        out += rawItems[i];
    }
    out += ']';
    return out;
}

} // namespace tl::ui
