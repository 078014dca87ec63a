#pragma once
// The program's help: topics by number, written in HTML and built into the program. Each topic is
// the resource ":/help/<number>.html"; a new topic is one more file in the help folder.

#include <QWidget>

class QKeyEvent;
class QTextBrowser;
class QToolButton;

namespace keystead {

class THelpWindow : public QWidget {
    Q_OBJECT

public:
    explicit THelpWindow(QWidget& owner);

    void showTopic(int topic);

    static QUrl topicUrl(int topic);

    QTextBrowser* txtTopic;

private:
    QToolButton* cmdBack;
    QToolButton* cmdForward;
};

// Shows the topic in the help window of the given window, opening that window when needed.
void ShowHelpTopic(QWidget& window, int topic);

// F1 released in a window shows the window's topic. True when the key was F1 released, which the
// window then swallows.
bool showHelpOnF1(QWidget& window, const QKeyEvent& key, int topic);

}  // namespace keystead
