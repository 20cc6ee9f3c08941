// The installer's dialogs without a scenario: placement, the F3 hook, the cancel question and the
// texts they load, the boxes built in memory, and dialog templates as DLGTEMPLATE bytes.
#include "dialogs/dialog_utils.h"
#include "dialogs/memory_dialogs.h"
#include "dialogs/memory_dialogs_layout.h"
#include "platform/host/iconv_code_page.h"
#include "resources/dialog_template_builder.h"
#include "resources/dialog_template_fields.h"
#include "resources/dialog_templates.h"
#include "resources/string_table.h"
#include "support/plain_window.h"
#include "ui/scripted_frontend.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace tl {
namespace {

struct DialogUtilsTest : test::ScriptedHost {
    DialogUtilState state;
};

// Centred on a large screen; on a small one, two thirds of the free height above.
TEST(CentreWindow, PutsDialogsLowerOnSmallScreens) {
    const struct {
        host::ScreenSettings screen;
        Rect rect;
    } cases[] = {{{}, {412, 234, 612, 534}}, {{800, 600}, {300, 200, 500, 500}}};
    for (const auto& c : cases) {
        host::IconvCodePage codePage;
        test::ScriptedFrontend frontend;
        host::HostWindowSystem windows(frontend, codePage, c.screen);
        const WindowHandle window = test::CreatePlainWindow(windows);
        windows.MoveWindow(window, 0, 0, 200, 300, FALSE);
        CentreWindow(windows, window);
        Rect rect;
        windows.GetWindowRect(window, rect);
        EXPECT_EQ(rect, c.rect);
    }
}

TEST_F(DialogUtilsTest, F3InTheF3DialogPostsItsExitButton) {
    const WindowHandle dialog = test::CreatePlainWindow(system);
    const WindowHandle other = test::CreatePlainWindow(system);
    const auto child = [&](WindowHandle parent) {
        return system.CreateWindow("Plain", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, parent, 117,
                                   0);
    };
    const WindowHandle control = child(dialog), elsewhere = child(other);
    InstallF3Hook(system, state);
    state.f3Dialog = dialog;

    const Message f3{control, WM_KEYDOWN, VK_F3, 0, 0};
    EXPECT_EQ(MsgFltr(system, state, MSGF_DIALOGBOX, 0, f3), 1);
    // Anything else passes on: another dialog, another key, a key release, another hook code.
    EXPECT_EQ(MsgFltr(system, state, MSGF_DIALOGBOX, 0, Message{elsewhere, WM_KEYDOWN, VK_F3}), 0);
    EXPECT_EQ(MsgFltr(system, state, MSGF_DIALOGBOX, 0, Message{control, WM_KEYDOWN, 0x73}), 0);
    EXPECT_EQ(MsgFltr(system, state, MSGF_DIALOGBOX, 0, Message{control, WM_KEYUP, VK_F3}), 0);
    EXPECT_EQ(MsgFltr(system, state, 2, 0, f3), 0);

    Message posted;
    ASSERT_TRUE(system.GetMessage(posted, WindowHandle{}, 0, 0));
    EXPECT_EQ(std::tuple(posted.window, posted.message, posted.wParam, posted.lParam),
              std::tuple(dialog, UINT{WM_COMMAND}, WPARAM{118}, LPARAM{0}));

    EXPECT_TRUE(RemoveF3Hook(system, state));
    EXPECT_FALSE(state.hook);
    state.f3Dialog = WindowHandle{};
    // Without an F3 dialog, a top-level window's F3 is nobody's.
    EXPECT_EQ(MsgFltr(system, state, MSGF_DIALOGBOX, 0, Message{dialog, WM_KEYDOWN, VK_F3}), 0);
}

TEST_F(DialogUtilsTest, ConfirmCancelAsksByInstallationState) {
    const WindowHandle owner = test::CreatePlainWindow(system);
    EXPECT_EQ(ConfirmCancel(system, owner, InstallationState::NotStarted),
              IDNO); // No is the default
    frontend.boxAnswers.push_back(IDYES);
    EXPECT_EQ(ConfirmCancel(system, owner, InstallationState::Installed), IDYES);
    ConfirmCancel(system, owner, InstallationState::RestartNeeded);
    ASSERT_EQ(frontend.boxes.size(), 3u);
    EXPECT_EQ(frontend.boxes[0].key, "123");
    EXPECT_EQ(frontend.boxes[0].text, *LookupString(123));
    EXPECT_EQ(frontend.boxes[0].caption, *LookupString(161));
    EXPECT_EQ(frontend.boxes[0].type, MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2);
    EXPECT_EQ(frontend.boxes[0].owner, owner);
    EXPECT_EQ(frontend.boxes[1].key, "124");
    EXPECT_EQ(frontend.boxes[2].key, "124");
}

TEST_F(DialogUtilsTest, LoadTextFillsTheGivenBufferOrTheSharedOne) {
    std::array<char, 256> buffer{};
    const std::string_view caption = LoadText(161, std::span<char>(buffer));
    EXPECT_EQ(caption, *LookupString(161));
    EXPECT_EQ(caption.data(), buffer.data());

    const std::string_view first = LoadText(163, state);
    EXPECT_EQ(first.data(), state.scratch.data());
    const std::string_view second = LoadText(11, state);
    EXPECT_EQ(second, "INSTALL.INF");
    EXPECT_EQ(std::string_view(state.scratch.data()), "INSTALL.INF"); // the first is gone

    std::array<char, 4> small{};
    EXPECT_EQ(LoadText(11, std::span<char>(small)), "INS");
    EXPECT_EQ(LoadText(9999, std::span<char>(buffer)), "");
    EXPECT_EQ(LoadTextCopy(11), "INSTALL.INF");
}

struct MemoryDialogsTest : test::ScriptedHost {
    WindowHandle owner = test::CreatePlainWindow(system);
};

TEST_F(MemoryDialogsTest, UnknownTemplateIsRefusedWithTheFixedMessage) {
    EXPECT_EQ(RunRestartDialog(system, codePage, owner, {}, "OTHER"), -1);
    EXPECT_TRUE(frontend.dialogs.empty());
    ASSERT_EQ(frontend.boxes.size(), 1u);
    EXPECT_EQ(frontend.boxes[0].text, "cannot create dialogbox");
    EXPECT_EQ(frontend.boxes[0].caption, "error");
    EXPECT_EQ(frontend.boxes[0].type, MB_OK);
}

TEST_F(MemoryDialogsTest, ResourceMessageIsSystemModalAndFitsItsBuffer) {
    ShowResourceMessage(system, owner, 133);
    ShowResourceMessage(system, owner, 115); // longer than 127 bytes
    ASSERT_EQ(frontend.boxes.size(), 2u);
    EXPECT_EQ(frontend.boxes[0].text, *LookupString(133));
    EXPECT_EQ(frontend.boxes[0].caption, *LookupString(163));
    EXPECT_EQ(frontend.boxes[0].type, MB_OK | MB_ICONASTERISK | MB_SYSTEMMODAL);
    EXPECT_EQ(frontend.boxes[0].key, "133");
    const std::string_view full = *LookupString(115);
    ASSERT_GT(full.size(), 127u);
    EXPECT_LE(frontend.boxes[1].text.size(), 127u);
    EXPECT_EQ(full.substr(0, frontend.boxes[1].text.size()), frontend.boxes[1].text);
}

TEST(DialogTemplateBytes, ReaderRoundTripsAndRejectsEveryTruncation) {
    DialogTemplateFields fields = ChoiceDialogTemplate(9, kAutoRadioButton, u"\uC2DC\uC2A4\uD15C");
    fields.title = u"Choice";
    fields.items[2].windowClass = TemplateName{u"", 0x0082};
    fields.items[3].creationData = {1, 2, 3};
    DialogTemplateBuilder builder;
    ASSERT_TRUE(BuildDialogTemplate(fields, builder));
    const auto read = ReadDialogTemplate(builder.Block());
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, fields);
    const std::vector<BYTE> exact(builder.Block().begin(),
                                  builder.Block().begin() +
                                      static_cast<std::ptrdiff_t>(builder.Used()));
    EXPECT_TRUE(ReadDialogTemplate(exact));
    for (std::size_t size = 0; size < exact.size(); ++size)
        ASSERT_FALSE(ReadDialogTemplate(std::span(exact.data(), size))) << size;
    std::vector<BYTE> extended(64, 0); // DLGTEMPLATEEX: version 1, signature 0xFFFF
    extended[0] = 0x01;
    extended[2] = extended[3] = 0xFF;
    EXPECT_FALSE(ReadDialogTemplate(extended));
}

