#include "win32ui_fixture.h"

#include "platform/win32/ui/wide_text.h"

#include <climits>

namespace tl::win32ui::test {
namespace {

std::wstring FromUtf8Wide(std::string_view utf8) {
    if (utf8.empty())
        return {};
    int length = static_cast<int>(utf8.size());
    int needed = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, wide.data(), needed);
    return wide;
}

std::string ToUtf8Narrow(std::wstring_view wide) {
    if (wide.empty())
        return {};
    int length = static_cast<int>(wide.size());
    int needed = WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, utf8.data(), needed, nullptr, nullptr);
    return utf8;
}

} // namespace

std::string SystemCodePage::ToUtf8(std::string_view ansi) const {
    return ToUtf8Narrow(AnsiToWide(ansi));
}

std::string SystemCodePage::FromUtf8(std::string_view utf8) const {
    return WideToAnsi(FromUtf8Wide(utf8));
}

std::string Ansi(std::string_view utf8) {
    return SystemCodePage().FromUtf8(utf8);
}

// TL_TEXT_CALLS=ansi runs the tests on the ANSI calls of Windows 95 (with a Korean code page).
TextCalls TestTextCalls() {
    char value[16] = {};
    GetEnvironmentVariableA("TL_TEXT_CALLS", value, sizeof value);
    return std::string_view(value) == "ansi" ? TextCalls::Ansi : TextCalls::Wide;
}

Win32UiTest::Win32UiTest() : windows(GetModuleHandleW(nullptr), codePage, TestTextCalls()) {
    windows.SetObserver(&recorder);
    windows.SetEventSink(&recorder);
    windows.SetStopHandler([this](const std::string& reason) { stops.push_back(reason); });
}

Win32UiTest::~Win32UiTest() {
    windows.SetFrontend(nullptr);
}

void Win32UiTest::Answer(const std::string& answersText) {
    ui::AnswersParse parse = ui::Answers::Parse(answersText);
    ASSERT_TRUE(parse.answers) << parse.error;
    answers = std::move(parse.answers);
    frontend = std::make_unique<ui::UnattendedFrontend>(&*answers, codePage);
    windows.SetFrontend(frontend.get());
}

std::string Win32UiTest::Field(const PlatformEvent& event, const std::string& name) {
    for (const auto& [key, value] : event.fields) {
        if (key == name && std::holds_alternative<std::string>(value))
            return std::get<std::string>(value);
    }
    return {};
}

} // namespace tl::win32ui::test
