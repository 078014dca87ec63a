// The shared pieces of the forms: text conversion, the general error display, the help and the
// tray icon component.

#include "GuiTest.h"
#include "platform/ErrorDisplay.h"
#include "platform/HelpWindow.h"
#include "platform/TBNArea.h"
#include "platform/TextConversion.h"
#include "store/KeysteadError.h"

#include <QMenu>
#include <QTextBrowser>
#include <QWidget>

namespace keystead::test {

namespace {

TEST(TextConversionTest, Utf8BothWays)
{
    const std::string bytes = "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC \xF0\x9F\x94\x91";
    const QString text = toQString(bytes);
    EXPECT_EQ(text, QStringLiteral("Grüße € ") + QString::fromUtf8("\xF0\x9F\x94\x91"));
    EXPECT_EQ(toBytes(text), bytes);
    EXPECT_EQ(toQString(""), QString());
}

TEST(TextConversionTest, BytesThatAreNotUtf8AreReadAsWindows1252)
{
    EXPECT_EQ(toQString("Caf\xE9"), QStringLiteral("Café"));
    EXPECT_EQ(toQString("\x80 \x99 \x9F"), QStringLiteral("€ ™ Ÿ"));
    EXPECT_EQ(toQString("\x81\x8D"), QString(QChar(0x81)) + QChar(0x8D));
    // A UTF-8 sequence cut short at the end is no UTF-8 either.
    EXPECT_EQ(toQString("ok \xC3"), QStringLiteral("ok Ã"));
}

TEST(TextConversionTest, TypedTextsLoseControlCharactersAndBlanksAtBothEnds)
{
    EXPECT_EQ(trimmedBytes(QStringLiteral("\t Anna Lee \r\n")), "Anna Lee");
    EXPECT_EQ(trimmedBytes(QStringLiteral("\u00A0Zoë\u00A0")), "\xC2\xA0Zo\xC3\xAB\xC2\xA0");
    EXPECT_EQ(trimmedBytes(QStringLiteral(" \x01 ")), "");
}

TEST(ErrorDisplayTest, FullStopComesAfterCharactersBeyondTheDot)
{
    EXPECT_EQ(withFullStop(QStringLiteral("Couldn't launch default browser")),
              QStringLiteral("Couldn't launch default browser."));
    EXPECT_EQ(withFullStop(QStringLiteral("Failed to set data for 'Password3'")),
              QStringLiteral("Failed to set data for 'Password3'"));
    EXPECT_EQ(withFullStop(QStringLiteral("Disk full")), QStringLiteral("Disk full."));
    EXPECT_EQ(withFullStop(QStringLiteral("Error 42")), QStringLiteral("Error 42."));
    EXPECT_EQ(withFullStop(QStringLiteral("Really?")), QStringLiteral("Really?."));
    EXPECT_EQ(withFullStop(QStringLiteral("Already done.")), QStringLiteral("Already done."));
    EXPECT_EQ(withFullStop(QStringLiteral("Stop!")), QStringLiteral("Stop!"));
    EXPECT_EQ(withFullStop(QStringLiteral("(see above)")), QStringLiteral("(see above)"));
    EXPECT_EQ(withFullStop(QStringLiteral("Path /tmp/")), QStringLiteral("Path /tmp/."));
    EXPECT_EQ(withFullStop(QString()), QString());
}

class ErrorDisplay : public GuiTest {};

TEST_F(ErrorDisplay, AnUncaughtErrorIsShownInAnErrorBoxOwnedByTheWindow)
{
    QWidget owner;
    script.error(QStringLiteral("The store file is damaged."));
    runGuarded(&owner, [] { throw KeysteadError("The store file is damaged"); });
    ASSERT_TRUE(script.done());
    EXPECT_EQ(script.shown().back().owner, &owner);
    EXPECT_EQ(script.shown().back().buttons, MessageButtons::Ok);
}

TEST(HelpTest, TopicsAreShownByNumberInOneWindowPerOwner)
{
    QWidget owner;
    ShowHelpTopic(owner, 1000);
    ShowHelpTopic(owner, 2000);
    const auto helpWindows = owner.findChildren<THelpWindow*>();
    ASSERT_EQ(helpWindows.size(), 1);
    const THelpWindow& help = *helpWindows.front();
    EXPECT_EQ(help.txtTopic->source(), THelpWindow::topicUrl(2000));
    EXPECT_TRUE(help.txtTopic->toPlainText().contains(QStringLiteral("Creating a new user")));
    EXPECT_TRUE(help.isWindow());
}

TEST(HelpTest, AMissingTopicSaysSo)
{
    QWidget owner;
    ShowHelpTopic(owner, 4321);
    const auto* help = owner.findChild<THelpWindow*>();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->txtTopic->toPlainText().contains(QStringLiteral("not available")));
}

// The tip must fit the tray's record; a vetoed change keeps the old value; a destroyed menu is no
// longer offered.
TEST(TBNAreaTest, TipLimitVetoAndDestroyedMenu)
{
    TTBNArea area(nullptr);
    area.setTip(QString(70, QLatin1Char('x')));
    EXPECT_EQ(area.Tip().size(), TTBNArea::kTipLimit);

    QObject::connect(&area, &TTBNArea::OnChanging, [](TTBNArea*, TChangeKind kind, bool& allow) {
        allow = kind != TChangeKind::Tip;
    });
    area.setTip(QStringLiteral("Keystead"));
    EXPECT_EQ(area.Tip().size(), TTBNArea::kTipLimit);

    int rightClicks = 0;
    QObject::connect(&area, &TTBNArea::OnRightClick, [&rightClicks] { ++rightClicks; });
    auto menu = std::make_unique<QMenu>();
    area.PopupMenuR = menu.get();
    menu.reset();
    area.RightClick();
    EXPECT_EQ(rightClicks, 1);
}

}  // namespace

}  // namespace keystead::test
