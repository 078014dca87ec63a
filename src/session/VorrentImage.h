#pragma once
// TVorrentImage: a picture control that tells when the mouse pointer enters or leaves it, so a
// picture can act as a hover button. It is a button to the keyboard and to a screen reader too:
// it takes the focus with Tab, shows it, answers Space and Enter, and has an Alt mnemonic.

#include <QLabel>

#include <functional>

class QKeySequence;

namespace keystead {

class TVorrentImage : public QLabel {
    Q_OBJECT

public:
    using Event = std::function<void(TVorrentImage& sender)>;

    explicit TVorrentImage(QWidget* parent);

    Event OnMouseEnter;
    Event OnMouseLeave;
    Event OnClick;

    // What the picture does, as a reader announces it, and the Alt key that does it.
    void setButtonName(const QString& name, const QKeySequence& mnemonic);
    void click();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace keystead
