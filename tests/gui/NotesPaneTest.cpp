// The notes pane of the main window: links marked where the comment has them, the link under
// the pointer, and what a click opens (caught through the desktop's URL handlers, and a real
// program started from a file link).

#include "GuiTest.h"
#include "OpenedUrls.h"
#include "crypto/Diamond.h"
#include "desktop/pvlUrl.h"
#include "mainwindow/Main.h"
#include "mainwindow/PasswordListView.h"
#include "mainwindow/VorrentRichEdit.h"
#include "store/EntryStore.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QUrl>

namespace keystead::test {
namespace {

class NotesPaneTest : public GuiTest {
protected:
    void SetUp() override
    {
        addUser("Alice", "pw");
        session.CurrentUsername = "Alice";
        session.LogonPassword = "pw";
    }

    void showComment(const std::string& comments) { showComments({comments}); }

    // One entry for each comment, in list order; the first is selected.
    void showComments(const std::vector<std::string>& comments)
    {
        TDiamond diamond;
        diamond.SetKey("pw");
        {
            const auto store = openStore();
            SessionState writer = session;
            EntryStore entries(*store, writer);
            for (std::size_t i = 0; i < comments.size(); ++i)
                entries.append(diamond, {"Entry " + std::to_string(i), "", "p", comments[i], "", ""});
        }
        frmMain = std::make_unique<TfrmMain>(session, storeFile);
        frmMain->resize(600, 400);
        frmMain->show();
        frmMain->lvPasswords->selectRow(0);
        pane = frmMain->reComments;
    }

    // A point inside the character at a pane position.
    QPoint pointAt(int position) const
    {
        QTextCursor cursor(pane->document());
        cursor.setPosition(position);
        const QRect caret = pane->cursorRect(cursor);
        return {caret.left() + 2, caret.center().y()};
    }

    bool linkAt(int position) const
    {
        QTextCursor cursor(pane->document());
        cursor.setPosition(position + 1);
        return cursor.charFormat().fontUnderline();
    }

