#pragma once
// Dialog templates in their binary form (classic and extended), read into a
// plain description, and written from one (for the dialogs the layer makes
// itself: message boxes and the common dialogs).

#include <string>
#include <vector>

#include "platform/win_types.h"

namespace win::dialogs {

struct TemplateItem {
    DWORD style = 0;
    DWORD exStyle = 0;
    int x = 0, y = 0, cx = 0, cy = 0;  // dialog units
    int id = 0;
    std::string className;  // predefined classes by name ("Button" ...)
    std::string text;
    bool textIsOrdinal = false;
    WORD textOrdinal = 0;
};

struct DialogTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
    std::string menuName;
    WORD menuId = 0;
    std::string className;
    std::string caption;
    bool hasFont = false;
    int pointSize = 8;
    int weight = 400;
    bool italic = false;
    std::string face = "MS Sans Serif";
    std::vector<TemplateItem> items;
};

// False when the bytes are not a template.
bool parseTemplate(const void* data, DialogTemplate& out);
// The extended binary form of a description.
std::vector<BYTE> buildTemplate(const DialogTemplate& t);

}  // namespace win::dialogs
