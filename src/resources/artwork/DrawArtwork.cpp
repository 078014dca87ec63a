// Draws the program's pictures (logon window, hover buttons, title, progress picture, icon, about
// box logo) into the folder given on the command line, each at its size and at twice its size for
// dense screens; with a second folder, also the icon for the desktop's icon theme.

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cstdio>
#include <functional>

namespace {

const QColor kNight(0x12, 0x1b, 0x26);
const QColor kSlate(0x21, 0x30, 0x42);
const QColor kTeal(0x2b, 0xb0, 0xa6);
const QColor kTealLight(0x4a, 0xd6, 0xc6);
const QColor kTealDeep(0x1b, 0x86, 0x8c);
const QColor kCaption(210, 210, 210);
const QColor kWhite(0xf4, 0xf7, 0xfa);
const QColor kMuted(0x8f, 0xa4, 0xb8);

using Drawing = std::function<void(QPainter&, QSizeF)>;

QColor withAlpha(QColor colour, int alpha)
{
    colour.setAlpha(alpha);
    return colour;
}

QFont font(int pixelSize, QFont::Weight weight = QFont::Normal)
{
    QFont result(QStringLiteral("DejaVu Sans"));
    result.setPixelSize(pixelSize);
    result.setWeight(weight);
    result.setHintingPreference(QFont::PreferNoHinting);
    return result;
}

bool save(const QString& folder, const QString& name, QSize size, const Drawing& draw)
{
    for (const int scale : {1, 2}) {
        QImage image(size * scale, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(scale);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        draw(painter, QSizeF(size));
        painter.end();
        const QString suffix = scale == 1 ? QString() : QStringLiteral("@2x");
        if (!image.save(folder + QLatin1Char('/') + name + suffix + QStringLiteral(".png")))
            return false;
    }
    return true;
}

// The program's mark: a keyhole in a rounded teal square.
void drawEmblem(QPainter& painter, const QRectF& box)
{
    const qreal w = box.width();
    QLinearGradient fill(box.topLeft(), box.bottomRight());
    fill.setColorAt(0, kTealLight);
    fill.setColorAt(1, kTealDeep);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(box, w * 0.24, w * 0.24);

    QLinearGradient sheen(box.topLeft(), QPointF(box.left(), box.center().y()));
    sheen.setColorAt(0, QColor(255, 255, 255, 60));
    sheen.setColorAt(1, QColor(255, 255, 255, 0));
    painter.setBrush(sheen);
    painter.drawRoundedRect(box, w * 0.24, w * 0.24);

    const QPointF centre(box.center().x(), box.top() + w * 0.42);
    QPainterPath keyhole;
    keyhole.addEllipse(centre, w * 0.15, w * 0.15);
    QPainterPath slot;
    slot.moveTo(centre.x() - w * 0.06, centre.y());
    slot.lineTo(centre.x() + w * 0.06, centre.y());
    slot.lineTo(centre.x() + w * 0.10, box.top() + w * 0.78);
    slot.lineTo(centre.x() - w * 0.10, box.top() + w * 0.78);
    slot.closeSubpath();
    painter.setBrush(QColor(0xfb, 0xfe, 0xfd));
    painter.drawPath(keyhole.united(slot));
}

void drawPadlock(QPainter& painter, const QRectF& body)
{
    painter.setPen(QPen(withAlpha(kTeal, 110), 2.5));
    painter.setBrush(withAlpha(kTeal, 22));
    const qreal shackleWidth = body.width() * 0.62;
    const qreal left = body.center().x() - shackleWidth / 2;
    QPainterPath shackle;
    shackle.moveTo(left, body.top());
    shackle.lineTo(left, body.top() - body.height() * 0.30);
    shackle.arcTo(QRectF(left, body.top() - body.height() * 0.30 - shackleWidth / 2, shackleWidth, shackleWidth), 180,
                  -180);
    shackle.lineTo(left + shackleWidth, body.top());
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(shackle);
    painter.setBrush(withAlpha(kTeal, 22));
    painter.drawRoundedRect(body, 7, 7);

    painter.setPen(Qt::NoPen);
    painter.setBrush(withAlpha(kTeal, 120));
    const QPointF centre(body.center().x(), body.top() + body.height() * 0.42);
    painter.drawEllipse(centre, 4.5, 4.5);
    painter.drawRoundedRect(QRectF(centre.x() - 2, centre.y(), 4, body.height() * 0.30), 1.5, 1.5);
}

void drawLogonBackground(QPainter& painter, QSizeF size)
{
    const QRectF area(QPointF(0, 0), size);
    QLinearGradient base(0, 0, 0, size.height());
    base.setColorAt(0, kSlate);
    base.setColorAt(1, kNight);
    painter.fillRect(area, base);

    QRadialGradient glow(QPointF(size.width() - 20, 10), 200);
    glow.setColorAt(0, withAlpha(kTeal, 60));
    glow.setColorAt(1, withAlpha(kTeal, 0));
    painter.fillRect(area, glow);

    drawEmblem(painter, QRectF(24, 22, 36, 36));
    painter.setPen(kWhite);
    painter.setFont(font(22, QFont::Bold));
    painter.drawText(QPointF(70, 42), QStringLiteral("Keystead"));
    painter.setPen(kMuted);
    painter.setFont(font(11));
    painter.drawText(QPointF(71, 56), QStringLiteral("Your passwords, kept safe"));

    painter.setPen(QPen(QColor(255, 255, 255, 30), 1));
    painter.drawLine(QPointF(24, 72.5), QPointF(size.width() - 24, 72.5));

    drawPadlock(painter, QRectF(170, 116, 56, 44));

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0x0a, 0x10, 0x17), 1));
    painter.drawRect(area.adjusted(0.5, 0.5, -0.5, -0.5));
    painter.setPen(QPen(QColor(255, 255, 255, 20), 1));
    painter.drawRect(area.adjusted(1.5, 1.5, -1.5, -1.5));
}

