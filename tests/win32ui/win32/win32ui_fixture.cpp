#include "win32ui_fixture.h"

#include "platform/win32/ui/wide_text.h"

namespace tl::win32ui::test {
std::string SystemCodePage::ToUtf8(std::string_view ansi) const {
    const std::wstring wide = AnsiToWide(ansi);
    const int length = static_cast<int>(wide.size());
    std::string utf8(static_cast<std::size_t>(length) * 3, '\0');
    utf8.resize(static_cast<std::size_t>(WideCharToMultiByte(
        CP_UTF8, 0, wide.data(), length, utf8.data(), length * 3, nullptr, nullptr)));
    return utf8;
}

std::string SystemCodePage::FromUtf8(std::string_view utf8) const {
    const int length = static_cast<int>(utf8.size());
    std::wstring wide(utf8.size(), L'\0');
    wide.resize(static_cast<std::size_t>(
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, wide.data(), length)));
    return WideToAnsi(wide);
}

std::string Ansi(std::string_view utf8) {
    return SystemCodePage().FromUtf8(utf8);
}

// TL_TEXT_CALLS=ansi runs the tests on the ANSI calls of Windows 95 (with a Korean code page).
static TextCalls TestTextCalls() {
    char value[16] = {};
    GetEnvironmentVariableA("TL_TEXT_CALLS", value, sizeof value);
    return std::string_view(value) == "ansi" ? TextCalls::Ansi : TextCalls::Wide;
}

Win32UiTest::Win32UiTest() : windows(GetModuleHandleW(nullptr), codePage, TestTextCalls()) {
    windows.SetObserver(&recorder);
    windows.SetEventSink(&recorder);
    windows.SetStopHandler([this](const std::string& reason) { stops.push_back(reason); });
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
