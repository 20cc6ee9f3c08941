#include "platform/host/iconv_code_page.h"
#include "platform/host/ui/host_window_system.h"
#include "ui/unattended/answers.h"
#include "ui/unattended/stream_line_sink.h"
#include "ui/unattended/transcript.h"
#include "ui/unattended/unattended_frontend.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>

namespace tl::ui {
namespace {

using nlohmann::json;

struct Unattended : ::testing::Test {
    host::IconvCodePage codePage;
    std::optional<Answers> answers;
    std::unique_ptr<UnattendedFrontend> frontend;
    std::unique_ptr<host::HostWindowSystem> system;
    std::ostringstream out;
    StreamLineSink sink{out};
    std::unique_ptr<Transcript> transcript;
    std::string stopped;

    void Start(const std::string& answersText = {}) {
        if (!answersText.empty()) {
            auto parse = Answers::Parse(answersText);
            ASSERT_TRUE(parse.answers) << parse.error;
            answers = std::move(parse.answers);
        }
        frontend = std::make_unique<UnattendedFrontend>(answers ? &*answers : nullptr, codePage);
        system = std::make_unique<host::HostWindowSystem>(*frontend, codePage);
        transcript = std::make_unique<Transcript>(sink, codePage);
        system->SetObserver(transcript.get());
        system->SetStopHandler([this](const std::string& why) { stopped = why; });
    }

    std::string Ansi(const char* utf8) const { return codePage.FromUtf8(utf8); }

    // Every line of the transcript, parsed.
    std::vector<json> Lines() const {
        std::vector<json> lines;
        std::istringstream in(out.str());
        std::string line;
        while (std::getline(in, line))
            lines.push_back(json::parse(line));
        return lines;
    }
};

// In the manner of the model dialog: fills list 119 and the texts, ends with the selection.
DialogProc ModelList(const std::vector<std::string>& models) {
    return [models](DialogWindow& dialog, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
        if (message == WM_INITDIALOG) {
            for (const auto& model : models)
                dialog.ListAdd(119, model);
            dialog.ListSetCurSel(119, 0);
            return TRUE;
        }
        if (message == WM_COMMAND && LoWord(wParam) == 1) {
            dialog.EndDialog(100 + dialog.ListGetCurSel(119));
            return TRUE;
        }
        if (message == WM_COMMAND && LoWord(wParam) == 118) {
            dialog.EndDialog(0);
            return TRUE;
        }
        return FALSE;
    };
}

TEST_F(Unattended, MessageLinesHaveTheDocumentedShape) {
    Start("[Messages]\n139=No\n");
    EXPECT_EQ(system->MessageBox({}, Ansi("프린터 드라이버 설치하겠습니까?\n"), Ansi("질의 응답"),
                                 MB_YESNO, "139"),
              IDNO);
    EXPECT_EQ(system->MessageBox({}, Ansi("설치를 취소 하시겠습니까?"), Ansi("드라이버 설치"),
                                 MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2, "123"),
              IDNO);
    EXPECT_EQ(system->MessageBox({}, "cannot create dialogbox", "error", MB_OK,
                                 "cannot create dialogbox"),
              IDOK);
    transcript->End(InstallationState::Installed, 0);
    auto lines = Lines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(out.str().substr(0, out.str().find('\n')),
              R"({"event":"message","key":"139","caption":"질의 응답","text":"프린터 드라이버 )"
              R"(설치하겠습니까?\n","buttons":"yesno","icon":"none","answer":"no"})");
    EXPECT_EQ(lines[1]["icon"], "warning");
    EXPECT_EQ(lines[1]["answer"], "no"); // its default button is the second
    EXPECT_EQ(lines[2]["buttons"], "ok");
    EXPECT_EQ(lines[3].dump(), R"({"event":"end","exitCode":0,"state":4})"); // dump sorts keys
    EXPECT_EQ(out.str().substr(out.str().rfind("{\"event\":\"end\"")),
              "{\"event\":\"end\",\"state\":4,\"exitCode\":0}\n");
}

