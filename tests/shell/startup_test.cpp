// Start-up: the first databases and rectangle, and the handover to the running program.
#ifndef _WIN32
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <QLocalServer>
#include <QLocalSocket>
#include <algorithm>
#include <atomic>
#include <thread>

#include "database/radio_backups.h"
#include "model/message_texts.h"
#include "model/user_feedback.h"
#include "qtcommon/file_path.h"
#include "shell/application.h"
#include "shell/command_line.h"
#include "shell/handover_place.h"
#include "shell/help_file.h"
#include "shell/single_instance.h"
#include "shell/splash_screen.h"
#include "shell_fixture.h"

using namespace tarn;
using namespace tarn::test;

namespace {

StartOptions quietStart(ShellWorld& world) {
    return {.serverName = "tarn-test-" + QUuid::createUuid().toString(QUuid::WithoutBraces),
            .settings = &world.settings,
            .splash = false,
            .installSeams = false};
}

void runNestedLoop(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void waitFor(const std::function<bool()>& done, int ms) {
    for (QDeadlineTimer deadline(ms); !done() && !deadline.hasExpired();) runNestedLoop(20);
}

// What `peer`, a second start on another thread, returned; this thread's loop serves meanwhile.
template <class Peer>
auto beside(const Peer& peer) {
    decltype(peer()) result{};
    std::atomic<bool> done = false;
    std::thread thread([&] { result = peer(), done = true; });
    waitFor([&] { return done.load(); }, 10000);
    thread.join();
    return result;
}

bool handOver(const QString& server, const std::vector<std::filesystem::path>& paths) {
    return beside([&] { return SingleInstance::handOver(server, paths, 10000); });
}

QByteArray message(const QByteArray& body) {  // a little-endian length, then the body
    return QByteArray(1, char(body.size() & 0xFF)) + char(body.size() >> 8) + body;
}

QByteArray exchange(const QString& server, const QByteArray& bytes) {
    QByteArray answer;
    QLocalSocket socket;
    socket.connectToServer(SingleInstance::serverPath(server));
    if (!socket.waitForConnected(2000)) return answer;
    socket.write(bytes);
    socket.waitForBytesWritten(2000);
    while (socket.waitForReadyRead(500)) answer += socket.readAll();
    return answer;
}

QByteArray sendRaw(const QString& server, const QByteArray& bytes) {
    return beside([&] { return exchange(server, bytes); });
}

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT
    QTemporaryDir configHome_;  // where the platform's settings file goes
    QTemporaryDir runtime_;     // the session's private runtime folder

  private slots:
    void initTestCase() {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome_.path()));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime_.path()));
    }

    // The first start: old backups pruned, the frame's rectangle, which database opens.
    void firstStartOpensArgumentsOrNewestRecentFile() {
        ShellWorld world;
        const auto backup = [](const char* year) {
            return backupFolder() / (year + std::string("-01-01_000000_f_A_1_radio.tdb"));
        };
        createBackupFolder(backupFolder());
        for (const char* year : {"2000", "2999"}) writeFile(backup(year).string(), {});
        std::unique_ptr<Program> program;
        const auto start = [&](const std::vector<std::filesystem::path>& arguments) {
            program.reset();
            program = Program::start(arguments, quietStart(world));
            settle();
            return program->frame().databaseWindows();
        };
        QList<DatabaseWindow*> windows = start({});
        QVERIFY(!std::filesystem::exists(backup("2000")) &&
                std::filesystem::exists(backup("2999")));
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const FrameWindow& frame = program->frame();
        QCOMPARE(QRect(frame.pos(), frame.geometry().size()),
                 QRect(QPoint(0, 0), screen.size() * 3 / 4));
        QVERIFY(windows.size() == 1 && windows[0]->windowTitle() == "<NoName>[*]" &&
                windows[0]->isMaximized());

        writeDatabase(world.path("older.tdb"), {"A"});
        writeDatabase(world.path("newest.tdb"), {"B"});
        settings().addRecentFile(world.path("older.tdb"));
        settings().addRecentFile(world.path("newest.tdb"));
        windows = start({});
        QVERIFY(windows.size() == 1 && windows[0]->fileName() == world.path("newest.tdb") &&
                windows[0]->isMaximized());
        // The first argument that opens decides; a missing file is passed over silently.
        windows = start({world.path("missing.tdb"), world.path("older.tdb")});
        QVERIFY(windows.size() == 1 && windows[0]->fileName() == world.path("older.tdb") &&
                !windows[0]->isMaximized());
        QVERIFY(world.feedback->empty());
        // A FIFO is told about at once, not waited on.
        QVERIFY(mkfifo(world.path("fifo.tdb").c_str(), 0600) == 0);
        QCOMPARE(start({world.path("fifo.tdb")}).size(), 1);
        QCOMPARE(world.messageTexts(), Texts{"Could not open database file"});
    }

    // The files of the command line: all but the first "--", bytes as typed, made absolute.
    void fileArgumentsEndOptionsOnceAndKeepTheirBytes() {
        const auto run = [](std::vector<std::string> words, auto what) {
            std::vector<char*> argv;
            for (std::string& word : words) argv.push_back(word.data());
            return what(static_cast<int>(argv.size()), argv.data());
        };
        const std::filesystem::path here = std::filesystem::current_path();
        QCOMPARE(run({"tarn", "a.tdb", "--", "-x.tdb", "--", "/d/caf\xe9.tdb"}, fileArguments),
                 (std::vector<std::filesystem::path>{here / "a.tdb", here / "-x.tdb", here / "--",
                                                     "/d/caf\xe9.tdb"}));
        QVERIFY(run({"tarn", "a.tdb", "-v"}, asksForHelpOrVersion));
        QVERIFY(!run({"tarn", "--", "--help"}, asksForHelpOrVersion));
    }

    // Help tells what keeps the manual from showing: the file, xdg-open, a PDF viewer.
    void helpSaysWhatIsMissingToShowTheManual() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
        QTemporaryDir bin;
        const QString manual = bin.filePath("Tarn.pdf");
        const std::string failed = "Failed to open \"Tarn.pdf\".";
        QStringList opened;
        bool opens = true;
        const auto open = [&](const QUrl& url) { return opened << url.toLocalFile(), opens; };
        const auto help = [&] {  // what Help says, once xdg-mime answered
            std::optional<std::string> said;
            openHelpFile(manual, open, [&](const std::string& text) { said = text; });
            (void)QTest::qWaitFor([&] { return said.has_value(); }, 20000);
            return said.value_or("no answer");
        };
        // Fake xdg-utils: xdg-mime names the PDF viewer in $VIEWER (none when empty).
        const auto tool = [&](const char* name, const char* script) {
            QFile file(bin.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(script) > 0);
            file.setPermissions(file.permissions() | QFile::ExeOwner);
        };
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin.path()));
        QCOMPARE(help(), failed);  // no file: nothing is asked
        QFile(manual).open(QIODevice::WriteOnly);
        opens = false;
        QCOMPARE(help(), failed + "\n" + formatMessage(msg::kNoXdgOpen, pathFromQt(manual)));
        tool("xdg-open", "#!/bin/sh\n");
        tool("xdg-mime", "#!/bin/sh\nprintf '%s' \"$VIEWER\"\n");
        qputenv("VIEWER", "");
        QCOMPARE(help(), failed + "\n" + formatMessage(msg::kNoPdfViewer, pathFromQt(manual)));
        qputenv("VIEWER", "org.gnome.Evince.desktop\n");
        opens = true;
        QCOMPARE(help(), std::string());
        opens = false;  // the desktop refused for a reason of its own
        QCOMPARE(help(), failed);
        QCOMPARE(opened, QStringList({manual, manual, manual}));
        qputenv("PATH", path);
        qunsetenv("VIEWER");
