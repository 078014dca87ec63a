#pragma once
// TfrmAbout, the about box of the Help menu: the maker's logo and web address, the release notes
// of this version, and the version, credit and legal lines.

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace keystead {

class TpvlUrl;

class TfrmAbout : public QDialog {
    Q_OBJECT

public:
    explicit TfrmAbout(QWidget* parent = nullptr);

    QLabel* imgLogo;
    QLabel* Label1;
    QPlainTextEdit* Memo1;
    QLabel* lblMessage;
    QPushButton* cmdClose;
    TpvlUrl* urlLink;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void Label1Click();
};

}  // namespace keystead
