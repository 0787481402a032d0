#include "platform/message_box.h"

#include <deque>

#include "platform/window/presenter.h"

namespace win {
namespace {

struct MessageBoxLog {
    std::deque<int> answers;
    std::vector<testing::MessageBoxRecord> boxes;
    int beeps = 0;
};

MessageBoxLog& log() {
    static MessageBoxLog state;
    return state;
}

// The buttons of each set, left to right; the default button picks one.
int buttonAt(UINT set, int position) {
    static constexpr int kButtons[6][3] = {
        {IDOK, IDOK, IDOK},      {IDOK, IDCANCEL, IDCANCEL}, {IDABORT, IDRETRY, IDIGNORE},
        {IDYES, IDNO, IDCANCEL}, {IDYES, IDNO, IDNO},        {IDRETRY, IDCANCEL, IDCANCEL},
    };
    if (set > 5) set = 0;
    return kButtons[set][position];
}

int defaultAnswer(UINT type) {
    int position = 0;
    if ((type & MB_DEFMASK) == MB_DEFBUTTON2) position = 1;
    if ((type & MB_DEFMASK) == MB_DEFBUTTON3) position = 2;
    return buttonAt(type & MB_TYPEMASK, position);
}

}  // namespace

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    MessageBoxLog& s = log();
    int answer = defaultAnswer(type);
    if (!s.answers.empty()) {
        answer = s.answers.front();
        s.answers.pop_front();
    }
    s.boxes.push_back({owner, text ? text : "", caption ? caption : "Error", type, answer});
    return answer;
}

BOOL MessageBeep(UINT) {
    ++log().beeps;
    if (Presenter* p = currentPresenter()) p->beep();
    return TRUE;
}

namespace testing {

void queueMessageBoxAnswer(int answer) {
    log().answers.push_back(answer);
}
const std::vector<MessageBoxRecord>& messageBoxes() {
    return log().boxes;
}
std::optional<MessageBoxRecord> lastMessageBox() {
    if (log().boxes.empty()) return std::nullopt;
    return log().boxes.back();
}
int beepCount() {
    return log().beeps;
}
void resetMessageBoxes() {
    log() = MessageBoxLog{};
}

}  // namespace testing
}  // namespace win
