#include "shell/ansi_text.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace tarn {

QString fromAnsi(std::string_view bytes) {
    QStringDecoder decoder("windows-1252");
    QByteArrayView view(bytes.data(), static_cast<qsizetype>(bytes.size()));
    if (decoder.isValid()) return decoder.decode(view);
    return QString::fromLatin1(view);
}

std::string toAnsi(const QString& text) {
    QStringEncoder encoder("windows-1252");
    QByteArray bytes = encoder.isValid() ? QByteArray(encoder.encode(text)) : text.toLatin1();
    return bytes.toStdString();
}

}  // namespace tarn
