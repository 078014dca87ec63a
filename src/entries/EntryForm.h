#pragma once
// What the two entry dialogs share: their controls and layout, the expiration check box, the
// checks of Done in their order, the remembered position and the F1 help. Each dialog saves.

#include "store/EntryStore.h"

#include <QDialog>

#include <string>
#include <string_view>

class QCheckBox;
class QKeyEvent;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace keystead {

class EntryEditTarget;
class RegistryStore;
enum class EntryInput;
struct SessionState;

// What tells the two dialogs apart.
struct EntryFormKind {
    const char* objectName;
    const char* caption;
    const char* positionName;   // the store keeps <positionName>WindowLeft and ...Top
    int helpTopic;
    std::string_view noDescriptionText;   // the first message of Done
};

class EntryForm : public QDialog {
    Q_OBJECT

public:
    // The most characters the description, user name and password boxes take.
    static constexpr int kTextLimit = 100;

    QLineEdit* txtDescription;
    QLineEdit* txtUsername;
    QLineEdit* txtPassword;
    QCheckBox* chkExpire;
    QLineEdit* txtExpire;
    QLineEdit* txtCurrent;
    QPlainTextEdit* memComments;
    QPushButton* cmdDone;
    QPushButton* cmdCancel;

    // Checks the fields in their order; the first failure is told and sends the focus to its
    // field, otherwise the dialog saves and closes.
    void cmdDoneClick();
    // The interval and the current days can be typed only while the box is checked; unchecking
    // empties them.
    void chkExpireClick();

    // Every way of closing passes here and stores the position.
    void done(int result) override;

protected:
    // opening: the texts the fields start with (comments with CR LF line breaks); the box is
    // checked when the interval is not empty. Reads the position: a store that cannot be read
    // throws KeysteadError.
    EntryForm(SessionState& session, RegistryStore& store, EntryEditTarget& target, QWidget* parent,
              const EntryFormKind& kind, const EntryTexts& opening);

    SessionState& session() const { return session_; }
    RegistryStore& store() const { return store_; }
    EntryEditTarget& target() const { return target_; }

private:
    // Writes the checked texts and closes; a store error leaves the store and the dialog as
    // they were and reaches the error display.
    virtual void save(const EntryTexts& texts) = 0;

    void buildControls();
    void placeLabels();
    void placeSeparators();
    void setTabOrderAndHelp();
    void fill(const EntryTexts& texts);
    EntryTexts typedTexts() const;
    std::string typedComments() const;
    QWidget& field(EntryInput input) const;
    void readPosition();
    void writePosition() const;
    bool FormKeyUp(const QKeyEvent& key);

    SessionState& session_;
    RegistryStore& store_;
    EntryEditTarget& target_;
    const EntryFormKind kind_;
    // The comments the box opened with, as stored and as the box holds them.
    std::string openingComments_;
    QString openingCommentsShown_;
};

}  // namespace keystead
