#include "ui/unattended/answers.h"

#include "platform/window_types.h"

#include <gtest/gtest.h>

namespace tl::ui {
namespace {

TEST(Answers, ReadsMessagesAndDialogSectionsInTheOrderWritten) {
    auto parse = Answers::Parse("\xEF\xBB\xBF; answers for a test\n"
                                "[Messages]\n"
                                "139=No               ; declines the driver\r\n"
                                "139#2 = yes\n"
                                "cannot create dialogbox=OK\n"
                                "[selectdrv]\n"
                                "119=Telmora 600\n"
                                "Press=1\n"
                                "[DIRECTORY#2]\n"
                                "117=D:\\FONTS;X\n"
                                "[SelectDrive]\n"
                                "650=\n");
    ASSERT_TRUE(parse.answers) << parse.error;
    const Answers& answers = *parse.answers;
    EXPECT_EQ(answers.ForMessage("139", 1)->result, IDNO);
    EXPECT_EQ(answers.ForMessage("139", 2)->result, IDYES);
    EXPECT_EQ(answers.ForMessage("139", 3)->result, IDNO);
    EXPECT_EQ(answers.ForMessage("Cannot Create DialogBox", 1)->result, IDOK);
    EXPECT_EQ(answers.ForMessage("140", 1), nullptr);

    const DialogAnswers* model = answers.ForDialog("SELECTDRV", 1);
    ASSERT_NE(model, nullptr);
    ASSERT_EQ(model->values.size(), 1u);
    EXPECT_EQ(model->values[0].id, 119);
    EXPECT_EQ(model->values[0].value, "Telmora 600");
    EXPECT_EQ(model->press, "1");
    EXPECT_EQ(answers.ForDialog("DIRECTORY", 1), nullptr);
    ASSERT_NE(answers.ForDialog("DIRECTORY", 2), nullptr);
    EXPECT_EQ(answers.ForDialog("DIRECTORY", 2)->values[0].value, "D:\\FONTS;X"); // no blank
    EXPECT_EQ(answers.ForDialog("SELECTDRIVE", 1)->values[0].value, "");
}

TEST(Answers, MistakesAreReportedWithTheirLine) {
    struct Case {
        const char* text;
        const char* says;
    };
    for (const Case& c : {
             Case{"[Mesages]\n139=No\n", "line 1"},
             Case{"[Messages]\n139=Maybe\n", "Yes, No, OK or Cancel"},
             Case{"139=No\n", "before any section"},
             Case{"[FONT]\nContinue=1\n", "not a control id"},
             Case{"[FONT]\nPress=Continue\n", "Press"},
             Case{"[FONT]\n110\n", "name=value"},
             Case{"[FONT#0]\n", "neither"},
             Case{"[FONT]\n[font]\n", "twice"},
             Case{"[Messages\n", "]"},
         }) {
        auto parse = Answers::Parse(c.text);
        EXPECT_FALSE(parse.answers) << c.text;
        EXPECT_NE(parse.error.find(c.says), std::string::npos) << c.text << ": " << parse.error;
    }
}

} // namespace
} // namespace tl::ui
