#include "qtcommon/ansi_text.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>

namespace tarn {

QString fromAnsi(std::string_view bytes) {
    QStringDecoder decoder("windows-1252");
    QByteArrayView view(bytes.data(), static_cast<qsizetype>(bytes.size()));
    if (decoder.isValid()) return decoder.decode(view);
    return QString::fromLatin1(view);
}

std::string toAnsi(const QString& text) {
    QStringEncoder encoder("windows-1252");
    if (!encoder.isValid()) return text.toLatin1().toStdString();
    std::string bytes = QByteArray(encoder.encode(text)).toStdString();
    // The codec marks a character it cannot write with SUB; store and show '?' instead.
    if (!text.contains(QChar(0x1A))) std::replace(bytes.begin(), bytes.end(), '\x1a', '?');
    return bytes;
}

}  // namespace tarn
