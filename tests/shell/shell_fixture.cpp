#include "shell_fixture.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QTimer>

#include "model/client_record.h"
#include "shell/client_list.h"
#include "shell/database_window.h"

namespace tarn::test {

ShellWorld::ShellWorld() : savedDataHome_(qgetenv("XDG_DATA_HOME")) {
    // The radio backups go to the temporary folder, never the user's own.
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath("data")));
    services->settings = &settings;
    services->askFileName = [this](WindowHandle, std::filesystem::path& path, int kind) {
        askedKinds.push_back(static_cast<FileDialogKind>(kind));
        offeredNames.push_back(path);
        if (fileNames_.empty()) return false;
        const std::optional<std::string> answer = fileNames_.front();
        fileNames_.erase(fileNames_.begin());
        if (!answer) return false;
        path = *answer;
        return true;
    };
    services->editClient = [this](ClientRecord& client, WindowHandle) {
        char name[kNameSize] = {};
        client.getName(name, kNameSize);
        editedClients.emplace_back(name);
        if (!editName.empty()) client.setName(editName.c_str());
        return editResult;
    };
}

ShellWorld::~ShellWorld() {
    settle();
    if (savedDataHome_.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", savedDataHome_);
}

void ShellWorld::scriptFileNames(std::vector<std::optional<std::string>> answers) {
    fileNames_ = std::move(answers);
}

std::string ShellWorld::path(const std::string& name) const {
    return dir.filePath(QString::fromStdString(name)).toStdString();
}

void ShellWorld::radio(const ClientRecord& memory, RadioFaults faults) {
    auto monitor = std::make_shared<RadioMonitor>(faults);
    memory.copyImage(monitor->memory().data(), kImageSize);
    services->serialConnection = fakeRadioFactory(monitor, std::make_shared<VirtualClock>());
}

Scene::Scene(ShellWorld& world, const Texts& names, bool maximized) {
    writeDatabase(world.path("scene.tdb"), names);
    frame.resize(900, 600);
    frame.show();
    window = frame.openDatabaseWindow(world.path("scene.tdb"), maximized);
    settle();
    world.feedback->clear();
}

void Scene::run(int id) {
    window->runCommand(id);
    settle();
}

void Scene::click(int row, Qt::KeyboardModifiers modifiers) {
    clickRow(*window, row, modifiers);
}
QStringList Scene::column(int column) {
    return columnTexts(*window, column);
}
ClientDatabase& Scene::db() {
    return window->database();
}

void settle() {
    for (int i = 0; i < 10; ++i) QCoreApplication::processEvents();
}

void writeDatabase(const std::string& path, const std::vector<std::string>& names) {
    ClientDatabase database(false);
    for (const std::string& name : names) {
        const int index = database.addClient();
        database.client(index)->setName(name.c_str());
    }
    database.save(path);
}

QByteArray fileBytes(const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const std::string& path, const QByteArray& bytes) {
    QFile file(QString::fromStdString(path));
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
}

QStringList columnTexts(DatabaseWindow& window, int column) {
    QStringList texts;
    ClientList& list = window.list();
    for (int row = 0; row < list.rowCount(); ++row)
        texts.append(list.model()->index(row, column).data().toString());
    return texts;
}

void clickRow(DatabaseWindow& window, int row, Qt::KeyboardModifiers modifiers) {
    ClientList& list = window.list();
    const QRect cell = list.visualRect(list.model()->index(row, 0));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, modifiers, cell.center());
}

void whenModal(std::function<void(QWidget*)> act, bool boxOnly) {
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

}  // namespace tarn::test
