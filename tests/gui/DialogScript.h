#pragma once
// A test's script for what the code under test shows modally: each message box and each modal
// form must come in the order the script expects. Message boxes are answered as scripted; forms
// are handed to the scripted steps, which fill them in and close them. Anything unexpected, or
// anything expected that never came, fails the test.

#include "platform/DialogSeam.h"

#include <QDialog>
#include <QString>

#include <gtest/gtest.h>

#include <deque>
#include <ostream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Lets a failing comparison of texts show them as text.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace keystead::test {

class DialogScript {
public:
    DialogScript();
    ~DialogScript();
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    void message(const QString& text, MessageIcon icon, MessageResult answer);
    void warning(const QString& text) { message(text, MessageIcon::Warning, MessageResult::Ok); }
    void error(const QString& text) { message(text, MessageIcon::Error, MessageResult::Ok); }
    void question(const QString& text, MessageResult answer) { message(text, MessageIcon::Question, answer); }

    // Expects a modal form of the type Form; steps must close it.
    template <typename Form>
    void form(std::function<void(Form&)> steps)
    {
        expected_.push_back(Step{std::nullopt, [steps = std::move(steps)](QDialog& shown) {
                                     auto* form = dynamic_cast<Form*>(&shown);
                                     ASSERT_NE(form, nullptr) << "another form came: " << name(shown);
                                     steps(*form);
                                 }});
    }

    // Every step was used.
    bool done() const { return expected_.empty(); }
    // The message boxes shown so far, in order.
    const std::vector<MessageRequest>& shown() const { return shown_; }

private:
    struct ExpectedMessage {
        QString text;
        MessageIcon icon;
        MessageResult answer;
    };
    struct Step {
        std::optional<ExpectedMessage> message;
        std::function<void(QDialog&)> form;
    };

    static std::string name(const QDialog& form);
    MessageResult answer(const MessageRequest& request);
    void drive(QDialog& form);

    std::deque<Step> expected_;
    std::vector<MessageRequest> shown_;
    DialogSeam seam_;
};

}  // namespace keystead::test
