#pragma once
// The main window's Options command: opens the options dialog behind the main window's guard and
// applies what the dialog changed to the list and the notes pane.

#include "desktop/Options.h"

#include <QColor>
#include <QObject>

#include <functional>

namespace keystead {

class RegistryStore;
class TPasswordListView;
class TVorrentRichEdit;
struct MainSettings;
struct SessionState;

class TOptionsCommand : public QObject, public OptionsTarget {
    Q_OBJECT

public:
    // protectionCheck: the main window's guard; loadPasswordList: its reload. Owned by the window.
    TOptionsCommand(SessionState& session, RegistryStore& store, MainSettings& settings, TPasswordListView& list,
                    TVorrentRichEdit& notes, std::function<bool()> protectionCheck,
                    std::function<void()> loadPasswordList, QWidget& mainWindow);

    // View > Options... and tbOptions.
    void mnuViewOptionsClick();

    MainSettings& settings() override { return settings_; }
    void applyDisplaySettings() override;
    void reloadList() override;
    void markLinks() override;

private:
    SessionState& session_;
    RegistryStore& store_;
    MainSettings& settings_;
    TPasswordListView& list_;
    TVorrentRichEdit& notes_;
    std::function<bool()> protectionCheck_;
    std::function<void()> loadPasswordList_;
    QWidget& mainWindow_;
    // The colour dialog starts on the colour last chosen in this run.
    QColor lastColor_ = Qt::black;
};

}  // namespace keystead