TEST(DialogTemplateBytes, BuilderRefusesWhatDoesNotFit) {
    DialogTemplateBuilder small(80);
    const DialogTemplateFields fields = ChoiceDialogTemplate(4, kAutoRadioButton, u"system");
    ASSERT_TRUE(small.SetHeader(fields));
    EXPECT_TRUE(small.AddItem(fields.items[0]));
    EXPECT_FALSE(small.AddItem(fields.items[1]));
    EXPECT_EQ(small.Block()[8] | small.Block()[9] << 8, 1); // the item count
    EXPECT_EQ(small.Used(), 76u);                           // header 40, one item of 36
    DialogTemplateBuilder tiny(10);
    EXPECT_FALSE(tiny.SetHeader(fields));
    EXPECT_FALSE(tiny.AddItem(fields.items[0]));
}

TEST(DialogTemplateBytes, TypefaceConversion) {
    EXPECT_EQ(Utf8ToUtf16("system"), u"system");
    EXPECT_EQ(Utf8ToUtf16("\xEC\x8B\x9C\xF0\x9F\x98\x80"), u"\uC2DC\U0001F600");
    EXPECT_EQ(Utf8ToUtf16("a\xFF"
                          "b\xE0\x80"),
              u"a\uFFFDb\uFFFD\uFFFD");
    EXPECT_EQ(Utf16ToUtf8(u"\uC2DC\U0001F600"), "\xEC\x8B\x9C\xF0\x9F\x98\x80");
}

