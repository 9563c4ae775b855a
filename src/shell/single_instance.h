#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <string>

class QLocalServer;
class QLocalSocket;

namespace tarn {

// One running program per user session. The first start listens on a named local
// server; a later start connects, which brings the running frame to the top, hands
// over each of its paths in order (each handled before the next is sent) and exits.
//
// The wire: one message per path, a 2-byte little-endian length N (1..260) and N bytes,
// the path followed by its terminating zero; the receiver answers one byte when it has
// handled the message. Anything else is ignored; a bad length ends the connection.
class SingleInstance final : public QObject {
    Q_OBJECT
  public:
    static constexpr int kMaxMessage = 260;

    static QString defaultServerName();

    // A second start: true when a running program took the paths (then exit with 0).
    static bool handOver(const QString& serverName, const QStringList& paths,
                         int answerTimeoutMs = -1);

    explicit SingleInstance(QString serverName, QObject* parent = nullptr);
    ~SingleInstance() override;

    // The first start: from now on a later start reaches this one. False when another
    // program listens already (it is starting or closing: this one gives way).
    bool listen();
    // What a connection does: `raise` once when it comes, `open` for each path.
    void setHandlers(std::function<void()> raise, std::function<void(const std::string&)> open);

  private:
    void accept();
    void readMessages(QLocalSocket* socket);

    QString serverName_;
    QLocalServer* server_;
    std::function<void()> raise_;
    std::function<void(const std::string&)> open_;
};

}  // namespace tarn
