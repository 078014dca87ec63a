#pragma once
// TfrmOptions, the options dialog: five tabs through which the user edits the settings the main
// window keeps in memory. Done checks the export path, writes the settings and, once they are
// stored, hands them to the window and closes; Cancel changes nothing.

#include <QDialog>

#include <string>

class QButtonGroup;
class QCheckBox;
class QColor;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;

namespace keystead {

struct MainSettings;
class RegistryStore;
struct SessionState;
class TBrowseFolder;

// What the dialog changes on the main window.
class OptionsTarget {
public:
    virtual MainSettings& settings() = 0;   // the in-memory copies
    // Grid lines and the fonts of the list and the notes pane, from settings().
    virtual void applyDisplaySettings() = 0;
    virtual void reloadList() = 0;
    // The notes pane's links, marked again in the link colour of settings().
    virtual void markLinks() = 0;

protected:
    ~OptionsTarget() = default;
};

class TfrmOptions : public QDialog {
    Q_OBJECT

public:
    // lastColor: the colour picker's colour of the run, black at first; it starts on it and keeps
    // the colour chosen.
    TfrmOptions(SessionState& session, RegistryStore& store, OptionsTarget& target, QColor& lastColor,
                QWidget* parent);

    QTabWidget* tabOptions;
    QWidget* pnlGeneral;
    QWidget* pnlFonts;
    QWidget* pnlExport;
    QWidget* pnlSecurity;
    QWidget* pnlTrayIcon;
    QGroupBox* rgSort;
    QButtonGroup* rgSortItems;
    QCheckBox* chkWarn;
    QCheckBox* chkPlain;
    QCheckBox* chkGridlines;
    QLabel* Label6;
    QFrame* pnlColor;
    QLabel* lblListFont;
    QLabel* lblListFontSize;
    QLineEdit* txtListFont;
    QLineEdit* txtListFontSize;
    QPushButton* cmdListFont;
    QLabel* lblNotesFont;
    QLabel* lblNotesFontSize;
    QLineEdit* txtNotesFont;
    QLineEdit* txtNotesFontSize;
    QPushButton* cmdNotesFont;
    QCheckBox* chkAutoExport;
    QLineEdit* txtExportPath;
    QPushButton* cmdBrowse;
    QLabel* Label1;
    QCheckBox* chkDescription;
    QCheckBox* chkComments;
    QCheckBox* chkProtectToggle;
    QCheckBox* chkClear;
    QCheckBox* chkUseLastUsername;
    // "Clear the clipboard [ 30 ] seconds after copying a password"; unchecked stores 0, never.
    QCheckBox* chkClearAfter;
    QSpinBox* txtClearSeconds;
    QLabel* lblClearSeconds;
    // "Lock after [ 10 ] minutes without input"; unchecked stores 0, never.
    QCheckBox* chkLockAfter;
    QSpinBox* txtLockMinutes;
    QLabel* lblLockMinutes;
    QCheckBox* chkLockOnScreenLock;
    QCheckBox* chkMinimizeToTray;
    QCheckBox* chkPasswordProtectTray;
    QPushButton* cmdDone;
    QPushButton* cmdCancel;
    TBrowseFolder* bfBrowse;

    void chkAutoExportClick();
    void chkMinimizeToTrayClick();
    void chkClearAfterClick();
    void chkLockAfterClick();
    void cmdListFontClick();
    void cmdNotesFontClick();
    void pnlColorClick();
    void cmdBrowseClick();
    void cmdDoneClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildGeneral();
    void buildFonts();
    void buildExport();
    void buildSecurity();
    void buildTrayIcon();
    void setHelpContexts();
    void FormCreate();
    void tabOptionsChange(int index);
    void setColor(const QColor& color);
    bool exportPathAccepted();
    void takeOver(MainSettings& settings) const;
    bool FormKeyUp(QKeyEvent& key);

    SessionState& session_;
    RegistryStore& store_;
    OptionsTarget& target_;
    QColor& lastColor_;
    int shownPanel_ = 0;
    // In effect when the dialog opened: Done reloads the list only when one of them changed.
    int openingSortColumn_ = 0;
    bool openingShowSystem_ = true;
    bool openingShowComments_ = true;
    // The panel's colour as colour text: a system colour keeps its name until a colour is picked.
    std::string urlColor_;
};

}  // namespace keystead
