#pragma once
// Printing the password list: TfrmPrint, the small window shown while the list prints, and the
// print command, which asks for the printer and prints the list in the order the list shows it.

#include "exchange/PrintList.h"

#include <QDialog>

#include <vector>

class QLabel;

namespace keystead {

class TDiamond;
struct SessionState;

class TfrmPrint : public QDialog {
    Q_OBJECT

public:
    explicit TfrmPrint(QWidget* parent = nullptr);

    QLabel* imgPicture;
    QLabel* lblMessage;
};

// The work of File > Print after the protection check: the print dialog (Cancel ends it), then
// the list printed on the chosen printer while the owner is disabled. cipher holds the logon
// password's key since the list was last loaded; dateSeparator is that of the short date form.
void PrintPasswordList(QWidget& owner, const SessionState& session, const TDiamond& cipher,
                       const std::vector<PrintItem>& items, char dateSeparator);

}  // namespace keystead
