#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QLocalServer;
class QLocalSocket;
class QLockFile;

namespace tarn {

// One running program per user. The first start listens on a local server that only
// this user can reach (a socket in a private folder; on Windows a pipe for this user);
// a later start connects, which brings the running frame to the top, hands over each of
// its paths in order and exits.
//
// The wire: one message per path, a 2-byte little-endian length N (1..260) and N bytes,
// the path followed by its terminating zero; the receiver answers one byte as soon as it
// has taken the message, and opens the paths later, one at a time, in arrival order.
// Anything else is ignored; a bad length ends the connection.
class SingleInstance final : public QObject {
    Q_OBJECT
  public:
    static constexpr int kMaxMessage = 260;
    static constexpr int kQueueLimit = 100;            // paths waiting; more are dropped
    static constexpr int kConnectionLimit = 8;         // at the same time; more are refused
    static constexpr int kConnectionBytes = 64 << 10;  // read from one connection at most
    static constexpr int kConnectionLifeMs = 10000;
    static constexpr int kAnswerTimeoutMs = 3000;

    static QString defaultServerName();
    // The full name a server of that name listens on; empty when there is no safe place.
    static QString serverPath(const QString& serverName);

    // A second start: true when a running program took the paths (then exit with 0);
    // false when none answered within the time given (then start as the first).
    static bool handOver(const QString& serverName, const std::vector<std::filesystem::path>& paths,
                         int answerTimeoutMs = kAnswerTimeoutMs);

    explicit SingleInstance(QString serverName, QObject* parent = nullptr);
    ~SingleInstance() override;

    // The first start: from now on a later start reaches this one. False when another
    // program holds the place (it is starting, or cannot be reached).
    bool listen();
    // What a connection does: `raise` once when it comes, `open` for each path; while
    // `busy` is true (a long operation runs, a box is up) the paths wait.
    void setHandlers(std::function<void()> raise,
                     std::function<void(const std::filesystem::path&)> open,
                     std::function<bool()> busy = nullptr);

  private:
    void accept();
    void readMessages(QLocalSocket* socket, qint64& taken);
    void scheduleNext(int delayMs = 0);
    void openNext();

    QString serverName_;
    QLocalServer* server_;
    std::unique_ptr<QLockFile> lock_;
    std::function<void()> raise_;
    std::function<void(const std::filesystem::path&)> open_;
    std::function<bool()> busy_;
    std::deque<std::filesystem::path> pending_;
    bool opening_ = false;
    bool scheduled_ = false;
};

}  // namespace tarn
