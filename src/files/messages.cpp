#include "files/messages.h"

#include "util/message_boxes.h"

namespace files {

namespace {
MessageBoxes defaultBoxes() {
    return {[](std::string_view t) { util::WINMSG(t); },
            [](std::string_view t) { util::WINWRN(t); },
            [](std::string_view t) {
                bool yes = false;
                util::WINQUE(t, yes);
                return yes;
            }};
}
}  // namespace

MessageBoxes& messageBoxes() {
    static MessageBoxes boxes = defaultBoxes();
    return boxes;
}

void resetMessageBoxes() {
    messageBoxes() = defaultBoxes();
}

void showInformation(std::string_view text) {
    if (messageBoxes().information) messageBoxes().information(text);
}

void showWarning(std::string_view text) {
    if (messageBoxes().warning) messageBoxes().warning(text);
}

bool askYesNo(std::string_view text) {
    return messageBoxes().question && messageBoxes().question(text);
}

}  // namespace files
