#pragma once
// Lets a form see the keys typed into any of its controls before the control does, so that a
// form-wide key (Enter to log on, F1 for help) works wherever the focus is. Keys typed into an
// open menu or drop-down list belong to it, and so does the release of a key pressed there.

#include <QObject>
#include <QSet>

#include <functional>

class QKeyEvent;
class QWidget;

namespace keystead {

class KeyPreview : public QObject {
    Q_OBJECT

public:
    // Returns true when the form consumed the key; the control then never sees it.
    using Handler = std::function<bool(QKeyEvent&)>;

    // Watches the form and every control it holds now; owned by the form.
    KeyPreview(QWidget& form, Handler onKey);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool onForm(const QObject& watched) const;

    const QWidget& form_;
    Handler onKey_;
    QSet<int> pressedOnForm_;
};

}  // namespace keystead
