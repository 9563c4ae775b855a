#pragma once

#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "database/client_database.h"
#include "model/services.h"
#include "settings/memory_settings_backend.h"
#include "shell/file_name_dialog.h"
#include "shell/frame_window.h"
#include "sim/fake_radio_device.h"
#include "support/recording_ui.h"

namespace tarn {
class DatabaseWindow;
}

namespace tarn::test {

using Texts = std::vector<std::string>;

// One test's world: settings in memory, recorded message boxes, scripted file-name dialogs
// and edit client dialogs, a temporary folder (which holds the data folder). Everything is
// put back after. Tests change further services (a radio, the Help command) through `services`.
class ShellWorld {
  public:
    ShellWorld();
    ~ShellWorld();

    ScopedServices services;  // put back after everything below is gone
    MemorySettingsBackend settings;
    std::unique_ptr<RecordingUi> feedback = std::make_unique<RecordingUi>();
    QTemporaryDir dir;

    // Answers for the next file-name dialogs: a path confirms, nullopt cancels.
    void scriptFileNames(std::vector<std::optional<std::string>> answers);
    std::vector<FileDialogKind> askedKinds;
    std::vector<std::string> offeredNames;  // the name each file dialog started with
    // Names of the clients the edit client dialog was opened on; it answers `editResult`
    // and renames the client to `editName` when that is not empty.
    std::vector<std::string> editedClients;
    int editResult = 1;
    std::string editName;

    std::string path(const std::string& name) const;  // a path inside the temporary folder
    QString qpath(const std::string& name) const { return QString::fromStdString(path(name)); }
    Texts messageTexts() const { return feedback->texts(); }
    // A fake radio holding `memory` (with these faults) on the port.
    void radio(const ClientRecord& memory, RadioFaults faults = {});

  private:
    std::vector<std::optional<std::string>> fileNames_;
    QByteArray savedDataHome_;
};

// A shown 900x600 frame with one window on "scene.tdb" holding the clients `names`; the
// messages of opening it are cleared.
struct Scene {
    explicit Scene(ShellWorld& world, const Texts& names = {"A", "B", "C"}, bool maximized = true);
    void run(int id);  // runs a window command and its posted work
    void click(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    QStringList column(int column);
    ClientDatabase& db();

    FrameWindow frame;
    DatabaseWindow* window = nullptr;
};

// Lets posted work (commands, refills, menu rebuilds) run, chains included.
void settle();

// Writes a database file of the given clients (names; the rest at the defaults).
void writeDatabase(const std::string& path, const std::vector<std::string>& names);
QByteArray fileBytes(const std::string& path);
void writeFile(const std::string& path, const QByteArray& bytes);

// The texts of one column of a database window's list, in display order.
QStringList columnTexts(DatabaseWindow& window, int column);
// Clicks row `row` of the list, with the given keyboard modifiers.
void clickRow(DatabaseWindow& window, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// Runs `act` on the next modal dialog that opens (the way a user answers it); with
// `boxOnly`, on the next message box.
void whenModal(std::function<void(QWidget*)> act, bool boxOnly = false);

}  // namespace tarn::test
