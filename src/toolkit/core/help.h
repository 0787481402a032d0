#pragma once
// Help: a help file is shown by the viewer that suits its kind. Here every
// kind opens with the desktop's opener (xdg-open) from an argument vector; a
// ".hlp" name is looked for as ".html" too, as that is what a Linux viewer
// can show.

#include <string_view>

#include "toolkit/core/text_args.h"

namespace tk {

// The application's form: a topic number of -1 means none; command mode 1.
void HelpTopicShow(std::string_view fileName, int topicNumber = -1, int popup = 0);
void HelpFile(std::string_view fileName, int topicNumber, std::string_view topicText, int popup,
              int commandMode);
void HelpCloseAll();
// The full path of a name (blank for a blank name); error 13 on failure.
void OsFullPathname(std::string_view name, TextOut fullName);

}  // namespace tk
