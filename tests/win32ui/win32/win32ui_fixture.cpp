#include "win32ui_fixture.h"

namespace tl::win32ui::test {
std::string Ansi(std::string_view utf8) {
    return win32::Win32CodePage().FromUtf8(utf8);
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
