#include "platform/qt/QtText.h"

#include "platform/Cp1252.h"

#include <QFile>

namespace vx {

QString ToQString(std::string_view text)
{
    QString result(static_cast<qsizetype>(text.size()), Qt::Uninitialized);
    QChar* out = result.data();
    for (char c : text)
        *out++ = QChar(static_cast<char16_t>(Cp1252ToUnicode(static_cast<unsigned char>(c))));
    return result;
}

std::string FromQString(const QString& text)
{
    std::string result;
    result.reserve(static_cast<size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i; // a character beyond the basic plane: one "?" for the pair
        int byte = c.isSurrogate() ? -1 : UnicodeToCp1252(c.unicode());
        result += byte < 0 ? '?' : static_cast<char>(byte);
    }
    return result;
}

QString ToQPath(std::string_view path)
{
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

std::string FromQPath(const QString& path)
{
    const QByteArray bytes = QFile::encodeName(path);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

std::string PathText(std::string_view path)
{
    return FromQString(ToQPath(path));
}

} // namespace vx
