#include "platform/TextConversion.h"

#include "store/TextRules.h"
#include "store/Windows1252.h"

#include <QStringDecoder>

#include <optional>
#include <utility>

namespace keystead {

namespace {

QString fromWindows1252(std::string_view bytes)
{
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        const bool high = code >= 0x80 && code <= 0x9F;
        text.append(QChar(high ? kWindows1252High[code - 0x80] : char16_t{code}));
    }
    return text;
}

// The text of the bytes when they are UTF-8. A leading byte-order mark is a character of the text
// like any other: dropped, it would be lost when the text is written back, and every position
// counted in the bytes would be one off.
std::optional<QString> fromUtf8(std::string_view bytes)
{
    using Flag = QStringDecoder::Flag;
    QStringDecoder utf8(QStringDecoder::Utf8, Flag::Stateless | Flag::ConvertInitialBom);
    QString text = utf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (utf8.hasError())
        return std::nullopt;
    return text;
}

}  // namespace

bool isUtf8(std::string_view bytes)
{
    return fromUtf8(bytes).has_value();
}

QString toQString(std::string_view bytes)
{
    std::optional<QString> text = fromUtf8(bytes);
    return text ? std::move(*text) : fromWindows1252(bytes);
}

std::string toBytes(const QString& text)
{
    return text.toStdString();
}

QString toMultiLineQString(std::string_view bytes)
{
    return toQString(bytes).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

std::string toMultiLineBytes(const QString& text)
{
    return toBytes(QString(text).replace(QLatin1Char('\n'), QStringLiteral("\r\n")));
}

std::string trimmedBytes(const QString& typed)
{
    return trimText(toBytes(typed));
}

}  // namespace keystead
