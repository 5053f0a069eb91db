#pragma once

#include <string>

#include <QByteArray>
#include <QString>
#include <QStringEncoder>

namespace lectoria::test {

/// UTF-8 text as the bytes a GB18030 file holds, for writing note and mark fixtures.
inline std::string Gb18030(const char* utf8)
{
    QStringEncoder encoder("GB18030");
    const QByteArray bytes = encoder.encode(QString::fromUtf8(utf8));
    return bytes.toStdString();
}

} // namespace lectoria::test
