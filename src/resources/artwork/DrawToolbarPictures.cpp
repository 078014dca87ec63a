// Draws the main window's tool bar pictures, the password prompt's padlock and the notification
// area icon into the folder given on the command line, each at its size and at twice its size
// for dense screens. Tool bar pictures are 16 px: straight edges sit on the pixel grid so they
// stay sharp at that size, and every shape is bold enough to read there.

#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

namespace {

const QColor kNight(0x12, 0x1b, 0x26);
const QColor kSlate(0x21, 0x30, 0x42);
const QColor kSlateLight(0x4b, 0x63, 0x7d);
const QColor kTeal(0x2b, 0xb0, 0xa6);
const QColor kTealLight(0x4a, 0xd6, 0xc6);
const QColor kTealDeep(0x1b, 0x86, 0x8c);
const QColor kTealShadow(0x10, 0x58, 0x5e);
const QColor kWhite(0xf4, 0xf7, 0xfa);
const QColor kPaper(0xff, 0xff, 0xff);
const QColor kPaperShade(0xdc, 0xe4, 0xec);
const QColor kMuted(0x8f, 0xa4, 0xb8);
const QColor kSteel(0xc8, 0xd3, 0xde);
const QColor kGoldLight(0xf7, 0xd0, 0x64);
const QColor kGold(0xe0, 0xa2, 0x24);
const QColor kGoldDeep(0x8a, 0x5a, 0x0c);
const QColor kRedLight(0xf0, 0x5a, 0x5a);
const QColor kRed(0xc9, 0x2a, 0x2f);
const QColor kRedDeep(0x7c, 0x16, 0x1b);

using Drawing = std::function<void(QPainter&)>;

// A thin light rim one pixel wide around every shape, under it: on a light bar it is hardly
// seen, on a dark bar it keeps the dark parts' edges.
QImage withRim(const QImage& art)
{
    QImage silhouette = art;
    silhouette.setDevicePixelRatio(1);
    QPainter light(&silhouette);
    light.setCompositionMode(QPainter::CompositionMode_SourceIn);
    light.fillRect(silhouette.rect(), QColor(255, 255, 255, 150));
    light.end();
    QImage result(art.size(), art.format());
    result.fill(Qt::transparent);
    QPainter painter(&result);
    for (const QPoint offset : {QPoint(-1, 0), QPoint(1, 0), QPoint(0, -1), QPoint(0, 1)})
        painter.drawImage(offset, silhouette);
    QImage plain = art;
    plain.setDevicePixelRatio(1);
    painter.drawImage(QPoint(0, 0), plain);
    painter.end();
    result.setDevicePixelRatio(art.devicePixelRatio());
    return result;
}

bool save(const QString& folder, const QString& name, int size, const Drawing& draw, bool rim)
{
    for (const int scale : {1, 2}) {
        QImage image(QSize(size, size) * scale, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(scale);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        draw(painter);
        painter.end();
        if (rim)
            image = withRim(image);
        const QString suffix = scale == 1 ? QString() : QStringLiteral("@2x");
        if (!image.save(folder + QLatin1Char('/') + name + suffix + QStringLiteral(".png")))
            return false;
    }
    return true;
}

// The rectangle a 1 px outline follows so that it exactly covers the pixels from (left, top) up
// to, not including, (right, bottom).
QRectF outlineBox(int left, int top, int right, int bottom)
{
    return {left + 0.5, top + 0.5, right - left - 1.0, bottom - top - 1.0};
}

QLinearGradient downwards(qreal top, qreal bottom, const QColor& upper, const QColor& lower)
{
    QLinearGradient gradient(0, top, 0, bottom);
    gradient.setColorAt(0, upper);
    gradient.setColorAt(1, lower);
    return gradient;
}

QPen outline(const QColor& colour, qreal width = 1.0)
{
    QPen pen(colour, width);
    pen.setJoinStyle(Qt::MiterJoin);
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

void fillAndOutline(QPainter& painter, const QPainterPath& path, const QBrush& fill, const QColor& edge)
{
    painter.setPen(outline(edge));
    painter.setBrush(fill);
    painter.drawPath(path);
}

// A line of "text" on a sheet: a 1 px bar on whole pixels.
void drawTextLine(QPainter& painter, int left, int right, int y, const QColor& colour)
{
    painter.fillRect(QRect(left, y, right - left, 1), colour);
}

// A sheet of paper with its top right corner folded over.
void drawSheet(QPainter& painter, int left, int top, int right, int bottom, const QColor& paper)
{
    const QRectF box = outlineBox(left, top, right, bottom);
    constexpr qreal fold = 3;
    QPainterPath sheet;
    sheet.moveTo(box.topLeft());
    sheet.lineTo(box.right() - fold, box.top());
    sheet.lineTo(box.right(), box.top() + fold);
    sheet.lineTo(box.bottomRight());
    sheet.lineTo(box.bottomLeft());
    sheet.closeSubpath();
    fillAndOutline(painter, sheet, paper, kSlate);

    QPainterPath corner;
    corner.moveTo(box.right() - fold, box.top());
    corner.lineTo(box.right() - fold, box.top() + fold);
    corner.lineTo(box.right(), box.top() + fold);
    painter.setBrush(kPaperShade);
    painter.drawPath(corner);
}

// --- New password: a gold key with a teal plus sign -------------------------------------------

QPainterPath keyShape()
{
    QPainterPath bow;
    bow.addEllipse(QPointF(5.0, 11.0), 4.5, 4.5);
    QPainterPath blade;
    blade.addRect(QRectF(QPointF(8.0, 9.5), QPointF(15.5, 12.5)));
    QPainterPath teeth;
    teeth.addRect(QRectF(QPointF(10.5, 12.0), QPointF(12.5, 14.5)));
    teeth.addRect(QRectF(QPointF(13.5, 12.0), QPointF(15.5, 15.5)));
    QPainterPath hole;
    hole.addEllipse(QPointF(4.0, 11.0), 1.5, 1.5);
    return bow.united(blade).united(teeth).subtracted(hole);
}

void drawPlus(QPainter& painter, int left, int top)
{
    // A clear ring around the plus keeps it apart from whatever it overlaps.
    painter.setCompositionMode(QPainter::CompositionMode_Clear);
    painter.fillRect(QRect(left - 1, top + 1, 8, 4), Qt::transparent);
    painter.fillRect(QRect(left + 1, top - 1, 4, 8), Qt::transparent);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.fillRect(QRect(left, top + 2, 6, 2), kTealDeep);
    painter.fillRect(QRect(left + 2, top, 2, 6), kTealDeep);
}

void drawNewPassword(QPainter& painter)
{
    fillAndOutline(painter, keyShape(), downwards(6, 15, kGoldLight, kGold), kGoldDeep);
    drawPlus(painter, 10, 0);
}

// --- Print: a slate printer with paper going in and coming out --------------------------------

void drawPrint(QPainter& painter)
{
    QPainterPath paperIn;
    paperIn.addRect(outlineBox(4, 1, 12, 7));
    fillAndOutline(painter, paperIn, kPaper, kSlate);

    QPainterPath body;
    body.addRoundedRect(outlineBox(1, 5, 15, 13), 1.5, 1.5);
    fillAndOutline(painter, body, downwards(5, 13, kSlateLight, kSlate), kSlate);
    painter.fillRect(QRect(12, 7, 2, 1), kTealLight);
    painter.fillRect(QRect(3, 10, 10, 1), kNight);

    QPainterPath paperOut;
    paperOut.addRect(outlineBox(4, 10, 12, 16));
    fillAndOutline(painter, paperOut, kPaper, kSlate);
    drawTextLine(painter, 6, 10, 12, kMuted);
    drawTextLine(painter, 6, 9, 14, kMuted);
}

// --- Import and export: a tray with a teal arrow going in or coming out ----------------------

void drawTray(QPainter& painter)
{
    QPainterPath tray;
    tray.moveTo(1, 8);
    tray.lineTo(3, 8);
    tray.lineTo(3, 13);
    tray.lineTo(13, 13);
    tray.lineTo(13, 8);
    tray.lineTo(15, 8);
    tray.lineTo(15, 16);
    tray.lineTo(1, 16);
    tray.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(downwards(8, 16, kSlateLight, kSlate));
    painter.drawPath(tray);
}

// An arrow on the vertical centre line; the head points at tipY, the shaft ends at tailY.
void drawArrow(QPainter& painter, qreal tipY, qreal tailY)
{
    const qreal direction = tailY > tipY ? 1.0 : -1.0;
    const qreal headBase = tipY + direction * 5.5;
    const QPolygonF arrow({{8.0, tipY},
                           {13.5, headBase},
                           {9.5, headBase},
                           {9.5, tailY},
                           {6.5, tailY},
                           {6.5, headBase},
                           {2.5, headBase}});
    painter.setPen(outline(kTealShadow));
    painter.setBrush(downwards(std::min(tipY, tailY), std::max(tipY, tailY), kTealLight, kTeal));
    painter.drawPolygon(arrow);
}

void drawImport(QPainter& painter)
{
    drawTray(painter);
    drawArrow(painter, 11.5, 0.5);
}

void drawExport(QPainter& painter)
{
    drawTray(painter);
    drawArrow(painter, 0.5, 11.5);
}

// --- Cut: slate blades crossing over teal finger rings ----------------------------------------

// A blade from its heel at the pivot end to a blunt tip, so it keeps some body at 16 px.
QPolygonF blade(QPointF heel, QPointF tip)
{
    const QPointF along = tip - heel;
    const qreal length = std::hypot(along.x(), along.y());
    const QPointF across(-along.y() / length, along.x() / length);
    return QPolygonF({heel + across * 1.3, tip + across * 0.5, tip - across * 0.5, heel - across * 1.3});
}

QPainterPath fingerRing(QPointF centre)
{
    QPainterPath ring;
    ring.addEllipse(centre, 3.0, 3.0);
    QPainterPath hole;
    hole.addEllipse(centre, 1.4, 1.4);
    return ring.subtracted(hole);
}

void drawCut(QPainter& painter)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(kSlate);
    painter.drawPolygon(blade(QPointF(5.5, 9.5), QPointF(11.5, 0.5)));
    painter.drawPolygon(blade(QPointF(10.5, 9.5), QPointF(4.5, 0.5)));

    painter.setBrush(downwards(9, 15, kTeal, kTealDeep));
    painter.drawPath(fingerRing(QPointF(4.0, 12.0)));
    painter.drawPath(fingerRing(QPointF(12.0, 12.0)));

    painter.setBrush(kPaper);
    painter.drawEllipse(QPointF(8.0, 6.0), 0.9, 0.9);
}

// --- Copy: two overlapping sheets -------------------------------------------------------------

void drawCopy(QPainter& painter)
{
    drawSheet(painter, 1, 0, 11, 12, kPaperShade);
    drawSheet(painter, 5, 4, 15, 16, kPaper);
    drawTextLine(painter, 7, 13, 8, kTeal);
    drawTextLine(painter, 7, 13, 10, kTeal);
    drawTextLine(painter, 7, 11, 12, kTeal);
}

// --- Paste as new password: a clipboard -------------------------------------------------------

void drawPaste(QPainter& painter)
{
    QPainterPath board;
    board.addRoundedRect(outlineBox(2, 1, 14, 16), 1.5, 1.5);
    fillAndOutline(painter, board, downwards(1, 16, kSlateLight, kSlate), kSlate);

    painter.fillRect(QRect(4, 4, 8, 10), kPaper);
    drawTextLine(painter, 5, 11, 7, kTeal);
    drawTextLine(painter, 5, 11, 9, kTeal);
    drawTextLine(painter, 5, 9, 11, kTeal);

    QPainterPath clip;
    clip.addRoundedRect(outlineBox(5, 0, 11, 5), 1.0, 1.0);
    fillAndOutline(painter, clip, downwards(0, 5, kSteel, kMuted), kSlate);
}

// --- Delete: a red cross ----------------------------------------------------------------------

void drawDelete(QPainter& painter)
{
    const QLineF down(3.5, 3.5, 12.5, 12.5);
    const QLineF up(3.5, 12.5, 12.5, 3.5);
    QPen edge(kRedDeep, 4.6, Qt::SolidLine, Qt::RoundCap);
    painter.setPen(edge);
    painter.drawLine(down);
    painter.drawLine(up);
    QPen fill(QBrush(downwards(2, 14, kRedLight, kRed)), 2.8, Qt::SolidLine, Qt::RoundCap);
    painter.setPen(fill);
    painter.drawLine(down);
    painter.drawLine(up);
}

// --- Options: a slate gear with a teal hub ----------------------------------------------------

QPainterPath gearShape(QPointF centre, qreal bodyRadius, qreal toothRadius, int teeth)
{
    QPainterPath gear;
    gear.addEllipse(centre, bodyRadius, bodyRadius);
    for (int index = 0; index < teeth; ++index) {
        QPainterPath tooth;
        tooth.addRect(QRectF(-1.25, -toothRadius, 2.5, toothRadius));
        QTransform turn;
        turn.translate(centre.x(), centre.y());
        turn.rotate(360.0 * index / teeth);
        gear = gear.united(turn.map(tooth));
    }
    QPainterPath hole;
    hole.addEllipse(centre, 2.6, 2.6);
    return gear.subtracted(hole);
}

void drawOptions(QPainter& painter)
{
    const QPointF centre(8, 8);
    painter.setPen(Qt::NoPen);
    painter.setBrush(downwards(0, 16, kSlateLight, kSlate));
    painter.drawPath(gearShape(centre, 5.5, 8.0, 8));
    painter.setBrush(kTeal);
    painter.drawEllipse(centre, 1.5, 1.5);
}

// --- Show passwords: an eye with a teal iris --------------------------------------------------

void drawShowPasswords(QPainter& painter)
{
    QPainterPath eye;
    eye.moveTo(0.5, 8);
    eye.cubicTo(4, 2.5, 12, 2.5, 15.5, 8);
    eye.cubicTo(12, 13.5, 4, 13.5, 0.5, 8);
    eye.closeSubpath();
    painter.setPen(QPen(kSlate, 1.2));
    painter.setBrush(kPaper);
    painter.drawPath(eye);

    painter.setPen(Qt::NoPen);
    QLinearGradient iris(0, 5, 0, 11);
    iris.setColorAt(0, kTealLight);
    iris.setColorAt(1, kTealDeep);
    painter.setBrush(iris);
    painter.drawEllipse(QPointF(8, 8), 3.2, 3.2);
    painter.setBrush(kNight);
    painter.drawEllipse(QPointF(8, 8), 1.5, 1.5);
    painter.setBrush(kPaper);
    painter.drawEllipse(QPointF(9.2, 6.8), 0.8, 0.8);
}

// --- Views: a list of lines with teal bullets -------------------------------------------------

void drawViews(QPainter& painter)
{
    for (const int top : {2, 7, 12}) {
        painter.fillRect(QRect(1, top, 3, 3), kTeal);
        painter.fillRect(QRect(6, top, 9, 3), kSlateLight);
        painter.fillRect(QRect(6, top + 1, 9, 1), kSlate);
    }
}

// --- Password prompt: a padlock with a teal body ----------------------------------------------

void drawPromptLock(QPainter& painter)
{
    QPainterPath shackle;
    shackle.moveTo(10.5, 15);
    shackle.lineTo(10.5, 10);
    shackle.arcTo(QRectF(10.5, 4.5, 11, 11), 180, -180);
    shackle.lineTo(21.5, 15);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kSlate, 5, Qt::SolidLine, Qt::FlatCap));
    painter.drawPath(shackle);
    painter.setPen(QPen(QBrush(downwards(4, 15, kWhite, kMuted)), 3, Qt::SolidLine, Qt::FlatCap));
    painter.drawPath(shackle);

