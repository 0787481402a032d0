#pragma once
// Help: a help file is shown by the viewer that suits its kind. On this
// system every kind opens with the desktop's opener (xdg-open), from an
// argument vector. Windows help (".hlp") and HTML help (".chm") have no
// viewer here: such a file is shown through its web-page twin, the same name
// with ".html", and its topics become anchors of that page (a topic number
// "#n", the contents "#contents", the index "#index", a keyword "#keyword",
// the page of an "ms-its:" reference "#page"); without a twin the file
// itself goes to the opener.

#include <string>
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
// Whether HelpFile would find the file: as given or beside the program, an
// old help name also as its web page.
bool HelpFileExists(std::string_view fileName);
// The full path of the page or file HelpFile would show for the name (an
// old help name's web page first); empty when none exists.
std::string HelpPageFound(std::string_view fileName);

// Windows help commands and HTML help commands as the viewers know them.
enum WinHelpCommand {
    HelpContext = 1,
    HelpIndex = 3,
    HelpContextPopup = 8,
    HelpFinder = 11,
    HelpKey = 0x101
};
enum HtmlHelpCommand {
    HhDisplayTopic = 0,
    HhDisplayToc = 1,
    HhKeywordLookup = 13,
    HhDisplayTextPopup = 14,
    HhHelpContext = 15
};

// The window-system side. error: 0 shown, 1 the file is missing, 1030 the
// viewer failed. `file` is a full path; an "ms-its:" page rides in `keyword`
// of HtmlHelpShow as "::/page".
void WinHelpShow(int command, int popup, int topic, int& error, std::string_view file,
                 std::string_view keyword);
void HtmlHelpShow(int command, int popup, int topic, int& error, std::string_view file,
                  std::string_view keyword);
// kind 1 local file, 3 web address (2 and 4 always append the anchor); the
// anchor is added for kinds 1 and 3 when topic is above 0.
void BrowserShow(int kind, int topic, int& error, std::string_view fileOrAddress,
                 std::string_view anchor);
void DocumentOpen(int& error, std::string_view file);

}  // namespace tk