TEST_F(Unattended, DialogAnswersAreAppliedInOrderThenTheButtonPressed) {
    Start("[SELECTDRV]\n119=Telmora 600\nPress=1\n[SELECTDRV#2]\nPress=118\n");
    auto proc = ModelList({"Telmora 300", "Telmora 600"});
    EXPECT_EQ(system->DialogBox("SELECTDRV", {}, proc, 0), 101);
    EXPECT_EQ(system->DialogBox("SELECTDRV", {}, proc, 0), 0);
    EXPECT_EQ(system->DialogBox("SELECTDRV", {}, proc, 0), 101); // [SELECTDRV] again
    auto lines = Lines();
    ASSERT_EQ(lines.size(), 3u);
    const json& first = lines[0];
    EXPECT_EQ(first["event"], "dialog");
    EXPECT_EQ(first["template"], "SELECTDRV");
    EXPECT_EQ(first["opened"]["controls"]["119"]["items"],
              json::array({"Telmora 300", "Telmora 600"}));
    EXPECT_EQ(first["opened"]["controls"]["119"]["selected"], json::array({0}));
    EXPECT_EQ(first["closed"]["controls"]["119"]["selected"], json::array({1}));
    EXPECT_EQ(first["closed"]["controls"]["1"]["enabled"], true);
    EXPECT_FALSE(first["closed"]["controls"]["1"].contains("checked"));
    EXPECT_EQ(first["pressed"], 1);
    EXPECT_EQ(first["result"], 101);
    EXPECT_EQ(lines[1]["pressed"], 118);
    EXPECT_EQ(lines[1]["result"], 0);
    // The keys of a state are the caption and the controls, in that order.
    std::string text = out.str();
    EXPECT_NE(text.find(R"("opened":{"caption":"","controls":{"146":{"text":"","enabled":true},)"),
              std::string::npos);
}

TEST_F(Unattended, WithoutAnswersTheDefaultButtonTakesTheInitialContents) {
    Start();
    EXPECT_EQ(system->DialogBox("SELECTDRV", {}, ModelList({"A", "B"}), 0), 100);
    EXPECT_EQ(Lines().at(0)["pressed"], 1);
}

TEST_F(Unattended, ARefusedAnswerIsTriedTwiceThenStopsTheRunNamingTheDialog) {
    Start("[PRINTERNAME]\n1006=Taken\n");
    int tries = 0;
    DialogProc proc = [&](DialogWindow& dialog, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
        if (message == WM_COMMAND && LoWord(wParam) == 1) {
            ++tries;
            if (dialog.GetItemText(1006, 256) != "Taken")
                dialog.EndDialog(1);
            return TRUE;
        }
        return message == WM_INITDIALOG;
    };
    EXPECT_EQ(system->DialogBox("PRINTERNAME", {}, proc, 0), -1);
    EXPECT_EQ(tries, 2);
    EXPECT_NE(stopped.find("dialog PRINTERNAME is still open"), std::string::npos) << stopped;
    auto lines = Lines();
    ASSERT_EQ(lines.size(), 1u); // the dialog as it was left
    EXPECT_TRUE(lines[0]["result"].is_null());
}

TEST_F(Unattended, AnswersAUserCouldNotGiveStopTheRunAtOnce) {
    struct Case {
        const char* answers;
        const char* says;
    };
    DialogProc proc = [](DialogWindow& dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
        if (message == WM_INITDIALOG) {
            dialog.ListAdd(110, "Gothic");
            dialog.EnableItem(111, false);
        }
        return FALSE;
    };
    for (const Case& c : {
             Case{"[FONT]\n110=Batang\n", "list 110 has no item \"Batang\""},
             Case{"[FONT]\n999=x\n", "has no control 999"},
             Case{"[FONT]\n112=5\n", "takes no value"},
             Case{"[FONT]\nPress=111\n", "control 111 is disabled"},
             Case{"[FONT]\nPress=133\n", "has no button 133"},
         }) {
        stopped.clear();
        out.str("");
        Start(c.answers);
        EXPECT_EQ(system->DialogBox("FONT", {}, proc, 0), -1) << c.answers;
        EXPECT_NE(stopped.find(c.says), std::string::npos) << c.answers << ": " << stopped;
        EXPECT_TRUE(system->Stopped());
    }
}

TEST_F(Unattended, AMessageAnswerThatDoesNotFitTheButtonsStopsTheRun) {
    Start("[Messages]\n139=OK\n");
    EXPECT_EQ(system->MessageBox({}, "x", "y", MB_YESNO, "139"), IDYES);
    EXPECT_NE(stopped.find("message 139 offers yesno"), std::string::npos) << stopped;
    EXPECT_TRUE(Lines().empty());
}

