// What's This? on a real X server: the What's This? menu belongs to the main window, yet it opens
// and takes its click over a dialog that runs its real modal loop, and the pop-up shows there.

#include "ScreenTest.h"
#include "XInput.h"
#include "platform/WhatsThis.h"
#include "session/ChgPass.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <optional>

namespace keystead::test {
namespace {

bool whatsThisPopupShown()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(),
                       [](const QWidget* window) { return window->inherits("QWhatsThat") && window->isVisible(); });
}

class HelpOnScreenTest : public ScreenTest {};

TEST_F(HelpOnScreenTest, WhatsThisWorksOverARealModalDialog)
{
    openMain();
    std::optional<int> shown;
    QObject::connect(frmMain->findChild<TWhatsThis*>(), &TWhatsThis::popupShown, [&shown](int topic) { shown = topic; });
    bool menuOpened = false;
    bool popupOpened = false;
    int expected = 0;
    modals.expect([&](QWidget& window) {
        auto& dialog = dynamic_cast<TfrmChangePassword&>(window);
        expected = helpContext(*dialog.txtNew);
        // Points on the screen are right only once the window manager has framed the dialog.
        ASSERT_TRUE(QTest::qWaitFor([&dialog] { return dialog.frameGeometry() != dialog.geometry(); }, 5000));
        clickOn(*dialog.txtNew, 3);
        QMenu& menu = *frmMain->popWhatsThis;
        menuOpened = QTest::qWaitFor([&menu] { return menu.isVisible(); }, 5000);
        if (menuOpened) {
            clickAt(menu.mapToGlobal(menu.actionGeometry(frmMain->mnuWhatsThis).center()));
            popupOpened = QTest::qWaitFor(whatsThisPopupShown, 5000);
            pressKeys({QStringLiteral("Escape")});
            EXPECT_TRUE(QTest::qWaitFor([] { return !whatsThisPopupShown(); }, 5000));
        }
        clickOn(*dialog.cmdCancel);
    });
    QTimer::singleShot(0, frmMain->mnuFilePassword, &QAction::trigger);
    ASSERT_TRUE(QTest::qWaitFor([this] { return modals.done(); }, 20000));
    EXPECT_TRUE(menuOpened);
    EXPECT_TRUE(popupOpened);
    EXPECT_EQ(shown, expected);
}

}  // namespace
}  // namespace keystead::test
