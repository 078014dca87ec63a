#pragma once
// Keeps an edit box to a number of characters as the user sees them: an accented letter or an
// emoji counts once, however many code units it takes.

#include <QValidator>

namespace keystead {

class CharacterLimitValidator : public QValidator {
    Q_OBJECT

public:
    CharacterLimitValidator(int limit, QObject* parent);

    State validate(QString& input, int& position) const override;

    // The number of characters as the user sees them.
    static int visibleLength(const QString& text);

private:
    int limit_;
};

}  // namespace keystead
