#include "shell/single_instance.h"

#include "qtcommon/file_path.h"

#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QTimer>
#include <memory>

#include "shell/handover_place.h"

namespace tarn {
namespace {

constexpr int kHeader = 2;
constexpr int kRetryWhileBusyMs = 200;

QByteArray encodeMessage(const QByteArray& path) {
    const QByteArray bytes = path + '\0';
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

QString SingleInstance::serverPath(const QString& serverName) {
    const QString folder = privateRuntimeFolder();
    return folder.isEmpty() ? QString() : handoverServerName(folder, serverName);
}

bool SingleInstance::handOver(const QString& serverName,
                              const std::vector<std::filesystem::path>& paths,
                              int answerTimeoutMs) {
    const QString server = serverPath(serverName);
    if (server.isEmpty()) return false;
    QLocalSocket socket;
    socket.connectToServer(server);
    if (!socket.waitForConnected(answerTimeoutMs)) return false;
    QList<QByteArray> messages;
    for (const std::filesystem::path& path : paths) {
        const QByteArray message = encodeMessage(pathBytes(path));
        // No such file can be opened there.
        if (message.size() - kHeader <= kMaxMessage) messages.append(message);
    }
    // Without a path an empty one (opens nothing) asks whether the program answers at all.
    if (messages.isEmpty()) messages.append(encodeMessage({}));
    bool answered = false;
    for (const QByteArray& message : messages) {
        socket.write(message);
        if (!socket.waitForBytesWritten(answerTimeoutMs) ||
            !socket.waitForReadyRead(answerTimeoutMs))
            break;
        socket.readAll();
        answered = true;
    }
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(1000);
    return answered;
}

SingleInstance::SingleInstance(QString serverName, QObject* parent)
    : QObject(parent), serverName_(std::move(serverName)), server_(new QLocalServer(this)) {
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    server_->setMaxPendingConnections(kConnectionLimit);
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::accept);
}

SingleInstance::~SingleInstance() {
    delete server_;  // its socket file goes before the lock, so no successor loses its own
    lock_.reset();
}

bool SingleInstance::listen() {
    const QString folder = privateRuntimeFolder();
    if (folder.isEmpty()) return true;  // nowhere safe to listen: this program stays alone
    auto lock = std::make_unique<QLockFile>(folder + '/' + serverName_ + ".lock");
    lock->setStaleLockTime(0);  // a program runs for days; only its end frees the lock
    if (!lock->tryLock(0)) return lock->error() != QLockFile::LockFailedError;
    lock_ = std::move(lock);
    // The lock's holder alone owns the name: whatever is there was left by a crash.
    const QString server = handoverServerName(folder, serverName_);
    QLocalServer::removeServer(server);
    server_->listen(server);
    return true;
}

void SingleInstance::setHandlers(std::function<void()> raise,
                                 std::function<void(const std::filesystem::path&)> open,
                                 std::function<bool()> busy) {
    raise_ = std::move(raise);
    open_ = std::move(open);
    busy_ = std::move(busy);
}

void SingleInstance::accept() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        const auto open = server_->findChildren<QLocalSocket*>(Qt::FindDirectChildrenOnly);
        if (open.size() > kConnectionLimit || !peerIsThisUser(socket->socketDescriptor())) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        // Bounded memory: a message at a time is buffered, a connection is short-lived.
        socket->setReadBufferSize(kHeader + kMaxMessage);
        QTimer::singleShot(kConnectionLifeMs, socket, [socket] {
            socket->abort();
            socket->deleteLater();
        });
        auto taken = std::make_shared<qint64>(0);
        connect(socket, &QLocalSocket::readyRead, this,
                [this, socket, taken] { readMessages(socket, *taken); });
        if (raise_) raise_();
        readMessages(socket, *taken);
    }
}

// Takes whole messages off the socket and answers each at once; nothing is opened here,
// so no dialog runs its loop while the socket is inside its own signal.
void SingleInstance::readMessages(QLocalSocket* socket, qint64& taken) {
    while (socket->bytesAvailable() >= kHeader) {
        const QByteArray header = socket->peek(kHeader);
        const int length =
            static_cast<unsigned char>(header[0]) | (static_cast<unsigned char>(header[1]) << 8);
        if (length < 1 || length > kMaxMessage || (taken += kHeader + length) > kConnectionBytes) {
            socket->abort();  // not a message of ours, or too many: nothing more is read
            return;
        }
        if (socket->bytesAvailable() < kHeader + length) {
            taken -= kHeader + length;
            return;  // the rest is on its way
        }
        socket->read(kHeader);
        const QByteArray bytes = socket->read(length);
        // One well-formed path: text, then its only zero at the very end.
        const bool wellFormed = length > 1 && bytes.indexOf('\0') == length - 1;
        if (wellFormed && static_cast<int>(pending_.size()) < kQueueLimit) {
            pending_.push_back(pathFromBytes(bytes.left(length - 1)));
            scheduleNext();
        }
        socket->write("\1", 1);
    }
}

void SingleInstance::scheduleNext(int delayMs) {
    if (scheduled_) return;
    scheduled_ = true;
    QTimer::singleShot(delayMs, this, [this] {
        scheduled_ = false;
        openNext();
    });
}

// One path at a time: while its window opens (and any message box of it is up) the next
// ones wait, and while a long operation runs they all do.
void SingleInstance::openNext() {
    if (opening_ || pending_.empty()) return;
    if (busy_ && busy_()) {
        scheduleNext(kRetryWhileBusyMs);
        return;
    }
    const std::filesystem::path path = pending_.front();
    pending_.pop_front();
    opening_ = true;
    if (open_) open_(path);
    opening_ = false;
    if (!pending_.empty()) scheduleNext();
}

}  // namespace tarn