enum class ButtonLook { Off, PrimaryOff, On };

Drawing hoverButton(const QString& text, ButtonLook look)
{
    return [text, look](QPainter& painter, QSizeF size) {
        const QRectF frame = QRectF(QPointF(0, 0), size).adjusted(0.5, 0.5, -0.5, -0.5);
        QColor textColour = kCaption;
        switch (look) {
        case ButtonLook::Off:
            painter.setPen(QPen(QColor(255, 255, 255, 70), 1));
            painter.setBrush(QColor(255, 255, 255, 14));
            break;
        case ButtonLook::PrimaryOff:
            painter.setPen(QPen(withAlpha(kTealLight, 210), 1));
            painter.setBrush(withAlpha(kTeal, 40));
            textColour = QColor(0xe2, 0xf8, 0xf5);
            break;
        case ButtonLook::On: {
            QLinearGradient fill(0, 0, 0, size.height());
            fill.setColorAt(0, kTealLight);
            fill.setColorAt(1, kTeal);
            painter.setPen(QPen(QColor(0x7d, 0xe8, 0xdb), 1));
            painter.setBrush(fill);
            textColour = QColor(0x0c, 0x1a, 0x24);
            break;
        }
        }
        painter.drawRoundedRect(frame, 4.5, 4.5);
        painter.setPen(textColour);
        painter.setFont(font(12, look == ButtonLook::On ? QFont::DemiBold : QFont::Normal));
        painter.drawText(QRectF(QPointF(0, 0), size), Qt::AlignCenter, text);
    };
}

