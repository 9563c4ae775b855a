// Start-up: the first databases, the frame's first rectangle, and the handover from a
// second start of the program to the running one.
#include <sys/stat.h>

#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QLocalSocket>
#include <QMdiArea>
#include <QMenu>
#include <QScreen>
#include <QUuid>
#include <atomic>
#include <functional>
#include <thread>

#include "shell/application.h"
#include "shell/database_window.h"
#include "shell/frame_window.h"
#include "shell/single_instance.h"
#include "shell_fixture.h"

using namespace tarn;
using namespace tarn::test;

namespace {

StartOptions quietStart(ShellWorld& world) {
    StartOptions options;
    options.serverName = "tarn-test-" + QUuid::createUuid().toString(QUuid::WithoutBraces);
    options.settings = &world.settings;
    options.splash = false;
    options.installSeams = false;
    return options;
}

QString qpath(ShellWorld& world, const std::string& name) {
    return QString::fromStdString(world.path(name));
}

// Runs `peer` on another thread (a second start of the program) while this thread's event
// loop serves the running one; gives up waiting after ten seconds.
void runBeside(const std::function<void()>& peer) {
    std::atomic<bool> done = false;
    std::thread thread([&] {
        peer();
        done = true;
    });
    for (QDeadlineTimer deadline(10000); !done && !deadline.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    thread.join();
}

bool handOverFromAnotherThread(const QString& server, const QStringList& paths) {
    bool result = false;
    runBeside([&] { result = SingleInstance::handOver(server, paths, 10000); });
    return result;
}

// Sends raw bytes to a running program and returns what it answered.
QByteArray sendRaw(const QString& server, const QByteArray& bytes) {
    QByteArray answer;
    runBeside([&] {
        QLocalSocket socket;
        socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
        socket.connectToServer(server);
        if (!socket.waitForConnected(2000)) return;
        socket.write(bytes);
        socket.waitForBytesWritten(2000);
        while (socket.waitForReadyRead(500)) answer += socket.readAll();
    });
    return answer;
}

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void platformSettingsKeepThePlacement();
    void firstStartWithoutSettings();
    void firstStartOpensArgumentsOrNewestRecentFile();
    void handoverOpensPathsInOrder();
    void handoverIgnoresMalformedMessages();

  private:
    QTemporaryDir configHome_;  // where the platform's settings file goes
};

void StartupTest::initTestCase() {
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome_.path()));
}

void StartupTest::platformSettingsKeepThePlacement() {
    ShellWorld world;
    StartOptions options = quietStart(world);
    options.settings = nullptr;  // the settings file of the platform
    {
        auto program = Program::start({}, options);
        settle();
        program->frame().move(40, 50);
        program->frame().resize(500, 400);
        world.feedback->script({MessageAnswer::No});  // the untitled database is not kept
        QVERIFY(program->frame().close());
    }
    auto again = Program::start({}, options);
    settle();
    QCOMPARE(again->frame().pos(), QPoint(40, 50));
    QCOMPARE(again->frame().size(), QSize(500, 400));
    world.feedback->script({MessageAnswer::No});
}

void StartupTest::firstStartWithoutSettings() {
    ShellWorld world;
    auto program = Program::start({}, quietStart(world));
    QVERIFY(program);
    settle();
    FrameWindow& frame = program->frame();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(frame.pos(), QPoint(0, 0));
    QCOMPARE(frame.geometry().size(), screen.size() * 3 / 4);
    QVERIFY(frame.windowTitle().startsWith("Tarn DataBase"));
    const QList<DatabaseWindow*> windows = frame.databaseWindows();
    QCOMPARE(windows.size(), 1);
    QCOMPARE(windows[0]->windowTitle(), QString("<NoName>"));
    QVERIFY(windows[0]->isMaximized());
    QVERIFY(world.feedback->empty());

    // A stored placement is used, pulled back onto the screen when it lies off it.
    world.settings.write("Window Placement",
                         QString("%1 -5 640 480").arg(screen.width()).toStdString());
    QCOMPARE(initialFrameGeometry(screen), QRect(screen.width() - 200, 0, 640, 480));
    world.settings.write("Window Placement", "10 20 300 200");
    QCOMPARE(initialFrameGeometry(screen), QRect(10, 20, 300, 200));
}

