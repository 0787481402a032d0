#include "files/messages.h"

#include "util/message_boxes.h"

namespace files {

namespace {
MessageBoxes defaultBoxes() {
    return {[](std::string_view t) { util::WINMSG(t); },
            [](std::string_view t) { util::WINWRN(t); }};
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

}  // namespace files
