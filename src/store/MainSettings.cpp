#include "store/MainSettings.h"

#include "store/RegistryStore.h"

#include <algorithm>

namespace keystead {
namespace {

int readFontSize(RegistryStore& store, const std::string& user, const std::string& ident)
{
    const int size = store.ReadInteger(user, ident, kDefaultFontSize);
    return size >= kSmallestFontSize && size <= kLargestFontSize ? size : kDefaultFontSize;
}

int readClipboardClearSeconds(RegistryStore& store, const std::string& user)
{
    const int seconds = store.ReadInteger(user, "ClipboardClearSeconds", kDefaultClipboardClearSeconds);
    return seconds >= 0 && seconds <= kLargestClipboardClearSeconds ? seconds : kDefaultClipboardClearSeconds;
}

int readLockIdleMinutes(RegistryStore& store, const std::string& user)
{
    const int minutes = store.ReadInteger(user, "LockIdleMinutes", 0);
    return minutes >= 0 && minutes <= kLargestLockIdleMinutes ? minutes : 0;
}

}  // namespace

namespace {

// A slash separates folders, a backslash too on Windows, and the Windows file system refuses
// control characters and <>:"|?* besides.
bool standsInFileName(char c)
{
    const auto code = static_cast<unsigned char>(c);
    return code >= 32 && code != 127 && std::string_view("/\\<>:\"|?*").find(c) == std::string_view::npos;
}

std::string exportFileName(std::string_view stem, std::string_view user)
{
    std::string name(stem);
    name += '-';
    for (const char c : user)
        name += standsInFileName(c) ? c : '_';
    return name + ".txt";
}

}  // namespace

std::string AutoExportFileName(std::string_view user)
{
    return exportFileName("passwords", user);
}

std::string ReplacedExportFileName(std::string_view user)
{
    return exportFileName("password", user);
}

int ClampedPosition(int stored)
{
    return std::clamp(stored, -kLargestWindowExtent, kLargestWindowExtent);
}

int ClampedExtent(int stored)
{
    return std::clamp(stored, 0, kLargestWindowExtent);
}

MainGeometry ReadMainGeometry(RegistryStore& store, const std::string& user, int screenWidth, int screenHeight)
{
    MainGeometry g;
    // A window larger than the screen cannot be seen whole, and a damaged size would cost the
    // memory of a window that large.
    g.width = std::clamp(store.ReadInteger(user, "MainWindowWidth", g.width), 0, std::max(0, screenWidth));
    g.height = std::clamp(store.ReadInteger(user, "MainWindowHeight", g.height), 0, std::max(0, screenHeight));
    g.left = ClampedPosition(store.ReadInteger(user, "MainWindowLeft", (screenWidth - g.width) / 2));
    g.top = ClampedPosition(store.ReadInteger(user, "MainWindowTop", (screenHeight - g.height) / 2));
    for (int i = 0; i < 4; ++i)
        g.columnWidths[i] =
            ClampedExtent(store.ReadInteger(user, "Column" + std::to_string(i + 1) + "Width", g.columnWidths[i]));
    g.listHeight = ClampedExtent(store.ReadInteger(user, "ListHeight", g.listHeight));
    return g;
}

MainSettings ReadMainSettings(RegistryStore& store, const std::string& user, const std::string& programFolder)
{
    MainSettings s;
    s.sortColumn = store.ReadInteger(user, "SortColumn", 0);
    if (s.sortColumn < 0 || s.sortColumn > 2)
        s.sortColumn = 0;
    s.showPasswords = store.ReadBool(user, "ShowPasswords", s.showPasswords);
    s.showSystem = store.ReadBool(user, "ShowSystem", s.showSystem);
    s.showComments = store.ReadBool(user, "ShowComments", s.showComments);
    s.protectToggle = store.ReadBool(user, "ProtectToggle", s.protectToggle);
    s.clearClipboard = store.ReadBool(user, "ClearClipboard", s.clearClipboard);
    s.clipboardClearSeconds = readClipboardClearSeconds(store, user);
    s.lockIdleMinutes = readLockIdleMinutes(store, user);
    s.lockOnScreenLock = store.ReadBool(user, "LockOnScreenLock", s.lockOnScreenLock);
    s.deleteWarning = store.ReadBool(user, "DeleteWarning", s.deleteWarning);
    s.showGridlines = store.ReadBool(user, "ShowGridlines", s.showGridlines);
    s.minimizeToTray = store.ReadBool(user, "MinimizeToTray", s.minimizeToTray);
    s.passwordProtectTray = store.ReadBool(user, "PasswordProtectTray", s.passwordProtectTray);
    s.autoExport = store.ReadBool(user, "AutoExport", s.autoExport);
    s.autoExportPath = store.ReadString(user, "AutoExportPath", programFolder + AutoExportFileName(user));
    s.urlColor = store.ReadString(user, "URLColor", s.urlColor);
    s.alwaysOnTop = store.ReadBool(user, "AlwaysOnTop", s.alwaysOnTop);
    s.listFontName = store.ReadString(user, "ListFontName", s.listFontName);
    s.notesFontName = store.ReadString(user, "NotesFontName", s.notesFontName);
    s.listFontSize = readFontSize(store, user, "ListFontSize");
    s.notesFontSize = readFontSize(store, user, "NotesFontSize");
    s.fancyLogon = store.ReadBool("Options", "FancyLogon", s.fancyLogon);
    s.useLastUsername = store.ReadBool("Options", "UseLastUsername", s.useLastUsername);
    return s;
}

void WriteMainSettings(RegistryStore& store, const std::string& user, const MainSettings& settings,
                       const std::string& lastUsername)
{
    store.WriteInteger(user, "SortColumn", settings.sortColumn);
    store.WriteBool(user, "DeleteWarning", settings.deleteWarning);
    store.WriteBool("Options", "FancyLogon", settings.fancyLogon);
    store.WriteBool(user, "AutoExport", settings.autoExport);
    store.WriteBool(user, "ShowSystem", settings.showSystem);
    store.WriteBool(user, "ShowComments", settings.showComments);
    store.WriteBool(user, "ProtectToggle", settings.protectToggle);
    store.WriteBool(user, "ClearClipboard", settings.clearClipboard);
    store.WriteInteger(user, "ClipboardClearSeconds", settings.clipboardClearSeconds);
    store.WriteInteger(user, "LockIdleMinutes", settings.lockIdleMinutes);
    store.WriteBool(user, "LockOnScreenLock", settings.lockOnScreenLock);
    store.WriteBool("Options", "UseLastUsername", settings.useLastUsername);
    store.WriteBool(user, "ShowGridlines", settings.showGridlines);
    store.WriteBool(user, "MinimizeToTray", settings.minimizeToTray);
    store.WriteBool(user, "PasswordProtectTray", settings.passwordProtectTray);
    store.WriteString(user, "AutoExportPath", settings.autoExportPath);
    store.WriteString(user, "ListFontName", settings.listFontName);
    store.WriteString(user, "NotesFontName", settings.notesFontName);
    store.WriteInteger(user, "ListFontSize", settings.listFontSize);
    store.WriteInteger(user, "NotesFontSize", settings.notesFontSize);
    store.WriteString(user, "URLColor", settings.urlColor);
    store.WriteString("Options", "LastUsername", lastUsername);
}

bool ReadDetailsViewStyle(RegistryStore& store)
{
    return store.ReadInteger("Options", "ViewStyle", 1) != 0;
}

}  // namespace keystead