TEST(RestartDialog, WidthFollowsTheReturnText) {
    const auto narrow = RestartDialogTemplate("WIN_RESTART", 26, u"system");
    ASSERT_TRUE(narrow);
    EXPECT_EQ(narrow->cx, 230);
    EXPECT_EQ(narrow->items[1].x, 120); // the buttons side by side
    const auto wide = RestartDialogTemplate("WIN_RESTART", 40, u"system");
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->cx, 200);
    EXPECT_EQ(wide->items[1].x, 10); // one above the other
    EXPECT_EQ(wide->items[1].y, 80);
    EXPECT_EQ(RestartDialogTemplate("WIN_RESTART", 27, u"s")->cx, 142); // 121.5 rounds up
    EXPECT_FALSE(RestartDialogTemplate("CHOICE", 26, u"system"));
    EXPECT_EQ(MulDiv(-27, 45, 10), -122);
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
}

TEST(DialogTemplates, SurviveTheTripThroughDlgTemplateBytes) {
    host::IconvCodePage codePage;
    for (const DialogTemplate& original : AllDialogTemplates()) {
        DialogTemplateBuilder builder;
        const DialogTemplateFields fields = ui::FieldsFromDialogTemplate(original, codePage);
        ASSERT_TRUE(BuildDialogTemplate(fields, builder)) << original.name;
        auto back = ui::DialogTemplateFromBytes(builder.Block(), codePage);
        ASSERT_TRUE(back.has_value()) << original.name;
        back->name = original.name;
        EXPECT_EQ(*back, original) << original.name;
    }
    EXPECT_FALSE(ui::DialogTemplateFromBytes(std::vector<BYTE>(10, 0), codePage).has_value());
}

} // namespace
} // namespace tl
