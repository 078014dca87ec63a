#include "desktop/CharacterLimitValidator.h"

#include <QTextBoundaryFinder>

namespace keystead {

int CharacterLimitValidator::visibleLength(const QString& text)
{
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
    int count = 0;
    while (graphemes.toNextBoundary() > 0)
        ++count;
    return count;
}

CharacterLimitValidator::CharacterLimitValidator(int limit, QObject* parent) : QValidator(parent), limit_(limit) {}

QValidator::State CharacterLimitValidator::validate(QString& input, int& /*position*/) const
{
    return visibleLength(input) <= limit_ ? Acceptable : Invalid;
}

}  // namespace keystead