#endif
    }

    void handoverOpensPathsInOrderAndIgnoresMalformedMessages() {
        ShellWorld world;
        const char* kOddName = "one\xe9.tdb";  // not valid UTF-8: its bytes still name it
        writeDatabase(world.path(kOddName), {"A"});
        writeDatabase(world.path("two.tdb"), {"B"});
        const StartOptions options = quietStart(world);
        auto program = Program::start({}, options);
        settle();
        auto windowCount = [&] { return int(program->frame().databaseWindows().size()); };
        // A second start without paths only raises the frame; paths open in their order.
        QVERIFY(handOver(options.serverName, {}));
        QVERIFY(handOver(options.serverName,
                         {world.path("two.tdb"), world.path("gone.tdb"), world.path(kOddName)}));
        settle();
        const QList<DatabaseWindow*> windows = program->frame().databaseWindows();
        QCOMPARE(windows.size(), 3);
        QVERIFY(windows[1]->fileName() == world.path("two.tdb") &&
                windows[2]->fileName() == world.path(kOddName));
        // While a radio transfer or print job runs the paths wait; they open after it.
        {
            QtProgressUi ui;
            auto progress = ui.create(ProgressUi::Kind::Progress, &program->frame());
            QVERIFY(handOver(options.serverName, {world.path("two.tdb")}));
            runNestedLoop(300);
            QCOMPARE(windowCount(), 3);
        }
        waitFor([&] { return windowCount() == 4; }, 5000);
        QCOMPARE(windowCount(), 4);

        const QByteArray path = QFile::encodeName(QString::fromStdString(world.path("two.tdb")));
        auto send = [&](const QByteArray& body) {
            return sendRaw(options.serverName, message(body));
        };
        // No terminating zero, a zero inside, an empty path: answered, nothing opened.
        QCOMPARE(send(path), QByteArray("\1"));
        QCOMPARE(send(path + '\0' + "x" + '\0'), QByteArray("\1"));
        QCOMPARE(send(QByteArray(1, '\0')), QByteArray("\1"));
        // A length of 260 bytes or more ends the connection unread.
        QCOMPARE(send(QByteArray(300, 'a') + '\0'), QByteArray());
        settle();
        QCOMPARE(windowCount(), 4);
        QCOMPARE(send(path + '\0'), QByteArray("\1"));  // a well-formed one still works
        settle();
        QCOMPARE(windowCount(), 5);
    }

    void handoversAreAnsweredAtOnceAndOpenedOneAtATime() {
        ShellWorld world;
        const QString damaged = world.qpath("damaged.tdb");
        writeFile(world.path("damaged.tdb"), "not a database");
        const QByteArray one = message(QFile::encodeName(damaged) + '\0');
        const StartOptions options = quietStart(world);
        auto program = Program::start({}, options);
        settle();
        // The first box stays up until its start has gone; another start and a flood come.
        std::atomic<bool> gone = false;
        int depth = 0;
        int deepest = 0;
        world.feedback->whileShown = [&] {
            deepest = std::max(deepest, ++depth);
            if (world.feedback->messages().size() == 1) {
                waitFor([&] { return gone.load(); }, 5000);
                QVERIFY(handOver(options.serverName, {pathFromQt(damaged)}));
                const int flood = SingleInstance::kQueueLimit + 50;
                QCOMPARE(sendRaw(options.serverName, one.repeated(flood)), QByteArray(flood, '\1'));
            }
            --depth;
        };
        const QByteArray answer = beside([&] {
            const QByteArray bytes = exchange(options.serverName, one);
            return gone = true, bytes;
        });
        // Answered before its box came up: no box loops inside the socket's signal (deletion).
        QCOMPARE(answer, QByteArray("\1"));
        const std::size_t boxes = 1 + SingleInstance::kQueueLimit;  // the excess is dropped
        waitFor([&] { return world.feedback->messages().size() >= boxes; },
                60000);      // a condition, not a sleep: slow machines only wait longer
        runNestedLoop(100);  // time for any more that were kept
        QCOMPARE(deepest, 1);
        QCOMPARE(world.feedback->messages().size(), boxes);
        world.feedback->whileShown = nullptr;
        QVERIFY(handOver(options.serverName, {}));  // still serving
    }

    // The list has the keys once the splash has gone. A file handed over while a box is up
    // (a transfer's error) opens after it is closed: its own box never covers the other.
    void handoverWaitsForTheBoxUpAndTheListHasTheKeys() {
        ShellWorld world;
        writeFile(world.path("damaged.tdb"), "not a database");
        const StartOptions options = quietStart(world);
        auto program = Program::start({}, options);
        FrameWindow& frame = program->frame();
        SplashScreen::start(&frame, 10);
        waitFor([] { return !QApplication::activeModalWidget(); }, 2000);
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        QCOMPARE(QApplication::focusWidget(), &frame.databaseWindows()[0]->list());
        bool openedUnderTheBox = true;
        whenModal([&](QWidget* box) {
            QVERIFY(handOver(options.serverName, {world.path("damaged.tdb")}));
            runNestedLoop(600);
            openedUnderTheBox = !world.feedback->empty() || frame.databaseWindows().size() > 1;
            static_cast<QDialog*>(box)->accept();
        });
        QMessageBox(QMessageBox::Critical, kMessageTitle, "No radio answered.", {}, &frame).exec();
        waitFor([&] { return !world.feedback->empty(); }, 5000);
        QVERIFY(!openedUnderTheBox && frame.databaseWindows().size() == 2);
        QCOMPARE(world.messageTexts(), Texts{"File does not appear to be a database file"});
    }

    void serverIsPrivateAndNothingStopsAStart() {
#ifdef _WIN32
        QSKIP("a socket file in a private folder is how POSIX systems keep others out");
#else
        ShellWorld world;
        writeDatabase(world.path("one.tdb"), {"A"});
        StartOptions options = quietStart(world);
        options.reachTimeoutMs = 300;
        const QString server = SingleInstance::serverPath(options.serverName);
        {
            auto first = Program::start({}, options);  // a socket in the private folder
            QVERIFY(QFileInfo(server).exists() && QFileInfo(server).path() == runtime_.path());
            // One that holds the place but does not answer (busy) is passed by.
            QElapsedTimer timer;
            timer.start();
            auto second = Program::start({world.path("one.tdb")}, options);
            QVERIFY(second && timer.elapsed() < 3000);
            QCOMPARE(second->frame().databaseWindows().size(), 1);
        }
        // A socket file left by a crash, or a server that never answers, is taken over.
        for (const bool listening : {false, true}) {
            QLocalServer squatter;
            QFile left(server);
            QVERIFY(listening ? squatter.listen(server) : left.open(QIODevice::WriteOnly));
            auto program = Program::start({}, options);
            QVERIFY(program && handOver(options.serverName, {}));
        }
        // A runtime folder that others may enter is not used; a private one of ours is made.
        QTemporaryDir open;
        QFile::setPermissions(open.path(),
                              QFile::permissions(open.path()) | QFile::ReadOther | QFile::ExeOther);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(open.path()));
        const QByteArray tmp = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(runtime_.path()));
        const QFileInfo fallback(QFileInfo(SingleInstance::serverPath("x")).path());
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime_.path()));
        tmp.isEmpty() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", tmp);
        QCOMPARE(fallback.path(), runtime_.path());  // the temporary folder's own one
        QCOMPARE(fallback.permissions() & 0x0FF, QFile::Permissions{});  // nothing for others
        QCOMPARE(fallback.ownerId(), QFileInfo(runtime_.path()).ownerId());
        // The other end of a connection must be this user; what is not a socket is refused.
        int pair[2] = {-1, -1};
        QCOMPARE(socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
        QVERIFY(peerIsThisUser(pair[0]));
        close(pair[0]), close(pair[1]);
        QVERIFY(!peerIsThisUser(pair[0]));
#endif
    }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
