#include "calc/message_seam.h"

#include <utility>

namespace calc {

namespace {

struct MessageBoxes {
    MessageBox information;
    MessageBox warning;
};

MessageBoxes& boxes() {
    static MessageBoxes b;
    return b;
}

}  // namespace

void setCalcMessageBoxes(MessageBox information, MessageBox warning) {
    boxes().information = std::move(information);
    boxes().warning = std::move(warning);
}

void WINMSG(std::string_view text) {
    if (boxes().information) boxes().information(text);
}

void WINWRN(std::string_view text) {
    if (boxes().warning) boxes().warning(text);
}

}  // namespace calc
