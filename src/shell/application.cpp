#include "shell/application.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QScreen>
#include <cstdio>

#include "settings/qt_settings_backend.h"
#include "settings/settings_store.h"
#include "shell/artwork.h"
#include "shell/frame_window.h"
#include "shell/help_file.h"
#include "shell/seams.h"
#include "shell/single_instance.h"
#include "shell/splash_screen.h"

namespace tarn {

QRect initialFrameGeometry(const QRect& screen) {
    const SettingsStore::Placement stored =
        settings().readWindowPlacement(screen.width(), screen.height());
    QSize size(stored.width, stored.height);
    if (stored.width <= 0 || stored.height <= 0) size = screen.size() * 3 / 4;
    return {QPoint(stored.left, stored.top), size};
}

std::unique_ptr<Program> Program::start(const QStringList& paths, const StartOptions& options) {
    const QString serverName =
        options.serverName.isEmpty() ? SingleInstance::defaultServerName() : options.serverName;
    // A program already runs: it comes to the top and opens our paths, one by one.
    if (SingleInstance::handOver(serverName, paths)) return nullptr;

    std::unique_ptr<Program> program(new Program);
    program->instance_ = std::make_unique<SingleInstance>(serverName);
    if (!program->instance_->listen()) return nullptr;  // another start beat us to it

    if (options.settings) {
        setSettingsBackend(options.settings);
    } else {
        program->ownSettings_ = std::make_unique<QtSettingsBackend>();
        setSettingsBackend(program->ownSettings_.get());
    }
    if (options.installSeams) installSeams();

    program->frame_ = std::make_unique<FrameWindow>();
    FrameWindow* frame = program->frame_.get();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect placement = initialFrameGeometry(screen);
    frame->move(placement.topLeft());  // the outer corner, as it was stored
    frame->resize(placement.size());
    settings().setRecentFilesChanged([frame] { frame->postRecentFilesChanged(); });
    program->instance_->setHandlers(
        [frame] {
            frame->raise();
            frame->activateWindow();
        },
        [frame](const std::string& path) { frame->receiveHandover(path); });

    frame->show();  // in its normal state, whatever state it was left in
    if (options.splash) SplashScreen::start(frame);

    if (!paths.isEmpty()) {
        // The first argument's window is maximised, even when a later file is the first
        // one that exists.
        for (int i = 0; i < paths.size(); ++i)
            frame->openFileIfExists(QFile::encodeName(paths[i]).toStdString(), i == 0);
    } else if (auto recent = settings().recentFile(0, false)) {
        frame->openDatabaseWindow(*recent, true);
    } else {
        frame->openDatabaseWindow(std::nullopt, true);
    }
    return program;
}

Program::~Program() {
    settings().setRecentFilesChanged(nullptr);
    frame_.reset();
    if (ownSettings_) setSettingsBackend(nullptr);
}

int runApplication(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tarn DataBase");
    QApplication::setWindowIcon(applicationIcon());
    // For checks of an installation: where Help finds the manual, without starting.
    if (qEnvironmentVariableIsSet("TARN_CHECK_MANUAL")) {
        const QString manual = findHelpFile(helpFolders());
        const bool found = QFileInfo(manual).isFile();
        std::fprintf(found ? stdout : stderr, "%s\n",
                     found ? qPrintable(manual) : "Failed to open \"Tarn.pdf\".");
        return found ? 0 : 1;
    }
    // Full paths, so a running program started elsewhere opens the same files, and each
    // window's title is its file's full path.
    QStringList paths;
    for (const QString& argument : QApplication::arguments().mid(1))
        paths.append(QFileInfo(argument).absoluteFilePath());
    std::unique_ptr<Program> program = Program::start(paths, {});
    if (!program) return 0;
    QApplication::exec();
    program.reset();
    return 0;  // the program always ends with 0
}

}  // namespace tarn
