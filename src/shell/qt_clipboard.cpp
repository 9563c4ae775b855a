#include "shell/qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <new>

namespace tarn {

QString QtClipboard::mimeType(ClipboardFormat format) {
    const bool clients = format == ClipboardFormat::Clients;
#ifdef Q_OS_WIN
    return clients ? QStringLiteral("application/x-qt-windows-mime;value=\"Tarn_RadioData\"")
                   : QStringLiteral("application/x-qt-windows-mime;value=\"Tarn_ChanData\"");
#else
    return clients ? QStringLiteral("application/x-tarn-radiodata")
                   : QStringLiteral("application/x-tarn-chandata");
#endif
}

// A MIME type needs no registration; without a GUI application there is no clipboard.
bool QtClipboard::isRegistered(ClipboardFormat) const {
    return QGuiApplication::clipboard() != nullptr;
}

bool QtClipboard::open(WindowHandle) {
    offered_.clear();
    return QGuiApplication::clipboard() != nullptr;
}

bool QtClipboard::empty() {
    offered_.clear();
    QGuiApplication::clipboard()->clear();
    return true;
}

// Every format set within one open/close cycle stays on the clipboard together.
bool QtClipboard::setData(ClipboardFormat format, std::vector<std::uint8_t> block) {
    try {
        offered_[format] = QByteArray(reinterpret_cast<const char*>(block.data()),
                                      static_cast<qsizetype>(block.size()));
        auto* data = new QMimeData;
        for (const auto& [offeredFormat, bytes] : offered_)
            data->setData(mimeType(offeredFormat), bytes);
        QGuiApplication::clipboard()->setMimeData(data);
    } catch (const std::bad_alloc&) {
        offered_.erase(format);
        return false;
    }
    return true;
}

bool QtClipboard::isAvailable(ClipboardFormat format) const {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasFormat(mimeType(format));
}

std::optional<std::vector<std::uint8_t>> QtClipboard::getData(ClipboardFormat format) const {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasFormat(mimeType(format))) return std::nullopt;
    const QByteArray bytes = data->data(mimeType(format));
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

void QtClipboard::close() {
    offered_.clear();
}

QtClipboard& qtClipboard() {
    static QtClipboard board;
    return board;
}

}  // namespace tarn
