#pragma once
// TVorrentRichEdit, the notes pane: a read-only rich text box that shows one comment, marks the
// web, FTP and file addresses in it as links, and opens the link under a left click.

#include "mainwindow/LinkScan.h"
#include "store/ColorText.h"

#include <QTextEdit>

#include <string>
#include <vector>

namespace keystead {

class TpvlUrl;

class TVorrentRichEdit : public QTextEdit {
    Q_OBJECT

public:
    explicit TVorrentRichEdit(QWidget* parent = nullptr);

    // The comment as stored, line breaks as CR LF; shown plain, with its links marked.
    void setCommentText(const std::string& text);
    const std::string& commentText() const { return comment_; }
    // Empties the pane and forgets its comment, whose copies of ours are wiped.
    void clear();
    // The selected part of the comment, line breaks as LF.
    QString selectedCommentText() const;

    // Colour text of the links; the links are marked again in the new colour.
    void setUrlColor(const std::string& colorText);
    // The launcher whose Url holds the link under the pointer, and which opens web links.
    void setHyperlink(TpvlUrl* hyperlink) { pvlHyperlink_ = hyperlink; }

    void MarkLinks();
    // The character under a point of the viewport; the text's length when there is none.
    int CharIndexAtPoint(QPoint point) const;
    void TrackLinkUnderPointer(QPoint point);
    bool pointsAtLink() const { return pointsAtLink_; }
    // Opens the current link: a file link by the file-link rule, any other in the web browser.
    void openCurrentLink();

signals:
    // A typed Tab, which the pane never inserts.
    void OnTab(bool shift);

protected:
    // A new palette can change a system colour used for the links.
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    QMimeData* createMimeDataFromSelection() const override;

private:
    void formatLinks();
    // A new text holds no link under the pointer until the pointer moves or clicks.
    void forgetCurrentLink();
    // The comment's text between two pane positions, without the breaks the pane added.
    QString commentBetween(int from, int to) const;

    std::string comment_;
    // What the pane shows: the comment with LF line breaks, and a break added into each very long
    // paragraph, so that the text box lays out only what it draws (one paragraph is laid out
    // whole, and a megabyte on one line took nearly a minute).
    QString display_;
    std::vector<int> positions_;   // pane position of each byte of the comment, and of its end
    std::vector<int> addedBreaks_; // pane positions of the added breaks
    std::vector<LinkSpan> links_;
    ColorValue urlColor_ = kHighlightColor;
    TpvlUrl* pvlHyperlink_ = nullptr;
    bool pointsAtLink_ = false;
};

}  // namespace keystead
