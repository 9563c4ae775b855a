// Compare with radio in a database window, the backups of every radio image and the File
// menu's backup folder.
#include <QApplication>
#include <QDialog>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <filesystem>

#include "database/client_compare.h"
#include "database/radio_backups.h"
#include "model/client_record.h"
#include "shell/commands.h"
#include "shell/database_window.h"
#include "shell/frame_window.h"
#include "shell_fixture.h"
#include "sim/fake_radio_device.h"

using namespace tarn;
using namespace tarn::test;
namespace fs = std::filesystem;

namespace {

// A frame with one window on the database of the clients A and B (B with one channel).
struct Scene {
    explicit Scene(ShellWorld& w) : world(w) {
        const std::string file = world.path("fleet.tdb");
        writeDatabase(file, {"A", "B"});
        window = frame.openDatabaseWindow(file, true);
        frame.show();
        settle();
        window->database().client(1)->addChannel();
        clickRow(*window, 1);
        world.feedback->clear();
    }
    void run(int id) {
        window->runCommand(id);
        settle();
    }
    // A fake radio holding `memory` on the port.
    void radio(const ClientRecord& memory) {
        auto monitor = std::make_shared<RadioMonitor>(RadioFaults{});
        memory.copyImage(monitor->memory().data(), kImageSize);
        world.services->serialConnection =
            fakeRadioFactory(monitor, std::make_shared<VirtualClock>());
    }
    // Runs Compare with radio and presses `button` in its dialog; the dialog's lines.
    QStringList compare(const QString& button) {
        QStringList lines;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog || dialog->windowTitle() != "Compare with radio") return;
            poll.stop();
            auto* list = dialog->findChild<QListWidget*>();
            for (int i = 0; list && i < list->count(); ++i) lines << list->item(i)->text();
            for (QPushButton* b : dialog->findChildren<QPushButton*>())
                if (b->text() == button) b->click();
        });
        poll.start(5);
        run(cmd::CompareRadio);
        return lines;
    }
    ClientRecord& client() { return *window->database().client(1); }
    // The kinds of the backups kept ("before-read", "radio", ...), sorted.
    QStringList backups() const {
        QStringList kinds;
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(backupFolder(), error))
            kinds << QString::fromStdString(entry.path().stem().string())
                         .section('_', -1)
                         .remove(QRegularExpression("-\\d+$"));
        kinds.sort();
        return kinds;
    }

    ShellWorld& world;
    FrameWindow frame;
    DatabaseWindow* window = nullptr;
};

const QString kAtTime = " at \\d\\d:\\d\\d";

}  // namespace

class CompareTest : public QObject {
    Q_OBJECT
  private slots:
    void identicalRadioThenWriteKeepsVerifiedBackup();
    void differentRadioThenReplaceIsOneUndoStep();
    void blockedBackupFolderIsToldInStatusBarOnly();
    void openBackupFolderMakesItPrivate();
};

void CompareTest::identicalRadioThenWriteKeepsVerifiedBackup() {
    ShellWorld world;
    Scene scene(world);
    scene.radio(scene.client());
    QCOMPARE(scene.compare("Close"), QStringList{QString(kIdenticalText)});
    QVERIFY(scene.frame.statusText().contains(
        QRegularExpression("^Compared 'B' with the radio: identical" + kAtTime + "$")));
    QCOMPARE(world.messageTexts().size(), std::size_t{1});  // the connect prompt
    QCOMPARE(scene.backups(), QStringList{"radio"});

    QCOMPARE(scene.compare("Write client to radio"), QStringList{QString(kIdenticalText)});
    QVERIFY2(scene.frame.statusText().contains(
                 QRegularExpression("^Programmed and verified 'B'" + kAtTime + "$")),
             qPrintable(scene.frame.statusText()));
    QCOMPARE(scene.backups(), (QStringList{"radio", "radio", "verified"}));
    QVERIFY(!scene.window->database().isModified());
}

void CompareTest::differentRadioThenReplaceIsOneUndoStep() {
    ShellWorld world;
    Scene scene(world);
    ClientRecord radio = scene.client();
    radio.setOption(ClientOption::PowerLevel, PowerLevel::Low);
    std::fill_n(radio.image().begin() + 3 * kSlotSize, kSlotSize, 0xFF);  // a corrupt slot
    scene.radio(radio);
    const ClientRecord before = scene.client();

    const QStringList lines = scene.compare("Replace client");
    QCOMPARE(lines.size(), 1);
    QVERIFY2(lines[0].startsWith("Power level: "), qPrintable(lines[0]));
    // The channel check ran once, on the copy: its message is not repeated by Replace.
    QCOMPARE(world.messageTexts().size(), std::size_t{2});
    QVERIFY2(scene.frame.statusText().contains(QRegularExpression(
                 "^Read the radio into 'B' \\(2048 bytes, 1 channel repaired\\)" + kAtTime + "$")),
             qPrintable(scene.frame.statusText()));
    QCOMPARE(scene.client().image()[3 * kSlotSize], std::uint8_t{0});
    QVERIFY(scene.client() != before);
    QCOMPARE(scene.frame.menuAction(cmd::Undo)->text(),
             QString("&Undo Read radio into 'B'\tCtrl-Z"));
    QCOMPARE(scene.backups(), (QStringList{"before-read", "radio"}));

    scene.run(cmd::Undo);
    QVERIFY(scene.client() == before);
}

void CompareTest::blockedBackupFolderIsToldInStatusBarOnly() {
    ShellWorld world;
    Scene scene(world);
    fs::create_directories(backupFolder().parent_path());
    std::fclose(std::fopen(backupFolder().c_str(), "w"));  // a file where the folder goes
    scene.radio(scene.client());
    scene.run(cmd::ReadRadio);
    const QString status = scene.frame.statusText();
    QVERIFY2(
        status.contains(QRegularExpression("^Read the radio into 'B' \\(2048 bytes\\)" + kAtTime +
                                           "\\. Backup not kept: the folder '.*' "
                                           "cannot be created \\(.+\\)\\.$")),
        qPrintable(status));
    QCOMPARE(status.count("Backup not kept"), 1);
    QCOMPARE(world.messageTexts().size(), std::size_t{1});  // the prompt, no failure box

    // Open backup folder cannot make it either: a message box says so, nothing opens.
    QList<QUrl> opened;
    scene.frame.setUrlOpener([&](const QUrl& url) { return opened << url, true; });
    scene.frame.command(cmd::OpenBackupFolder);
    QVERIFY(opened.isEmpty());
    QCOMPARE(world.messageTexts().size(), std::size_t{2});
    QVERIFY(QString::fromStdString(world.messageTexts().back())
                .startsWith("The backup folder '" + QString::fromStdString(backupFolder())));
}

void CompareTest::openBackupFolderMakesItPrivate() {
    ShellWorld world;
    FrameWindow frame;
    QList<QUrl> opened;
    frame.setUrlOpener([&](const QUrl& url) { return opened << url, true; });
    frame.command(cmd::OpenBackupFolder);
    QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(QString::fromStdString(backupFolder()))});
    QCOMPARE(fs::status(backupFolder()).permissions(), fs::perms::owner_all);
    QVERIFY(world.messageTexts().empty());
}

QTEST_MAIN(CompareTest)
#include "compare_test.moc"
