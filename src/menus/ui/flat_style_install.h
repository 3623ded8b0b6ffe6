// Puts the flat menus and toolbars into the program.
#pragma once

class CFlatMenuStyle;
class IProfile;
class QMainWindow;

// Makes CFlatMenuStyle the application's style (over the style it had) and
// gives the window's toolbars their 16 x 15 images. The menu settings are
// read from the profile the first time; later calls keep the style and its
// settings, so changes to the profile take effect at the next start. Call it
// once the window has its toolbars and before a menu first opens.
CFlatMenuStyle* InstallFlatStyle(QMainWindow* window, const IProfile& profile);

// For pictures of the program: opens the window's first menu from its menu
// bar, as a click on its title does, and shows the first enabled toolbar
// button that the menu leaves in sight as if the mouse were on it. Call it
// once the window is shown and active (an inactive window greys its menu bar).
void ShowFlatStyleScene(QMainWindow* window);
