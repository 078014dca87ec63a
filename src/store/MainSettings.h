#pragma once
// The logged-on user's settings as the main window keeps them in memory, read once when the
// window is created, each with its default when the store has no value.

#include <string>

namespace keystead {

class RegistryStore;

struct MainGeometry {
    int width = 487;
    int height = 397;
    int left = 0;   // the defaults centre the window on the screen
    int top = 0;
    int columnWidths[4] = {200, 85, 115, 75};
    int listHeight = 217;
};

struct MainSettings {
    int sortColumn = 0;
    bool showPasswords = true;
    bool showSystem = true;
    bool showComments = true;
    bool protectToggle = false;
    bool clearClipboard = true;
    bool deleteWarning = true;
    bool showGridlines = false;
    bool minimizeToTray = false;
    bool passwordProtectTray = false;
    bool autoExport = false;
    std::string autoExportPath;
    std::string urlColor = "clHighlight";
    bool alwaysOnTop = false;
    std::string listFontName = "MS Sans Serif";
    int listFontSize = 8;
    std::string notesFontName = "MS Sans Serif";
    int notesFontSize = 8;
};

// The largest extent a window can have (Qt's limit for a widget's size). A stored position or size
// is held within it before use, so that placing a window, which adds position and size, cannot
// overflow however the value was damaged.
constexpr int kLargestWindowExtent = 16777215;
int ClampedPosition(int stored);   // from -kLargestWindowExtent to kLargestWindowExtent
int ClampedExtent(int stored);     // from 0 to kLargestWindowExtent

// Width and height first, then left and top, whose defaults centre a window of that size; every
// value clamped as above.
MainGeometry ReadMainGeometry(RegistryStore& store, const std::string& user, int screenWidth, int screenHeight);

// The settings from "ShowPasswords" to "AlwaysOnTop", in that order, then the fonts; a sort column
// outside 0 to 2 reads as 0. programFolder ends in the path separator.
MainSettings ReadMainSettings(RegistryStore& store, const std::string& user, const std::string& programFolder);

// 0 List, anything else Details; kept in "Options" for every user of the machine.
bool ReadDetailsViewStyle(RegistryStore& store);

}  // namespace keystead
