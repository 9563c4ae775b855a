// What every desktop test starts from: its world, a frame with a database window, helpers.
#pragma once

#include <QtTest>
#include <QtWidgets>

#include "database/client_database.h"
#include "model/client_record.h"
#include "model/services.h"
#include "settings/memory_settings_backend.h"
#include "shell/client_list.h"
#include "shell/commands.h"
#include "shell/database_window.h"
#include "shell/file_name_dialog.h"
#include "shell/frame_window.h"
#include "shell/qt_progress.h"
#include "shell/shell_services.h"
#include "sim/fake_radio_device.h"
#include "support/recording_ui.h"

namespace tarn::test {

using Texts = std::vector<std::string>;

inline void settle() {
    for (int i = 0; i < 10; ++i) QCoreApplication::processEvents();
}

// One test's world: settings in memory, recorded message boxes, scripted dialogs, and a
// temporary folder holding the data folder (backups stay out of the user's). All put back.
class ShellWorld {
  public:
    ShellWorld() : savedDataHome_(qgetenv("XDG_DATA_HOME")) {
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath("data")));
        services->settings = &settings;
        shell->askFileName = [this](QWidget*, std::filesystem::path& path, int kind) {
            askedKinds.push_back(static_cast<FileDialogKind>(kind));
            offeredNames.push_back(path);
            if (fileNames.empty()) return false;
            const std::optional<std::string> answer = fileNames.front();
            fileNames.erase(fileNames.begin());
            if (answer) path = *answer;
            return answer.has_value();
        };
        services->editClient = [this](ClientRecord& client, WindowHandle) {
            char name[kNameSize] = {};
            client.getName(name, kNameSize);
            editedClients.emplace_back(name);
            if (!editName.empty()) client.setName(editName.c_str());
            return editResult;
        };
    }
    ~ShellWorld() {
        settle();
        savedDataHome_.isNull() ? qunsetenv("XDG_DATA_HOME")
                                : qputenv("XDG_DATA_HOME", savedDataHome_);
    }

    ScopedServices services;  // put back after everything below is gone
    ScopedShellServices shell;
    MemorySettingsBackend settings;
    std::unique_ptr<RecordingUi> feedback = std::make_unique<RecordingUi>();
    QTemporaryDir dir;
    // Answers for the next file-name dialogs: a path confirms, nullopt cancels.
    std::vector<std::optional<std::string>> fileNames;
    std::vector<FileDialogKind> askedKinds;
    std::vector<std::string> offeredNames;  // the name each file dialog started with
    // Edit client dialog: the clients it opened on; answers `editResult`, renames to `editName`.
    std::vector<std::string> editedClients;
    int editResult = 1;
    std::string editName;

    std::string path(const std::string& name) const { return qpath(name).toStdString(); }
    QString qpath(const std::string& name) const {
        return dir.filePath(QString::fromStdString(name));
    }
    Texts messageTexts() const { return feedback->texts(); }
    void radio(const ClientRecord& memory, RadioFaults faults = {}) {
        auto monitor = std::make_shared<RadioMonitor>(faults);
        memory.copyImage(monitor->memory().data(), kImageSize);
        services->serialConnection = fakeRadioFactory(monitor, std::make_shared<VirtualClock>());
    }

  private:
    QByteArray savedDataHome_;
};

// Clients of these names, each with a selcall no other client of the test has.
inline void writeDatabase(const std::string& path, const Texts& names) {
    static int selcall = 999;
    ClientDatabase database(false);
    for (const std::string& name : names) {
        ClientRecord& client = *database.client(database.addClient());
        client.setName(name.c_str());
        client.setSelcall(std::to_string(selcall = 1000 + (selcall - 999) % 9000).c_str());
    }
    database.save(path);
}

inline QByteArray fileBytes(const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void writeFile(const std::string& path, const QByteArray& bytes) {
    QFile file(QString::fromStdString(path));
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
}

inline QStringList columnTexts(DatabaseWindow& window, int column) {
    QStringList texts;
    for (int row = 0; row < window.list().rowCount(); ++row)
        texts.append(window.list().model()->index(row, column).data().toString());
    return texts;
}

// The texts of a list's items, in order.
inline QStringList lines(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; list && i < list->count(); ++i) texts.append(list->item(i)->text());
    return texts;
}

inline void clickRow(DatabaseWindow& window, int row, Qt::KeyboardModifiers modifiers = {}) {
    const QRect cell = window.list().visualRect(window.list().model()->index(row, 0));
    QTest::mouseClick(window.list().viewport(), Qt::LeftButton, modifiers, cell.center());
}

// A shown frame with one window on "scene.tdb" of the clients `names`, messages cleared.
struct Scene {
    explicit Scene(ShellWorld& world, const Texts& names = {"A", "B", "C"}) {
        writeDatabase(world.path("scene.tdb"), names);
        frame.resize(900, 600);
        frame.show();
        window = frame.openDatabaseWindow(world.path("scene.tdb"), true);
        settle();
        world.feedback->clear();
    }
    void run(int id) {  // a window command and its posted work
        window->runCommand(id);
        settle();
    }
    void click(int row, Qt::KeyboardModifiers modifiers = {}) { clickRow(*window, row, modifiers); }
    QStringList column(int column) { return columnTexts(*window, column); }
    ClientDatabase& db() { return window->database(); }

    FrameWindow frame;
    DatabaseWindow* window = nullptr;
};

// Runs `act` on the next modal dialog that opens, the way a user answers it.
inline void whenModal(std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->deleteLater();
            timer->stop();
            // Acted on after the timer's turn, so a box the action opens gets its own.
            QMetaObject::invokeMethod(
                modal, [act, modal] { act(modal); }, Qt::QueuedConnection);
        }
    });
    timer->start(10);
}

}  // namespace tarn::test
