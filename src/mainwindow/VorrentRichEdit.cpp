#include "mainwindow/VorrentRichEdit.h"

#include "crypto/SecretMemory.h"
#include "desktop/FileLink.h"
#include "desktop/PaletteColor.h"
#include "desktop/pvlUrl.h"
#include "platform/ErrorDisplay.h"
#include "platform/TextConversion.h"

#include <QAbstractTextDocumentLayout>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>

#include <algorithm>

namespace keystead {
namespace {

// A paragraph longer than this is shown in parts, broken at a space after this many characters,
// or anywhere after twice as many.
constexpr int kDisplayPartLength = 2048;

// Bytes of the UTF-8 sequence that starts with this byte.
int utf8Length(unsigned char lead)
{
    return lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

// Suspends drawing of the pane while its text and formats change.
class SuspendedDrawing {
public:
    explicit SuspendedDrawing(QWidget& widget) : widget_(widget), wasEnabled_(widget.updatesEnabled())
    {
        widget_.setUpdatesEnabled(false);
    }
    ~SuspendedDrawing() { widget_.setUpdatesEnabled(wasEnabled_); }
    SuspendedDrawing(const SuspendedDrawing&) = delete;
    SuspendedDrawing& operator=(const SuspendedDrawing&) = delete;

private:
    QWidget& widget_;
    const bool wasEnabled_;
};

}  // namespace

TVorrentRichEdit::TVorrentRichEdit(QWidget* parent) : QTextEdit(parent)
{
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setAcceptRichText(false);
    viewport()->setMouseTracking(true);
    positions_.push_back(0);
}

void TVorrentRichEdit::setCommentText(const std::string& text)
{
    comment_ = text;
    display_.clear();
    display_.reserve(static_cast<qsizetype>(text.size()));
    positions_.assign(text.size() + 1, 0);
    addedBreaks_.clear();

    forgetCurrentLink();
    // Bytes that are not UTF-8 are Windows-1252, one character each, as everywhere in the program.
    const bool singleBytes = !isUtf8(text);
    const QString decoded = toQString(text);

    qsizetype from = 0;
    int partLength = 0;
    for (std::size_t b = 0; b < text.size();) {
        const auto byte = static_cast<unsigned char>(text[b]);
        const std::size_t bytes = singleBytes ? 1 : static_cast<std::size_t>(utf8Length(byte));
        const qsizetype units = bytes == 4 ? 2 : 1;
        const auto position = static_cast<int>(display_.size());
        const bool crLf = byte == '\r' && b + 1 < text.size() && text[b + 1] == '\n';
        const std::size_t taken = crLf ? 2 : bytes;
        for (std::size_t k = 0; k < taken && b + k < text.size(); ++k)
            positions_[b + k] = position;
        if (byte == '\r' || byte == '\n') {
            display_ += QLatin1Char('\n');
            partLength = 0;
        } else {
            display_.append(decoded.constData() + from, units);
            ++partLength;
            const bool last = b + taken >= text.size();
            if (!last && ((partLength >= kDisplayPartLength && byte == ' ') || partLength >= 2 * kDisplayPartLength)) {
                addedBreaks_.push_back(static_cast<int>(display_.size()));
                display_ += QLatin1Char('\n');
                partLength = 0;
            }
        }
        from += crLf ? 2 : units;
        b += taken;
    }
    positions_.back() = static_cast<int>(display_.size());
    links_ = ScanLinks(comment_);

    const SuspendedDrawing suspended(*viewport());
    setPlainText(display_);
    MarkLinks();
}

void TVorrentRichEdit::clear()
{
    WipeText(comment_);
    display_.fill(QChar(0));
    setCommentText({});
}

void TVorrentRichEdit::setUrlColor(const std::string& colorText)
{
    urlColor_ = ReadUrlColor(colorText);
    MarkLinks();
}

void TVorrentRichEdit::MarkLinks()
{
    formatLinks();
    setTextCursor(QTextCursor(document()));
    setCurrentCharFormat(QTextCharFormat());
}

void TVorrentRichEdit::formatLinks()
{
    const SuspendedDrawing suspended(*viewport());
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.setCharFormat(QTextCharFormat());
    QTextCharFormat link;
    link.setFontUnderline(true);
    link.setForeground(ResolveColor(urlColor_, palette()));
    for (const LinkSpan& span : links_) {
        cursor.setPosition(positions_[span.start]);
        cursor.setPosition(positions_[span.start + span.length], QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(link);
    }
    cursor.endEditBlock();
}

int TVorrentRichEdit::CharIndexAtPoint(QPoint point) const
{
    const int length = static_cast<int>(display_.size());
    const QPointF at(point.x() + horizontalScrollBar()->value(), point.y() + verticalScrollBar()->value());
    QAbstractTextDocumentLayout* layout = document()->documentLayout();
    if (at.y() < 0 || at.y() >= layout->documentSize().height())
        return length;
    const int near = layout->hitTest(at, Qt::FuzzyHit);
    if (near < 0)
        return length;
    // The hit test gives the nearest gap between characters; the character under the point is
    // the one whose cell holds it.
    const QTextBlock block = document()->findBlock(near);
    const QTextLayout* lines = block.layout();
    const QPointF inBlock = at - layout->blockBoundingRect(block).topLeft();
    for (int i = 0; i < lines->lineCount(); ++i) {
        const QTextLine line = lines->lineAt(i);
        if (inBlock.y() < line.y() + line.height() || i + 1 == lines->lineCount())
            return block.position() + line.xToCursor(inBlock.x(), QTextLine::CursorOnCharacter);
    }
    return near;
}

void TVorrentRichEdit::TrackLinkUnderPointer(QPoint point)
{
    const int i = CharIndexAtPoint(point);
    if (i >= static_cast<int>(display_.size())) {
        pointsAtLink_ = false;
        viewport()->setCursor(Qt::IBeamCursor);
        return;
    }
    // The links lie in text order without overlapping: the one that starts last at or before i.
    auto link = std::upper_bound(links_.begin(), links_.end(), i,
                                 [this](int at, const LinkSpan& span) { return at < positions_[span.start]; });
    pointsAtLink_ = link != links_.begin() && i < positions_[std::prev(link)->start + std::prev(link)->length];
    if (pointsAtLink_)
        --link;
    viewport()->setCursor(pointsAtLink_ ? Qt::PointingHandCursor : Qt::IBeamCursor);
    const QString current =
        pointsAtLink_ ? commentBetween(positions_[link->start], positions_[link->start + link->length]) : QString();
    if (pvlHyperlink_ != nullptr)
        pvlHyperlink_->Url = current;
}

void TVorrentRichEdit::changeEvent(QEvent* event)
{
    QTextEdit::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && !links_.empty())
        formatLinks();
}

void TVorrentRichEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) {
        emit OnTab((event->modifiers() & Qt::ShiftModifier) != 0);
        event->accept();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

void TVorrentRichEdit::mouseMoveEvent(QMouseEvent* event)
{
    QTextEdit::mouseMoveEvent(event);
    TrackLinkUnderPointer(event->position().toPoint());
}

void TVorrentRichEdit::mousePressEvent(QMouseEvent* event)
{
    // What is under the pointer now, not where it last moved: the text may have changed since.
    TrackLinkUnderPointer(event->position().toPoint());
    const bool open = event->button() == Qt::LeftButton && pointsAtLink_;
    QTextEdit::mousePressEvent(event);
    if (open)
        openCurrentLink();
}

void TVorrentRichEdit::forgetCurrentLink()
{
    pointsAtLink_ = false;
    viewport()->setCursor(Qt::IBeamCursor);
    if (pvlHyperlink_ != nullptr)
        pvlHyperlink_->Url.clear();
}

void TVorrentRichEdit::openCurrentLink()
{
    if (pvlHyperlink_ == nullptr || pvlHyperlink_->Url.isEmpty())
        return;
    if (const std::optional<std::string> path = FileLinkPath(toBytes(pvlHyperlink_->Url)))
        OpenFileLink(toQString(*path));
    else
        runGuarded(window(), [this] { pvlHyperlink_->LaunchUrl(); });
}

QString TVorrentRichEdit::selectedCommentText() const
{
    const QTextCursor selection = textCursor();
    return commentBetween(selection.selectionStart(), selection.selectionEnd());
}

QMimeData* TVorrentRichEdit::createMimeDataFromSelection() const
{
    auto* data = new QMimeData;
    data->setText(selectedCommentText());
    return data;
}

QString TVorrentRichEdit::commentBetween(int from, int to) const
{
    QString text;
    int at = from;
    for (auto added = std::lower_bound(addedBreaks_.begin(), addedBreaks_.end(), from);
         added != addedBreaks_.end() && *added < to; ++added) {
        text += display_.mid(at, *added - at);
        at = *added + 1;
    }
    return text + display_.mid(at, to - at);
}

}  // namespace keystead
