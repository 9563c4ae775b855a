#include "shell/single_instance.h"

#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>

namespace tarn {
namespace {

// No socket file outlives a crash, and nobody can take the name over from a running one.
constexpr auto kServerOptions = QLocalServer::AbstractNamespaceOption;

QByteArray encodeMessage(const QString& path) {
    const QByteArray bytes = QFile::encodeName(path) + '\0';
    QByteArray message;
    message.append(static_cast<char>(bytes.size() & 0xFF));
    message.append(static_cast<char>((bytes.size() >> 8) & 0xFF));
    return message + bytes;
}

}  // namespace

QString SingleInstance::defaultServerName() {
    QString user = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
    return "Tarn_PrevInstanceTest-" + user;
}

bool SingleInstance::handOver(const QString& serverName, const QStringList& paths,
                              int answerTimeoutMs) {
    QLocalSocket socket;
    socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    socket.connectToServer(serverName);
    if (!socket.waitForConnected(2000)) return false;
    for (const QString& path : paths) {
        const QByteArray message = encodeMessage(path);
        if (message.size() - 2 > kMaxMessage) continue;  // no such file can be opened there
        socket.write(message);
        if (!socket.waitForBytesWritten(2000)) break;
        // Wait until the running program has handled this path before the next.
        if (!socket.waitForReadyRead(answerTimeoutMs)) break;
        socket.readAll();
    }
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(1000);
    return true;
}

SingleInstance::SingleInstance(QString serverName, QObject* parent)
    : QObject(parent), serverName_(std::move(serverName)), server_(new QLocalServer(this)) {
    server_->setSocketOptions(kServerOptions);
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::accept);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::listen() {
    return server_->listen(serverName_);
}

void SingleInstance::setHandlers(std::function<void()> raise,
                                 std::function<void(const std::string&)> open) {
    raise_ = std::move(raise);
    open_ = std::move(open);
}

void SingleInstance::accept() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readMessages(socket); });
        if (raise_) raise_();
        readMessages(socket);
    }
}

void SingleInstance::readMessages(QLocalSocket* socket) {
    QPointer<QLocalSocket> guard(socket);
    while (guard && socket->bytesAvailable() >= 2) {
        QByteArray header = socket->peek(2);
        const int length =
            static_cast<unsigned char>(header[0]) | (static_cast<unsigned char>(header[1]) << 8);
        if (length < 1 || length > kMaxMessage) {
            socket->abort();  // not a message of ours: nothing more is read from it
            return;
        }
        if (socket->bytesAvailable() < 2 + length) return;  // the rest is on its way
        socket->read(2);
        const QByteArray bytes = socket->read(length);
        // One well-formed path: text, then its only zero at the very end.
        const bool wellFormed = length > 1 && bytes.indexOf('\0') == length - 1;
        if (wellFormed && open_) open_(bytes.left(length - 1).toStdString());
        if (guard) socket->write("\1", 1);
    }
}

}  // namespace tarn
