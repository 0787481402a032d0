#include "util/message_boxes.h"

#include <gtest/gtest.h>

#include "platform/message_box.h"
#include "toolkit/core/toolkit_state.h"

namespace util {
namespace {

class MessageBoxesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        tk::toolkitState().reset();
        win::testing::resetMessageBoxes();
    }
    void TearDown() override { win::testing::resetMessageBoxes(); }
    static win::UINT style() { return win::testing::lastMessageBox()->style; }
};

TEST_F(MessageBoxesTest, InformationAndWarning) {
    WINMSG("Profile saved");
    auto box = win::testing::lastMessageBox();
    EXPECT_EQ(box->caption, "Varendal Library Message");
    EXPECT_EQ(box->text, "Profile saved");
    EXPECT_EQ(style(), win::MB_OK | win::MB_ICONINFORMATION);
    WINWRN("Careful");
    EXPECT_EQ(style(), win::MB_OK | win::MB_ICONEXCLAMATION);
}

TEST_F(MessageBoxesTest, OkCancel) {
    bool cancel = true;
    win::testing::queueMessageBoxAnswer(win::IDOK);
    WINMSGC("Go on?", cancel);
    EXPECT_FALSE(cancel);
    EXPECT_EQ(style(), win::MB_OKCANCEL | win::MB_ICONINFORMATION);
    win::testing::queueMessageBoxAnswer(win::IDCANCEL);
    WINMSGC("Go on?", cancel);
    EXPECT_TRUE(cancel);
    win::testing::queueMessageBoxAnswer(0);  // not shown: as OK
    WINMSGC("Go on?", cancel);
    EXPECT_FALSE(cancel);
}

TEST_F(MessageBoxesTest, QuestionsAndTheirDefaults) {
    bool answer = false;
    WINQUE("Delete?", answer);  // No is the default and the answer
    EXPECT_EQ(style(), win::MB_YESNO | win::MB_ICONQUESTION | win::MB_DEFBUTTON2);
    EXPECT_FALSE(answer);
    answer = true;
    WINQUE("Delete?", answer);
    EXPECT_EQ(style(), win::MB_YESNO | win::MB_ICONQUESTION);
    EXPECT_TRUE(answer);
    win::testing::queueMessageBoxAnswer(0);
    WINQUE("Delete?", answer);
    EXPECT_FALSE(answer);

    answer = true;
    WINANS("Overwrite?", answer);
    EXPECT_EQ(style(), win::MB_YESNO | win::MB_ICONEXCLAMATION | win::MB_DEFBUTTON2);
    EXPECT_FALSE(answer);
    win::testing::queueMessageBoxAnswer(win::IDYES);
    WINANS("Overwrite?", answer);
    EXPECT_TRUE(answer);
}

}  // namespace
}  // namespace util