void StartupTest::firstStartOpensArgumentsOrNewestRecentFile() {
    ShellWorld world;
    writeDatabase(world.path("older.tdb"), {"A"});
    writeDatabase(world.path("newest.tdb"), {"B"});
    settings().addRecentFile(world.path("older.tdb"));
    settings().addRecentFile(world.path("newest.tdb"));
    auto program = Program::start({}, quietStart(world));
    settle();
    QList<DatabaseWindow*> windows = program->frame().databaseWindows();
    QCOMPARE(windows.size(), 1);
    QCOMPARE(windows[0]->fileName(), world.path("newest.tdb"));
    QVERIFY(windows[0]->isMaximized());
    // The recent-file items are in the File menu from the start.
    QCOMPARE(program->frame().fileMenu()->actions()[8]->text(), QString("&1. newest.tdb"));
    program.reset();

    // The first argument that opens decides; a missing file is passed over silently.
    program =
        Program::start({qpath(world, "missing.tdb"), qpath(world, "older.tdb")}, quietStart(world));
    settle();
    windows = program->frame().databaseWindows();
    QCOMPARE(windows.size(), 1);
    QCOMPARE(windows[0]->fileName(), world.path("older.tdb"));
    QVERIFY(!windows[0]->isMaximized());
    QVERIFY(world.feedback->empty());
    program.reset();

    // Only missing files: the frame alone.
    program = Program::start({qpath(world, "a.tdb"), qpath(world, "b.tdb")}, quietStart(world));
    settle();
    QVERIFY(program->frame().isVisible());
    QCOMPARE(program->frame().databaseWindows().size(), 0);
    program.reset();

    // A FIFO is told about at once, not waited on.
    QVERIFY(mkfifo(world.path("fifo.tdb").c_str(), 0600) == 0);
    program = Program::start({qpath(world, "fifo.tdb")}, quietStart(world));
    settle();
    QCOMPARE(program->frame().databaseWindows().size(), 1);
    QCOMPARE(world.messageTexts(), std::vector<std::string>{"Could not open database file"});
}

void StartupTest::handoverOpensPathsInOrder() {
    ShellWorld world;
    writeDatabase(world.path("one.tdb"), {"A"});
    writeDatabase(world.path("two.tdb"), {"B"});
    const StartOptions options = quietStart(world);
    auto program = Program::start({}, options);
    settle();
    QCOMPARE(program->frame().databaseWindows().size(), 1);
    // A second start in the same session gives way to the running one; without paths it
    // only raises the frame.
    QVERIFY(!Program::start({}, options));
    QVERIFY(handOverFromAnotherThread(options.serverName, {}));
    settle();
    QCOMPARE(program->frame().databaseWindows().size(), 1);
    QVERIFY(handOverFromAnotherThread(
        options.serverName,
        {qpath(world, "two.tdb"), qpath(world, "gone.tdb"), qpath(world, "one.tdb")}));
    settle();
    const QList<DatabaseWindow*> windows = program->frame().databaseWindows();
    QCOMPARE(windows.size(), 3);
    QCOMPARE(windows[1]->fileName(), world.path("two.tdb"));
    QCOMPARE(windows[2]->fileName(), world.path("one.tdb"));
    // With nobody listening there is nothing to hand over to.
    QVERIFY(!SingleInstance::handOver(options.serverName + "-nobody", {"x"}));
}

void StartupTest::handoverIgnoresMalformedMessages() {
    ShellWorld world;
    writeDatabase(world.path("ok.tdb"), {"A"});
    const StartOptions options = quietStart(world);
    auto program = Program::start({qpath(world, "ok.tdb")}, options);
    settle();
    const QByteArray path = QFile::encodeName(qpath(world, "ok.tdb"));
    auto send = [&](const QByteArray& body) {
        const char size[] = {static_cast<char>(body.size() & 0xFF),
                             static_cast<char>(body.size() >> 8)};
        return sendRaw(options.serverName, QByteArray(size, 2) + body);
    };
    // No terminating zero, a zero inside, an empty path: answered, nothing opened.
    QCOMPARE(send(path), QByteArray("\1"));
    QCOMPARE(send(path + '\0' + "x" + '\0'), QByteArray("\1"));
    QCOMPARE(send(QByteArray(1, '\0')), QByteArray("\1"));
    // A length of 260 bytes or more ends the connection unread.
    QCOMPARE(send(QByteArray(300, 'a') + '\0'), QByteArray());
    settle();
    QCOMPARE(program->frame().databaseWindows().size(), 1);
    // A well-formed one still works afterwards.
    QCOMPARE(send(path + '\0'), QByteArray("\1"));
    settle();
    QCOMPARE(program->frame().databaseWindows().size(), 2);
}

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
