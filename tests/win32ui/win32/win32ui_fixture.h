// What the Win32 window-system tests share: the program's code page 949, a window system on the
// test's thread, and a recorder of what it reports. They run under Wine on an
// X display (Xvfb), with the real USER32 and GDI.
#pragma once

#include "platform/win32/ui/win32_window_system.h"
#include "platform/win32/win32_code_page.h"
#include "ui/unattended/answers.h"
#include "ui/unattended/unattended_frontend.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace tl::win32ui::test {

class Recorder final : public ui::Observer, public EventSink {
public:
    void MessageBoxShown(const ui::MessageBoxRequest&, int) override { ++boxes; }
    void DialogClosed(const ui::DialogRecord& record) override { dialogs.push_back(record); }
    void TimerFired(UINT_PTR, UINT, std::uint64_t) override {}
    void Record(PlatformEvent event) override { events.push_back(std::move(event)); }

    int boxes = 0;
    std::vector<ui::DialogRecord> dialogs;
    std::vector<PlatformEvent> events;
};

class Win32UiTest : public ::testing::Test {
protected:
    Win32UiTest();
    ~Win32UiTest() override { windows.SetFrontend(nullptr); }

    // Makes the run unattended with these answers (INI text, UTF-8).
    void Answer(const std::string& answersText);
    // The text of a PlatformEvent field, or "".
    static std::string Field(const PlatformEvent& event, const std::string& name);

    win32::Win32CodePage codePage;
    Win32WindowSystem windows;
    Recorder recorder;
    std::vector<std::string> stops;
    std::optional<ui::Answers> answers;
    std::unique_ptr<ui::UnattendedFrontend> frontend;
};

// Code page 949 bytes of a UTF-8 literal.
std::string Ansi(std::string_view utf8);

} // namespace tl::win32ui::test