void drawTitle(QPainter& painter, QSizeF size)
{
    const QRectF area(QPointF(0, 0), size);
    QLinearGradient base(0, 0, size.width(), 0);
    base.setColorAt(0, kSlate);
    base.setColorAt(1, QColor(0x27, 0x3d, 0x55));
    painter.fillRect(area, base);
    QRadialGradient glow(QPointF(size.width() - 30, 0), 160);
    glow.setColorAt(0, withAlpha(kTeal, 70));
    glow.setColorAt(1, withAlpha(kTeal, 0));
    painter.fillRect(area, glow);

    drawEmblem(painter, QRectF(16, 8, 32, 32));
    painter.setPen(kWhite);
    painter.setFont(font(20, QFont::Bold));
    painter.drawText(QPointF(58, 27), QStringLiteral("Keystead"));
    painter.setPen(kMuted);
    painter.setFont(font(10));
    painter.drawText(QPointF(59, 40), QStringLiteral("Your passwords, kept safe"));

    painter.fillRect(QRectF(0, size.height() - 2, size.width(), 2), kTeal);
}

// The about box's logo, drawn for its black band.
void drawAboutLogo(QPainter& painter, QSizeF)
{
    drawEmblem(painter, QRectF(4, 5, 44, 44));
    painter.setPen(kWhite);
    painter.setFont(font(26, QFont::Bold));
    painter.drawText(QPointF(60, 33), QStringLiteral("Keystead"));
    painter.setPen(kTealLight);
    painter.setFont(font(11));
    painter.drawText(QPointF(61, 48), QStringLiteral("by Vorrent"));
}

void drawProgressPicture(QPainter& painter, QSizeF size)
{
    drawEmblem(painter, QRectF(QPointF(1, 1), size - QSizeF(2, 2)));
}

void drawIcon(QPainter& painter, QSizeF size)
{
    drawEmblem(painter, QRectF(QPointF(0, 0), size).adjusted(8, 8, -8, -8));
}

// The program's icon for the desktop's icon theme, one size per folder as the theme keeps them.
bool saveThemeIcons(const QString& theme)
{
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        // Small icons fill more of their square, or the keyhole would vanish.
        const qreal margin = size <= 24 ? size / 16.0 : size / 16.0 * 1.5;
        drawEmblem(painter, QRectF(margin, margin, size - 2 * margin, size - 2 * margin));
        painter.end();
        const QString folder = theme + QStringLiteral("/%1x%1/apps").arg(size);
        if (!QDir().mkpath(folder) || !image.save(folder + QStringLiteral("/keystead.png")))
            return false;
    }
    return true;
}

}  // namespace

int main(int argc, char* argv[])
{
    const QGuiApplication application(argc, argv);
    if (argc != 2 && argc != 3) {
        std::fputs("usage: keystead_artwork <folder> [<icon theme folder>]\n", stderr);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const bool saved = save(folder, QStringLiteral("logon-background"), {270, 230}, drawLogonBackground) &&
                       save(folder, QStringLiteral("new-user-off"), {80, 25}, hoverButton("New User", ButtonLook::Off)) &&
                       save(folder, QStringLiteral("new-user-on"), {80, 25}, hoverButton("New User", ButtonLook::On)) &&
                       save(folder, QStringLiteral("logon-off"), {60, 25}, hoverButton("Logon", ButtonLook::PrimaryOff)) &&
                       save(folder, QStringLiteral("logon-on"), {60, 25}, hoverButton("Logon", ButtonLook::On)) &&
                       save(folder, QStringLiteral("exit-off"), {39, 25}, hoverButton("Exit", ButtonLook::Off)) &&
                       save(folder, QStringLiteral("exit-on"), {39, 25}, hoverButton("Exit", ButtonLook::On)) &&
                       save(folder, QStringLiteral("title"), {275, 50}, drawTitle) &&
                       save(folder, QStringLiteral("progress"), {32, 32}, drawProgressPicture) &&
                       save(folder, QStringLiteral("keystead"), {128, 128}, drawIcon) &&
                       save(folder, QStringLiteral("about-logo"), {240, 54}, drawAboutLogo) &&
                       (argc < 3 || saveThemeIcons(QString::fromLocal8Bit(argv[2])));
    if (!saved) {
        std::fputs("keystead_artwork: a picture could not be written\n", stderr);
        return 1;
    }
    return 0;
}
