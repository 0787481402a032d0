#pragma once
// What every grid editor command does around its work: the editor's window
// is made the current window, the toolkit's last error is kept aside (the
// commands leave none behind), and the dialog that was current before a
// command loaded its own is made current again.

#include <string_view>

namespace tk {

class GridCommandFrame {
  public:
    explicit GridCommandFrame(int window);
    ~GridCommandFrame();
    GridCommandFrame(const GridCommandFrame&) = delete;
    GridCommandFrame& operator=(const GridCommandFrame&) = delete;

    // Sets the last error to 0 before a call whose error is tested.
    void clearError();
    int lastError() const;
    // The last error stays as it was before the command (the default).
    void keepOldError() { restoreError_ = true; }

    // Loads a dialog template; false (after "Unable to load required
    // dialog") when it cannot be loaded.
    bool loadDialog(int templateId);
    void unloadDialog();

  private:
    int previousWindow_ = 0;
    int savedError_ = 0;
    int previousDialog_ = 0;
    bool switched_ = false;
    bool restoreError_ = true;
    bool dialogLoaded_ = false;
    int dialogId_ = 0;
};

// The message box of a grid editor command.
void gridCommandBox(int buttons, int icon, std::string_view text, std::string_view caption,
                    int defaultButton = 1);

}  // namespace tk