TEST_F(Unattended, TheSameQuestionAnsweredTheSameWayTwentyTimesStopsTheRunNamingIt) {
    Start("[Messages]\n185=OK\n");
    // A drive dialog whose answer brings it back, and a file's question asked for each file:
    // only the first is a wait that cannot end.
    for (int i = 1; i < 20; ++i) {
        EXPECT_NE(system->DialogBox("SELECTDRIVE", {}, ModelList({"A:", "B:"}), 0), -1);
        EXPECT_EQ(system->MessageBox({}, "Put in disk 2", "Disk", MB_OK, "185"), IDOK);
        EXPECT_EQ(system->MessageBox({}, "Replace FILE" + std::to_string(i) + "?", "Replace",
                                     MB_YESNO, "151"),
                  IDYES);
        ASSERT_TRUE(stopped.empty()) << i << ": " << stopped;
    }
    EXPECT_EQ(system->DialogBox("SELECTDRIVE", {}, ModelList({"A:", "B:"}), 0), -1);
    EXPECT_NE(stopped.find("dialog SELECTDRIVE has opened 20 times"), std::string::npos) << stopped;

    // A message box counts by its key and its text; a dialog answered otherwise starts again.
    stopped.clear();
    Start("[SELECTDRV#5]\n119=B\n");
    for (int i = 1; i <= 19; ++i)
        system->MessageBox({}, "Put in disk 2", "Disk", MB_OK, "185");
    for (int i = 1; i <= 22; ++i)
        system->DialogBox("SELECTDRV", {}, ModelList({"A", "B"}), 0);
    EXPECT_TRUE(stopped.empty()) << stopped;
    system->MessageBox({}, "Put in disk 2", "Disk", MB_OK, "185");
    EXPECT_NE(stopped.find("message 185 has been shown 20 times"), std::string::npos) << stopped;
}

TEST_F(Unattended, TimersAndPlatformEventsAreRecordedInOrder) {
    Start();
    transcript->Record(PlatformEvent{"restart", {{"flags", std::int64_t{2}}}});
    transcript->Record(PlatformEvent{
        "broadcast", {{"message", std::string("WM_DEVMODECHANGE")}, {"text", std::string("T")}}});
    transcript->TimerFired(1, 2000, 2000);
    auto lines = Lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(out.str().substr(0, out.str().find('\n')), R"({"event":"restart","flags":2})");
    EXPECT_EQ(lines[1]["text"], "T");
    EXPECT_EQ(lines[2], json::parse(R"({"event":"timer","id":1,"delay":2000,"time":2000})"));
}

TEST_F(Unattended, BroadcastsAreRecordedWithTheirText) {
    Start();
    system->SetEventSink(transcript.get());
    std::string printer = Ansi("텔모라 600");
    system->SendMessage(kBroadcastWindow, WM_DEVMODECHANGE, 0,
                        reinterpret_cast<LPARAM>(printer.c_str()));
    system->SendMessage(kBroadcastWindow, WM_FONTCHANGE, 0, 0);
    std::string text = out.str();
    EXPECT_EQ(text, "{\"event\":\"broadcast\",\"message\":\"WM_DEVMODECHANGE\",\"text\":\"텔모라 "
                    "600\"}\n{\"event\":\"broadcast\",\"message\":\"WM_FONTCHANGE\"}\n");
}

} // namespace
} // namespace tl::ui

#include "resources/dialog_template_builder.h"

namespace tl::ui {
namespace {

// The language dialog is built in memory; its answers check a radio button by id.
TEST_F(Unattended, ChoiceAnswersCheckARadioButton) {
    Start("[CHOICE]\n22=1\n20=0\nPress=1\n");
    DialogTemplateFields header;
    header.style = 0x10C800C4;
    header.cx = 174;
    header.cy = 98;
    header.pointSize = 8;
    header.typeface = u"system";
    DialogTemplateBuilder builder;
    ASSERT_TRUE(builder.SetHeader(header));
    for (int id : {1, 2, 20, 21, 22}) {
        DialogItemFields item;
        item.id = static_cast<WORD>(id);
        item.style = id < 20 ? 0x50010000u | (id == 1 ? 1u : 0u) : 0x50010009u;
        item.windowClass.ordinal = 0x80;
        item.cx = 50;
        item.cy = 10;
        ASSERT_TRUE(builder.AddItem(item));
    }
    DialogProc proc = [](DialogWindow& dialog, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
        if (message == WM_INITDIALOG) {
            dialog.CheckRadioButton(20, 22, 20);
            return TRUE;
        }
        if (message == WM_COMMAND && LoWord(wParam) == IDOK) {
            for (int id = 20; id <= 22; ++id) {
                if (dialog.IsButtonChecked(id))
                    dialog.EndDialog(id);
            }
        }
        return message == WM_COMMAND;
    };
    EXPECT_EQ(system->DialogBoxIndirect(builder.Block(), "CHOICE", {}, proc, 0), 22);
    auto lines = Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0]["template"], "CHOICE");
    EXPECT_EQ(lines[0]["opened"]["controls"]["20"]["checked"], true);
    EXPECT_EQ(lines[0]["closed"]["controls"]["20"]["checked"], false);
    EXPECT_EQ(lines[0]["closed"]["controls"]["22"]["checked"], true);
    EXPECT_EQ(lines[0]["result"], 22);
}

} // namespace
} // namespace tl::ui
