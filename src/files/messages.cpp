#include "files/messages.h"

#include <cstdio>

namespace files {

namespace {
void toStandardError(std::string_view kind, std::string_view text) {
    std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(kind.size()), kind.data(),
                 static_cast<int>(text.size()), text.data());
}

MessageBoxes defaultBoxes() {
    return {[](std::string_view t) { toStandardError("Message", t); },
            [](std::string_view t) { toStandardError("Warning", t); }};
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