    const QRectF body = outlineBox(5, 13, 27, 31);
    QLinearGradient fill(body.topLeft(), body.bottomRight());
    fill.setColorAt(0, kTealLight);
    fill.setColorAt(1, kTealDeep);
    painter.setPen(outline(kTealShadow));
    painter.setBrush(fill);
    painter.drawRoundedRect(body, 3, 3);
    painter.setPen(Qt::NoPen);
    painter.setBrush(downwards(13, 22, QColor(255, 255, 255, 70), QColor(255, 255, 255, 0)));
    painter.drawRoundedRect(body.adjusted(0.5, 0.5, -0.5, -0.5), 2.5, 2.5);

    QPainterPath keyhole;
    keyhole.addEllipse(QPointF(16, 20), 2.8, 2.8);
    QPainterPath slot;
    slot.addPolygon(QPolygonF({{15, 21}, {17, 21}, {18, 27}, {14, 27}}));
    painter.setBrush(kPaper);
    painter.drawPath(keyhole.united(slot));
}

// --- Notification area: a teal shield with a keyhole ------------------------------------------

void drawTrayIcon(QPainter& painter)
{
    QPainterPath shield;
    shield.moveTo(8, 0.5);
    shield.lineTo(14.5, 2.5);
    shield.lineTo(14.5, 7.5);
    shield.cubicTo(14.5, 11.5, 11, 14, 8, 15.5);
    shield.cubicTo(5, 14, 1.5, 11.5, 1.5, 7.5);
    shield.lineTo(1.5, 2.5);
    shield.closeSubpath();
    // The dark edge carries it on light panels; the bright teal carries it on dark ones.
    painter.setPen(outline(kTealShadow));
    painter.setBrush(downwards(0, 16, kTealLight, kTealDeep));
    painter.drawPath(shield);

    QPainterPath keyhole;
    keyhole.addEllipse(QPointF(8, 6.5), 2.0, 2.0);
    QPainterPath slot;
    slot.addPolygon(QPolygonF({{7.3, 7}, {8.7, 7}, {9.3, 11.5}, {6.7, 11.5}}));
    painter.setPen(Qt::NoPen);
    painter.setBrush(kPaper);
    painter.drawPath(keyhole.united(slot));
}

