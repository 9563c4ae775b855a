// The small dialogs: port, About, dealer text, the file-name dialogs and the splash;
// and the Qt message boxes and progress windows behind the seams.
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <functional>

#include "database/client_database.h"
#include "shell/about_dialog.h"
#include "shell/artwork.h"
#include "shell/dealer_text_dialog.h"
#include "shell/frame_window.h"
#include "shell/port_dialog.h"
#include "shell/qt_progress.h"
#include "shell/qt_user_feedback.h"
#include "shell/splash_screen.h"
#include "shell_fixture.h"

using namespace tarn;
using namespace tarn::test;

namespace {

// Runs `act` on the next modal dialog that opens (the way a user answers it); with
// `boxOnly`, on the next message box.
void whenModal(std::function<void(QWidget*)> act, bool boxOnly = false) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act, boxOnly] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && (!boxOnly || qobject_cast<QMessageBox*>(modal))) {
            timer->stop();
            timer->deleteLater();
            // Acted on after the timer's turn, so a box the action opens gets its own.
            QMetaObject::invokeMethod(
                modal, [act, modal] { act(modal); }, Qt::QueuedConnection);
        }
    });
    timer->start();
}

QWidget* shownWindow(const QString& title) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->windowTitle() == title && w->isVisible()) return w;
    return nullptr;
}

void clickButton(QWidget* box, QMessageBox::StandardButton button) {
    static_cast<QMessageBox*>(box)->button(button)->click();
}

QString pathOf(ShellWorld& world, const std::string& name) {
    return QString::fromStdString(world.path(name));
}

}  // namespace

class DialogsTest : public QObject {
    Q_OBJECT
  private slots:
    void portDialogAsksAboutUnavailablePort();
    void dealerTextKeepsNinetyNineCharactersAndAboutShowsVersion();
    void fileDialogsHaveTheirTitlesAndFilters();
    void splashIsCentredModalAndCloses();
    void messageBoxesAreTitledAndOwned();
    void progressWindowShowsBarAndStatus();
};

void DialogsTest::portDialogAsksAboutUnavailablePort() {
    ShellWorld world;
    world.services->probePort = [](const std::string& name) { return name == "COM2"; };
    PortDialog dialog(nullptr);
    QCOMPARE(dialog.windowTitle(), QString("Set port"));
    QCOMPARE(dialog.portBox()->currentText(), QString("COM1"));
    for (const char* name : {"COM1", "COM2", "COM3", "COM4"})
        QVERIFY(dialog.portBox()->findText(name) >= 0);
    dialog.portBox()->setEditText("COM7");
    world.feedback->script({MessageAnswer::No, MessageAnswer::Yes});
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Rejected));  // still open
    QVERIFY(!world.settings.read("Port"));
    QCOMPARE(dialog.portBox()->currentText(), QString("COM7"));
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(*world.settings.read("Port"), std::string("COM7"));
    QCOMPARE(world.messageTexts(),
             std::vector<std::string>(2,
                                      "Port 'COM7' is either busy or unavailable.\n\nAre you "
                                      "sure you want to use this port?"));
    world.services->probePort = {};
    // Enter presses OK with the text as shown, whether typed or stored, listed or not.
    for (const char* stored : {"COM3", "COM", "/dev/ttyUSB7"}) {
        world.settings.write("Port", stored);
        PortDialog shown(nullptr);
        shown.show();
        QVERIFY(QTest::qWaitForWindowActive(&shown));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(shown.result(), int(QDialog::Accepted));
        QCOMPARE(*world.settings.read("Port"), std::string(stored));
    }
}

void DialogsTest::dealerTextKeepsNinetyNineCharactersAndAboutShowsVersion() {
    ShellWorld world;
    std::array<char, 100> text{};
    std::memcpy(text.data(), "Line one\r\nLine two", 18);
    DealerTextDialog dialog(text, nullptr);
    QCOMPARE(dialog.windowTitle(), QString("Edit dealer text"));
    QCOMPARE(dialog.textBox()->toPlainText(), QString("Line one\nLine two"));
    dialog.textBox()->setPlainText(QString(150, 'x'));
    dialog.storeText(text);
    QCOMPARE(std::string(text.data()), std::string(99, 'x'));
    dialog.textBox()->setPlainText("a\nb");
    dialog.storeText(text);
    QCOMPARE(std::string(text.data()), std::string("a\r\nb"));

    QCOMPARE(versionLine(), QString("Version 3, 0, 1, 0"));
}

