#pragma once
// The settings as the main window keeps them in memory: read once when the window is created,
// each with its default when the store has no value, and written back together by the options
// dialog.

#include <string>
#include <string_view>

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

// Font sizes in points; a stored size outside these bounds reads as the default.
inline constexpr int kDefaultFontSize = 8;
inline constexpr int kSmallestFontSize = 1;
inline constexpr int kLargestFontSize = 200;

// Seconds a copied password stays on the clipboard; 0 keeps it there. A stored value outside
// 0 to kLargestClipboardClearSeconds reads as the default.
inline constexpr int kDefaultClipboardClearSeconds = 30;
inline constexpr int kLargestClipboardClearSeconds = 999;

// Minutes without input after which the program locks; 0 never. A stored value outside 0 to
// kLargestLockIdleMinutes reads as 0.
inline constexpr int kLargestLockIdleMinutes = 999;

struct MainSettings {
    int sortColumn = 0;
    bool showPasswords = true;
    bool showSystem = true;
    bool showComments = true;
    bool protectToggle = false;
    bool clearClipboard = true;
    int clipboardClearSeconds = kDefaultClipboardClearSeconds;
    int lockIdleMinutes = 0;
    bool lockOnScreenLock = true;   // the desktop's screen lock and the machine's suspend lock it too
    bool deleteWarning = true;
    bool showGridlines = false;
    bool minimizeToTray = false;
    bool passwordProtectTray = false;
    bool autoExport = false;
    std::string autoExportPath;
    std::string urlColor = "clHighlight";
    bool alwaysOnTop = false;
    std::string listFontName = "MS Sans Serif";
    int listFontSize = kDefaultFontSize;
    std::string notesFontName = "MS Sans Serif";
    int notesFontSize = kDefaultFontSize;
    // In "Options", shared by every user; they take effect at the next start.
    bool fancyLogon = true;
    bool useLastUsername = false;
};

// The file name of the user's automatic export in the program's folder, "passwords-<user>.txt",
// and the one that replaces an unusable path, "password-<user>.txt": one file for each user, so
// that no user's export replaces another's. A character of the name that cannot stand in a file
// name is written "_".
std::string AutoExportFileName(std::string_view user);
std::string ReplacedExportFileName(std::string_view user);

// The largest extent a window can have (Qt's limit for a widget's size). A stored position or size
// is held within it before use, so that placing a window, which adds position and size, cannot
// overflow however the value was damaged.
constexpr int kLargestWindowExtent = 16777215;
int ClampedPosition(int stored);   // from -kLargestWindowExtent to kLargestWindowExtent
int ClampedExtent(int stored);     // from 0 to kLargestWindowExtent

// Width and height first, each at most the screen's, then left and top, whose defaults centre a
// window of that size; the other values clamped as above.
MainGeometry ReadMainGeometry(RegistryStore& store, const std::string& user, int screenWidth, int screenHeight);

// The settings from "ShowPasswords" to "AlwaysOnTop", in that order, then the fonts; a sort column
// outside 0 to 2 reads as 0. programFolder ends in the path separator.
MainSettings ReadMainSettings(RegistryStore& store, const std::string& user, const std::string& programFolder);

// Every setting the options dialog edits, in the order the dialog writes them; lastUsername goes
// to "Options" last. The caller holds the store session that makes them one write.
void WriteMainSettings(RegistryStore& store, const std::string& user, const MainSettings& settings,
                       const std::string& lastUsername);

// 0 List, anything else Details; kept in "Options" for every user of the machine.
bool ReadDetailsViewStyle(RegistryStore& store);

}  // namespace keystead