struct Picture {
    const char* name;
    int size;
    Drawing draw;
};

}  // namespace

int main(int argc, char* argv[])
{
    const QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fputs("usage: keystead_toolbar_artwork <folder>\n", stderr);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const Picture pictures[] = {
        {"toolbar-new", 16, drawNewPassword},
        {"toolbar-print", 16, drawPrint},
        {"toolbar-import", 16, drawImport},
        {"toolbar-export", 16, drawExport},
        {"toolbar-cut", 16, drawCut},
        {"toolbar-copy", 16, drawCopy},
        {"toolbar-paste", 16, drawPaste},
        {"toolbar-delete", 16, drawDelete},
        {"toolbar-options", 16, drawOptions},
        {"toolbar-show-passwords", 16, drawShowPasswords},
        {"toolbar-views", 16, drawViews},
        {"prompt-lock", 32, drawPromptLock},
        {"tray", 16, drawTrayIcon},
    };
    for (const Picture& picture : pictures) {
        // The tool bar and the notification area may be dark; the prompt's padlock sits on the dialog.
        const bool rim = picture.size == 16;
        if (!save(folder, QString::fromLatin1(picture.name), picture.size, picture.draw, rim)) {
            std::fprintf(stderr, "keystead_toolbar_artwork: %s could not be written\n", picture.name);
            return 1;
        }
    }
    return 0;
}