    void moveTo(int position) const
    {
        QMouseEvent move(QEvent::MouseMove, pointAt(position), pane->viewport()->mapToGlobal(pointAt(position)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(pane->viewport(), &move);
    }

    void clickAt(int position, Qt::MouseButton button = Qt::LeftButton) const
    {
        moveTo(position);
        QTest::mouseClick(pane->viewport(), button, {}, pointAt(position));
    }

    std::unique_ptr<TfrmMain> frmMain;
    TVorrentRichEdit* pane = nullptr;
};

TEST_F(NotesPaneTest, LinksAreMarkedAndTheWholeLinkIsUnderThePointer)
{
    const QString file = QStringLiteral("FILE://\"%1/a b.txt\"").arg(QString::fromStdString(folder.path().string()));
    openStore()->WriteString("Alice", "URLColor", "$00FF8040");   // blue FF, green 80, red 40
    showComment("see wWw.Example.com, now\r\n" + file.toStdString() + " end");
    // Pane positions: a line break is one character here.
    const int web = 4;
    const int fileLink = 26;
    EXPECT_FALSE(linkAt(web - 1));
    for (int i = web; i < web + 16; ++i)
        EXPECT_TRUE(linkAt(i)) << i;
    EXPECT_FALSE(linkAt(web + 16));
    EXPECT_TRUE(linkAt(fileLink + 10));
    QTextCursor linkCursor(pane->document());
    linkCursor.setPosition(web + 1);
    EXPECT_EQ(linkCursor.charFormat().foreground().color(), QColor(0x40, 0x80, 0xFF));
    EXPECT_EQ(pane->textCursor().position(), 0);

    moveTo(web + 5);
    EXPECT_EQ(frmMain->pvlHyperlink->Url, QStringLiteral("wWw.Example.com,"));
    EXPECT_EQ(pane->viewport()->cursor().shape(), Qt::PointingHandCursor);
    moveTo(fileLink + file.size() - 3);
    EXPECT_EQ(frmMain->pvlHyperlink->Url, file);
    moveTo(1);
    EXPECT_EQ(frmMain->pvlHyperlink->Url, QString());
    EXPECT_NE(pane->viewport()->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(NotesPaneTest, AByteOrderMarkIsACharacterOfTheComment)
{
    showComment("\xEF\xBB\xBF www.example.com");
    EXPECT_EQ(pane->toPlainText(), QStringLiteral("\uFEFF www.example.com"));
    EXPECT_FALSE(linkAt(1));
    EXPECT_TRUE(linkAt(2));
    OpenedUrls opened;
    clickAt(4);
    EXPECT_EQ(frmMain->pvlHyperlink->Url, QStringLiteral("www.example.com"));
    EXPECT_EQ(opened.urls, QList<QUrl>{QUrl(QStringLiteral("http://www.example.com"))});
}

TEST_F(NotesPaneTest, AClickTakesTheLinkUnderThePointerInTheTextShownNow)
{
    const QString document = QString::fromStdString((folder.path() / "notes.txt").string());
    QFile(document).open(QIODevice::WriteOnly);
    showComments({"FILE://" + document.toStdString(), "plain words, and more plain words"});
    OpenedUrls opened;
    const QPoint onLink = pointAt(10);
    QTest::mouseMove(pane->viewport(), onLink);
    ASSERT_EQ(frmMain->pvlHyperlink->Url, QStringLiteral("FILE://") + document);

    // The next entry is selected without a move of the pointer, which now rests on plain text.
    frmMain->lvPasswords->selectRow(1);
    emit frmMain->popComments->aboutToShow();
    EXPECT_FALSE(frmMain->LaunchinWebBrowser1->isEnabled());
    QTest::mouseClick(pane->viewport(), Qt::LeftButton, {}, onLink);
    EXPECT_TRUE(opened.urls.isEmpty());
}

TEST_F(NotesPaneTest, LinksAfterLongParagraphsAndWindows1252TextAreFoundAtTheirPlace)
{
    // Bytes that are not UTF-8 are one character each; a long paragraph is shown in parts.
    const std::string comment = "caf\xE9 www.a.b\r\n" + std::string(5000, 'x') + " " + std::string(3000, 'y') +
                                " http://end.example";
    showComment(comment);
    EXPECT_FALSE(linkAt(4));
    EXPECT_TRUE(linkAt(5));
    moveTo(pane->document()->characterCount() - 5);
    EXPECT_EQ(frmMain->pvlHyperlink->Url, QStringLiteral("http://end.example"));
    EXPECT_EQ(frmMain->notesText(), comment);
    pane->selectAll();
    EXPECT_EQ(pane->selectedCommentText(),
              QStringLiteral("caf\u00E9 www.a.b\n") + QString(5000, u'x') + u' ' + QString(3000, u'y') +
                  QStringLiteral(" http://end.example"));
}

TEST_F(NotesPaneTest, ALeftClickOpensWebAndFileLinks)
{
    const QDir dir(QString::fromStdString(folder.path().string()));
    QFile document(dir.filePath(QStringLiteral("notes.txt")));
    ASSERT_TRUE(document.open(QIODevice::WriteOnly));
    document.close();
    const QString program = dir.filePath(QStringLiteral("my tool"));
    QFile tool(program);
    ASSERT_TRUE(tool.open(QIODevice::WriteOnly));
    tool.write("#!/bin/sh\ntouch \"$0.ran\"\n");
    tool.close();
    tool.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    const std::string base = folder.path().string();
    showComment("www.example.com FILE://" + base + "/notes.txt FILE://" + base + "/missing.txt FILE://" + base +
                "/nowhere/x.txt FILE://notes.txt FILE://\"" + program.toStdString() + "\" plain");
    const QString text = pane->toPlainText();
    const auto at = [&](const QString& word) { return static_cast<int>(text.indexOf(word)) + 3; };
    OpenedUrls opened;

    clickAt(at(QStringLiteral("www.")), Qt::RightButton);
    clickAt(at(QStringLiteral("plain")));
    // A relative path names no file of its own: it is never looked up in the working folder.
    clickAt(at(QStringLiteral("//notes.txt")));
    EXPECT_TRUE(opened.urls.isEmpty());
    clickAt(at(QStringLiteral("www.")));
    clickAt(at(QStringLiteral("notes.txt")));
    clickAt(at(QStringLiteral("missing.txt")));
    clickAt(at(QStringLiteral("nowhere")));
    EXPECT_EQ(opened.urls, (QList<QUrl>{QUrl(QStringLiteral("http://www.example.com")),
                                        QUrl::fromLocalFile(dir.filePath(QStringLiteral("notes.txt"))),
                                        QUrl::fromLocalFile(dir.absolutePath())}));

    clickAt(at(QStringLiteral("my tool")));
    const QString ran = program + QStringLiteral(".ran");
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(ran); }, 20000));
    // "Launch in Web Browser" takes a file link by the same rule, never to the browser.
    QFile::remove(ran);
    frmMain->LaunchinWebBrowser1->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(ran); }, 20000));
    EXPECT_EQ(opened.urls.size(), 3);
    EXPECT_TRUE(script.done());
}

TEST_F(NotesPaneTest, ABrowserThatCannotStartIsReported)
{
    showComment("http://[broken");
    script.error(QStringLiteral("Couldn't launch default browser."));
    clickAt(3);
    EXPECT_TRUE(script.done());
}

}  // namespace
}  // namespace keystead::test
