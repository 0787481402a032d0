#pragma once
// Registration of the classes of every control and dialog the layer draws
// itself; the window system calls registerControlClasses() each time it
// starts from a clean desktop.

namespace win {

void registerControlClasses();

namespace controls {
void registerButtonClass();
void registerStaticClass();
void registerEditClass();
void registerListBoxClass();
void registerComboBoxClasses();
void registerUpDownClass();
void registerProgressClass();
void registerTabClass();
void registerTrackBarClass();
void registerStatusBarClass();
void registerToolBarClasses();
void registerScrollBarClass();
void registerHeaderClass();
void registerTreeViewClass();
void registerRichEditClass();
}  // namespace controls

namespace dialogs {
void registerDialogClass();
}  // namespace dialogs

}  // namespace win