void DialogsTest::fileDialogsHaveTheirTitlesAndFilters() {
    ShellWorld world;
    const std::pair<FileDialogKind, QString> cases[] = {
        {FileDialogKind::OpenDatabase, "Open database file|Database Files (*.tdb)|open"},
        {FileDialogKind::SaveDatabase, "Save database file|Database Files (*.tdb)|save"},
        {FileDialogKind::ExportDatabase, "Export database file|CSV Files (*.csv)|save"},
        {FileDialogKind::ImportCsv, "Import CSV file|CSV Files (*.csv)|open"},
    };
    writeDatabase(world.path("a.tdb"), {"A"});
    for (const auto& [kind, expected] : cases) {
        QString seen;
        whenModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            const bool save = dialog->acceptMode() == QFileDialog::AcceptSave;
            seen = dialog->windowTitle() + "|" + dialog->selectedNameFilter() + "|" +
                   (save ? "save" : "open");
            // Typed, as a user would (selectFile leaves a focused name field alone).
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText(pathOf(world, "a.tdb"));
            // Saving over a file asks first; answer Yes when that box comes.
            if (save) whenModal([](QWidget* box) { clickButton(box, QMessageBox::Yes); }, true);
            static_cast<QDialog*>(dialog)->accept();
        });
        std::filesystem::path path = "unchanged";
        QVERIFY(showFileNameDialog(nullptr, path, kind));
        settle();
        QCOMPARE(seen, expected);
        QCOMPARE(path.string(), world.path("a.tdb"));
    }
    // Cancel leaves the buffer alone; an unknown kind shows nothing.
    whenModal([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
    std::filesystem::path path = "unchanged";
    QVERIFY(!showFileNameDialog(nullptr, path, FileDialogKind::OpenDatabase));
    QVERIFY(!showFileNameDialog(nullptr, path, static_cast<FileDialogKind>(99)));
    QCOMPARE(path.string(), std::string("unchanged"));
}

void DialogsTest::splashIsCentredModalAndCloses() {
    ShellWorld world;
    FrameWindow frame;
    frame.show();
    const QRect screen = frame.screen()->geometry();
    // Closed by Return, Escape, a right click, and (the last) by its timer.
    for (int way = 0; way < 4; ++way) {
        QPointer<SplashScreen> splash = SplashScreen::start(&frame, way == 3 ? 20 : 60000);
        QCOMPARE(splash->size(), QSize(kSplashWidth, kSplashHeight));
        QCOMPARE(splash->pos(), QPoint((screen.width() - kSplashWidth) / 2,
                                       (screen.height() - kSplashHeight) / 2));
        QCOMPARE(QApplication::activeModalWidget(), splash.data());  // the frame takes no input
        QVERIFY(splash->windowFlags() & Qt::WindowStaysOnTopHint);
        if (way < 2) QTest::keyClick(splash, way == 0 ? Qt::Key_Return : Qt::Key_Escape);
        if (way == 2) QTest::mouseClick(splash, Qt::RightButton);
        QTRY_VERIFY(splash.isNull());
    }
    QVERIFY(!QApplication::activeModalWidget());
}

void DialogsTest::messageBoxesAreTitledAndOwned() {
    ShellWorld world;
    FrameWindow frame;
    world.services->frame = &frame;
    QtUserFeedback feedback;
    QString title, text;
    QWidget* parent = nullptr;
    QMessageBox::StandardButton defaultButton{};
    whenModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        title = box->windowTitle();
        text = box->text();
        parent = box->parentWidget();
        defaultButton = box->standardButton(box->defaultButton());
        clickButton(box, QMessageBox::No);
    });
    MessageOwner owner = MessageOwner::frame();
    owner.defaultNo = true;
    // A path shows as the platform names files, not as an 8-bit database text.
    const std::filesystem::path path("/data/M\xc3\xbcller Fleet.tdb");
    QCOMPARE(feedback.showMessage(owner, formatMessage("Save '%s'?", path), MessageIcon::Question,
                                  MessageButtons::YesNo),
             MessageAnswer::No);
    QCOMPARE(title, QString("Tarn DataBase"));
    QCOMPARE(text, QString::fromUtf8("Save '/data/Müller Fleet.tdb'?"));
    QCOMPARE(parent, &frame);
    QCOMPARE(defaultButton, QMessageBox::No);
    QCOMPARE(ownerWidget(MessageOwner::none()), nullptr);
    QCOMPARE(ownerWidget(MessageOwner::of(&frame)), &frame);
}

void DialogsTest::progressWindowShowsBarAndStatus() {
    ShellWorld world;
    QWidget owner;
    owner.show();
    QtProgressUi ui;
    auto window = ui.create(ProgressUi::Kind::Progress, &owner);
    window->setCaption("Reading radio");
    window->update(40, "4000 bytes");
    QWidget* shown = shownWindow("Reading radio");
    QVERIFY(shown);
    QCOMPARE(shown->findChild<QProgressBar*>()->value(), 40);
    QCOMPARE(shown->findChild<QLabel*>()->text(), QString("4000 bytes"));
    auto printing = ui.create(ProgressUi::Kind::Printing, &owner);
    QCOMPARE(shownWindow("Printing")->findChild<QLabel*>()->text(), QString("Please wait..."));
}

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
