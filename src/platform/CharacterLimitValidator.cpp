#include "platform/CharacterLimitValidator.h"

#include <QTextBoundaryFinder>

#include <algorithm>

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

namespace {

qsizetype firstLineBreak(const QString& text)
{
    const qsizetype cr = text.indexOf(QLatin1Char('\r'));
    const qsizetype lf = text.indexOf(QLatin1Char('\n'));
    return cr < 0 ? lf : (lf < 0 ? cr : std::min(cr, lf));
}

}  // namespace

QString CharacterLimitValidator::fittedLine(const QString& text, int limit)
{
    const QString line = text.left(firstLineBreak(text));
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, line);
    qsizetype end = 0;
    for (int count = 0; count < limit && end >= 0 && end < line.size(); ++count)
        end = graphemes.toNextBoundary();
    return line.left(end < 0 ? line.size() : end);
}

QValidator::State CharacterLimitValidator::validate(QString& input, int& position) const
{
    const qsizetype lineBreak = firstLineBreak(input);
    if (lineBreak >= 0) {
        input.truncate(lineBreak);
        position = std::min(position, static_cast<int>(lineBreak));
    }
    return visibleLength(input) <= limit_ ? Acceptable : Invalid;
}

}  // namespace keystead
