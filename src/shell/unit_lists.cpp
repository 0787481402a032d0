#include "shell/unit_lists.h"

#include <string>
#include <vector>

#include "toolkit/dialogs/field_lists.h"

namespace shell {

void putDistanceUnits(int field, const base::FixedString<8>& code) {
    std::vector<std::string> texts;
    int selected = 1;
    for (std::size_t i = 0; i < kDistanceUnits.size(); ++i) {
        texts.emplace_back(kDistanceUnits[i].text);
        if (code.trimmed() == kDistanceUnits[i].code) selected = static_cast<int>(i) + 1;
    }
    tk::DlgPutMenu(field, texts, static_cast<int>(texts.size()), selected);
}

base::FixedString<8> getDistanceUnit(int field) {
    int selected = 1;
    tk::DlgGetMenu(field, selected);
    if (selected < 1 || selected > static_cast<int>(kDistanceUnits.size())) selected = 1;
    return base::FixedString<8>(kDistanceUnits[static_cast<std::size_t>(selected - 1)].code);
}

}  // namespace shell
