#pragma once
// Watches the modal windows that open in real modal loops. Each expected one is handed, once it
// is shown and active, to the test's steps, which act on it with real input; any other, and an
// expected one still open long after its steps, is closed and fails the test, so that no window
// blocks a test.

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <deque>
#include <functional>
#include <vector>

class QWidget;

namespace keystead::test {

class ModalWatch : public QObject {
public:
    using Steps = std::function<void(QWidget&)>;

    ModalWatch();
    // Fails for every expected window that never came.
    ~ModalWatch() override;

    // The next modal window to open; the steps must see to it that it closes.
    void expect(Steps steps);
    // Every expected window came and has closed again.
    bool done() const;

private:
    struct Handled {
        QPointer<QWidget> window;
        QElapsedTimer since;
    };

    void check();
    void closeStuck(QWidget& modal, const char* why);

    QTimer timer_;
    std::deque<Steps> expected_;
    std::vector<Handled> handled_;
};

}  // namespace keystead::test
