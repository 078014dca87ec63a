#include "ModalWatch.h"

#include "XInput.h"

#include <QApplication>
#include <QDialog>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

namespace keystead::test {

ModalWatch::ModalWatch()
{
    connect(&timer_, &QTimer::timeout, this, &ModalWatch::check);
    timer_.start(20);
}

ModalWatch::~ModalWatch()
{
    if (!expected_.empty())
        ADD_FAILURE() << expected_.size() << " expected modal window(s) never came";
}

void ModalWatch::expect(Steps steps)
{
    expected_.push_back(std::move(steps));
}

bool ModalWatch::done() const
{
    return expected_.empty() && QApplication::activeModalWidget() == nullptr;
}

void ModalWatch::check()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible())
        return;
    const auto seen = std::find_if(handled_.begin(), handled_.end(),
                                   [modal](const Handled& handled) { return handled.window == modal; });
    if (seen != handled_.end()) {
        if (seen->since.hasExpired(10000))
            closeStuck(*modal, "stayed open after its steps");
        return;
    }
    const std::size_t index = handled_.size();
    handled_.push_back({modal, {}});
    handled_[index].since.start();
    if (expected_.empty()) {
        closeStuck(*modal, "was not expected");
        return;
    }
    const Steps steps = std::move(expected_.front());
    expected_.pop_front();
    if (!QTest::qWaitForWindowActive(modal, 5000) || !waitForInputFocus(*modal))
        ADD_FAILURE() << "modal window never became active: " << modal->objectName().toStdString();
    steps(*modal);
    handled_[index].since.restart();
}

void ModalWatch::closeStuck(QWidget& modal, const char* why)
{
    ADD_FAILURE() << "modal window " << modal.objectName().toStdString() << " \"" << modal.windowTitle().toStdString()
                  << "\" " << why;
    if (auto* dialog = qobject_cast<QDialog*>(&modal))
        dialog->reject();
    else
        modal.close();
}

}  // namespace keystead::test
