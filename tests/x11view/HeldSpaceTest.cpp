// Holding Space in the list on a real X server: the server repeats the held key (Qt asks it for
// repeated presses without the releases between them), the main window is disabled meanwhile,
// and the one quick view must stay open until the real release, which must still arrive.

#include "../gui/GuiTest.h"
#include "crypto/Diamond.h"
#include "mainwindow/Main.h"
#include "mainwindow/PasswordListView.h"
#include "mainwindow/QuickView.h"
#include "store/EntryStore.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QProcess>
#include <QTableView>
#include <QTest>
#include <QTimer>

namespace keystead::test {
namespace {

TfrmQuickView* visibleQuickView()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* view = qobject_cast<TfrmQuickView*>(window); view != nullptr && view->isVisible())
            return view;
    return nullptr;
}

// Counts the key presses the window system marked as repeats of a held key.
class RepeatCounter : public QObject {
public:
    int repeats = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->isAutoRepeat())
            ++repeats;
        return QObject::eventFilter(watched, event);
    }
};

void xdotool(const QStringList& arguments)
{
    ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"), arguments), 0);
}

class HeldSpaceTest : public GuiTest {};

TEST_F(HeldSpaceTest, OneQuickViewStaysOpenWhileSpaceIsHeld)
{
    addUser("Alice", "pw");
    session.CurrentUsername = "Alice";
    session.LogonPassword = "pw";
    {
        TDiamond diamond;
        diamond.SetKey("pw");
        const auto store = openStore();
        SessionState writer = session;
        EntryStore(*store, writer).append(diamond, {"Bank", "bob", "secret", "notes", "", ""});
    }
    TfrmMain frmMain(session, storeFile);
    frmMain.show();
    frmMain.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frmMain));
    frmMain.lvPasswords->selectRow(0);
    frmMain.lvPasswords->details().setFocus();

    RepeatCounter counter;
    qApp->installEventFilter(&counter);
    QPointer<TfrmQuickView> first;
    bool flickered = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        TfrmQuickView* shown = visibleQuickView();
        if (first == nullptr && shown != nullptr)
            first = shown;
        else if (first != nullptr && shown != first)
            flickered = true;
    });
    watch.start(5);

    xdotool({QStringLiteral("keydown"), QStringLiteral("space")});
    // Held long enough for the server to repeat it several times, however slow the machine.
    EXPECT_TRUE(QTest::qWaitFor([&counter] { return counter.repeats > 3; }, 20000))
        << "the X server repeated the held key " << counter.repeats << " times";
    EXPECT_NE(first, nullptr);
    EXPECT_FALSE(flickered);
    EXPECT_FALSE(frmMain.isEnabled());

    xdotool({QStringLiteral("keyup"), QStringLiteral("space")});
    EXPECT_TRUE(QTest::qWaitFor([&frmMain] { return visibleQuickView() == nullptr && frmMain.isEnabled(); }, 10000))
        << "the release closes the quick view";
    watch.stop();
    EXPECT_FALSE(flickered);
    EXPECT_FALSE(session.QuickViewOpen);
    EXPECT_TRUE(frmMain.isEnabled());
    EXPECT_TRUE(frmMain.lvPasswords->hasListFocus());
    EXPECT_TRUE(script.done());
}

}  // namespace
}  // namespace keystead::test

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "xcb");
    const QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
