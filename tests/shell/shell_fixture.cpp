#include "shell_fixture.h"

#include <QApplication>
#include <QFile>

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

}  // namespace tarn::test
