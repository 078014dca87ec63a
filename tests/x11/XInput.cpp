#include "XInput.h"

#include <QProcess>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace keystead::test {
namespace {

QByteArray xdotool(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    if (!process.waitForFinished(10000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        ADD_FAILURE() << "xdotool " << arguments.join(QLatin1Char(' ')).toStdString() << " failed: "
                      << process.readAllStandardError().toStdString();
    return process.readAllStandardOutput();
}

}  // namespace

void pressKeys(const QStringList& keys)
{
    xdotool(QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("20")} + keys);
}

void typeText(const QString& text)
{
    xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), text});
}

void clickAt(QPoint global, int button)
{
    // No --sync: it waits for a motion that never comes when the pointer is there already. The
    // server takes the motion before the click all the same.
    xdotool({QStringLiteral("mousemove"), QString::number(global.x()),
             QString::number(global.y()), QStringLiteral("click"), QString::number(button)});
}

void doubleClickAt(QPoint global)
{
    xdotool({QStringLiteral("mousemove"), QString::number(global.x()), QString::number(global.y()),
             QStringLiteral("click"), QStringLiteral("--repeat"), QStringLiteral("2"), QStringLiteral("--delay"),
             QStringLiteral("80"), QStringLiteral("1")});
}

QRect placeOnScreen(const QWidget& window)
{
    const QByteArray shell =
        xdotool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), QString::number(window.winId())});
    int x = 0, y = 0, width = 0, height = 0;
    for (const QByteArray& line : shell.split('\n')) {
        const QList<QByteArray> pair = line.split('=');
        if (pair.size() != 2)
            continue;
        const int value = pair[1].toInt();
        x = pair[0] == "X" ? value : x;
        y = pair[0] == "Y" ? value : y;
        width = pair[0] == "WIDTH" ? value : width;
        height = pair[0] == "HEIGHT" ? value : height;
    }
    return {x, y, width, height};
}

bool waitForInputFocus(const QWidget& window)
{
    const WId id = window.winId();
    return QTest::qWaitFor(
        [id] { return xdotool({QStringLiteral("getwindowfocus"), QStringLiteral("-f")}).trimmed().toULongLong() == id; },
        5000);
}

void clickOn(const QWidget& control, int button)
{
    // Placed by the X server within the control's window: the program's idea of where a window is
    // lags behind a move of the window it is embedded in (the tray's icon).
    const QWidget& window = *control.window();
    const QPoint point = control.mapTo(&window, control.rect().center());
    xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), QString::number(window.winId()),
             QString::number(point.x()), QString::number(point.y()), QStringLiteral("click"), QString::number(button)});
}

}  // namespace keystead::test
