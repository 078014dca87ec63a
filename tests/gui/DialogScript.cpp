#include "DialogScript.h"

namespace keystead::test {

namespace {

const char* iconName(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information: return "information";
    case MessageIcon::Warning: return "warning";
    case MessageIcon::Question: return "question";
    case MessageIcon::Error: return "error";
    }
    return "?";
}

}  // namespace

DialogScript::DialogScript()
    : seam_([this](const MessageRequest& request) { return answer(request); }, [this](QDialog& form) { drive(form); })
{
}

DialogScript::~DialogScript()
{
    for (const Step& step : expected_) {
        if (step.message)
            ADD_FAILURE() << "message never shown: " << step.message->text.toStdString();
        else
            ADD_FAILURE() << "a scripted form was never shown";
    }
}

void DialogScript::message(const QString& text, MessageIcon icon, MessageResult answer)
{
    expected_.push_back(Step{ExpectedMessage{text, icon, answer}, {}});
}

std::string DialogScript::name(const QDialog& form)
{
    return form.objectName().toStdString();
}

MessageResult DialogScript::answer(const MessageRequest& request)
{
    shown_.push_back(request);
    const std::string shownText = request.text.toStdString();
    if (expected_.empty() || !expected_.front().message) {
        ADD_FAILURE() << "unexpected message: " << shownText;
        return request.defaultButton;
    }
    const ExpectedMessage expected = *expected_.front().message;
    expected_.pop_front();
    EXPECT_EQ(shownText, expected.text.toStdString());
    EXPECT_STREQ(iconName(request.icon), iconName(expected.icon)) << shownText;
    const bool yesNo = request.buttons == MessageButtons::YesNo;
    // A question has Yes and No; so has the one warning that asks (before a plain text export).
    if (request.icon == MessageIcon::Question || yesNo) {
        EXPECT_TRUE(yesNo && request.icon != MessageIcon::Information && request.icon != MessageIcon::Error)
            << "Yes and No belong to questions: " << shownText;
    }
    return expected.answer;
}

void DialogScript::drive(QDialog& form)
{
    if (expected_.empty() || !expected_.front().form) {
        ADD_FAILURE() << "unexpected form: " << name(form);
        form.reject();
        return;
    }
    const auto steps = std::move(expected_.front().form);
    expected_.pop_front();
    steps(form);
    if (form.isVisible()) {
        ADD_FAILURE() << "the steps left the form open: " << name(form);
        form.reject();
    }
}

}  // namespace keystead::test
