#pragma once
// Keeps a single-line edit box to a number of characters as the user sees them (an accented
// letter or an emoji counts once, however many code units it takes) and to one line: text brought
// in with line breaks (pasted, dropped) keeps its first line only, as a single-line box of the
// system does.

#include <QValidator>

namespace keystead {

class CharacterLimitValidator : public QValidator {
    Q_OBJECT

public:
    CharacterLimitValidator(int limit, QObject* parent);

    State validate(QString& input, int& position) const override;

    // The number of characters as the user sees them.
    static int visibleLength(const QString& text);
    // The first line of text, cut to at most limit characters as the user sees them: what such a
    // box can take of a text that reaches it from outside.
    static QString fittedLine(const QString& text, int limit);

private:
    int limit_;
};

}  // namespace keystead
