#include "session/VorrentImage.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QPainter>
#include <QShortcut>

namespace keystead {

namespace {

// A reader sees a push button named after what the picture does, which it can press.
class ImageButtonAccessible : public QAccessibleWidget {
public:
    explicit ImageButtonAccessible(TVorrentImage& image) : QAccessibleWidget(&image, QAccessible::Button) {}

    QStringList actionNames() const override { return {pressAction()}; }

    void doAction(const QString& actionName) override
    {
        if (actionName == pressAction())
            static_cast<TVorrentImage*>(widget())->click();
    }
};

QAccessibleInterface* imageButtonFactory(const QString& className, QObject* object)
{
    auto* image = qobject_cast<TVorrentImage*>(object);
    if (image == nullptr || className != QLatin1String(TVorrentImage::staticMetaObject.className()))
        return nullptr;
    return new ImageButtonAccessible(*image);
}

}  // namespace

TVorrentImage::TVorrentImage(QWidget* parent) : QLabel(parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(imageButtonFactory);
        return true;
    }();
    (void)factoryInstalled;
    setFocusPolicy(Qt::TabFocus);
}

void TVorrentImage::setButtonName(const QString& name, const QKeySequence& mnemonic)
{
    setAccessibleName(name);
    auto* shortcut = new QShortcut(mnemonic, this);
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this, &TVorrentImage::click);
}

void TVorrentImage::click()
{
    if (OnClick)
        OnClick(*this);
}

void TVorrentImage::enterEvent(QEnterEvent* event)
{
    QLabel::enterEvent(event);
    if (OnMouseEnter)
        OnMouseEnter(*this);
}

void TVorrentImage::leaveEvent(QEvent* event)
{
    QLabel::leaveEvent(event);
    if (OnMouseLeave)
        OnMouseLeave(*this);
}

// The press is taken so that the release comes here too and completes a click.
void TVorrentImage::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        event->accept();
    else
        QLabel::mousePressEvent(event);
}

void TVorrentImage::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        click();
}

void TVorrentImage::keyPressEvent(QKeyEvent* event)
{
    const bool press = event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!press || (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        QLabel::keyPressEvent(event);
        return;
    }
    event->accept();
    if (!event->isAutoRepeat())
        click();
}

// The focus is a dotted frame just inside the picture, in the control's text colour.
void TVorrentImage::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
    painter.drawRect(rect().adjusted(1, 1, -2, -2));
}

}  // namespace keystead
