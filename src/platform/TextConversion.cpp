#include "platform/TextConversion.h"

#include "store/TextRules.h"

#include <QStringDecoder>

#include <array>
#include <optional>
#include <utility>

namespace keystead {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F; the five codes it leaves undefined keep
// their own value, as Windows maps them.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

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
