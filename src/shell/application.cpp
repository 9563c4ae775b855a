#include "shell/application.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QScreen>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <ctime>

#include "database/radio_backups.h"
#include "model/message_texts.h"
#include "model/user_feedback.h"
#include "qtcommon/file_path.h"
#include "settings/qt_settings_backend.h"
#include "settings/settings_store.h"
#include "shell/artwork.h"
#include "shell/command_line.h"
#include "shell/commands.h"
#include "shell/frame_window.h"
#include "shell/help_file.h"
#include "shell/qt_progress.h"
#include "shell/seams.h"
#include "shell/single_instance.h"
#include "shell/splash_screen.h"
#include "shell/title_bar_style.h"

namespace tarn {

QRect initialFrameGeometry(const QRect& screen) {
    const SettingsStore::Placement stored =
        settings().readWindowPlacement(screen.width(), screen.height());
    QSize size(stored.width, stored.height);
    if (stored.width <= 0 || stored.height <= 0) size = screen.size() * 3 / 4;
    return {QPoint(stored.left, stored.top), size};
}

std::unique_ptr<Program> Program::start(const std::vector<std::filesystem::path>& paths,
                                        const StartOptions& options) {
    const QString serverName =
        options.serverName.isEmpty() ? SingleInstance::defaultServerName() : options.serverName;
    std::unique_ptr<Program> program(new Program);
    program->instance_ = std::make_unique<SingleInstance>(serverName);
    // A program already runs: it comes to the top and opens our paths, one by one. One
    // that is still starting gets a little time; a hung one is passed by.
    for (QDeadlineTimer deadline(options.reachTimeoutMs);;) {
        const int wait = static_cast<int>(std::max<qint64>(100, deadline.remainingTime()));
        if (SingleInstance::handOver(serverName, paths, wait)) return nullptr;
        if (program->instance_->listen() || deadline.hasExpired()) break;
        QThread::msleep(100);
    }

    program->services_ = std::make_unique<ScopedServices>();
    program->shellServices_ = std::make_unique<ScopedShellServices>();
    Services& services = **program->services_;
    ShellServices& shell = **program->shellServices_;
    if (options.settings) {
        services.settings = options.settings;
    } else {
        program->ownSettings_ = std::make_unique<QtSettingsBackend>();
        services.settings = program->ownSettings_.get();
    }
    if (options.installSeams) addQtSeams(services, shell);
    // Backups past "Backup Days" go once per start, without a word (and at each radio
    // command).
    pruneBackups(backupFolder(), settings().backupDays(), std::time(nullptr));

    program->frame_ = std::make_unique<FrameWindow>();
    FrameWindow* frame = program->frame_.get();
    shell.frame = frame;
    // The edit client dialog's Help button is the frame's Help command (posted there, so
    // it may arrive after the frame is gone).
    shell.help = [frame = QPointer<FrameWindow>(frame)] {
        if (frame) frame->command(cmd::Help);
    };
    services.recentFilesChanged = [frame] { frame->postRecentFilesChanged(); };
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect placement = initialFrameGeometry(screen);
    frame->move(placement.topLeft());  // the outer corner, as it was stored
    frame->resize(placement.size());
    // A handed-over file waits while a long operation runs or a dialog or box is up, so
    // that its own box never covers theirs; the frame stays under a progress window.
    program->instance_->setHandlers(
        [frame] {
            if (!longOperationRunning()) frame->comeToTop();
        },
        [frame](const std::filesystem::path& path) { frame->receiveHandover(path); },
        [] { return longOperationRunning() || QApplication::activeModalWidget(); });

    frame->show();  // in its normal state, whatever state it was left in
    if (options.splash) SplashScreen::start(frame);

    if (!paths.empty()) {
        // The first argument's window is maximised, even when a later file is the first
        // one that exists.
        for (std::size_t i = 0; i < paths.size(); ++i) frame->openFileIfExists(paths[i], i == 0);
    } else if (auto recent = settings().recentFile(0, false)) {
        frame->openDatabaseWindow(*recent, true);
    } else {
        frame->openDatabaseWindow(std::nullopt, true);
    }
    return program;
}

Program::~Program() {
    frame_.reset();
    services_.reset();  // before the settings it points at
}

int runApplication(int argc, char** argv) {
    QApplication app(argc, argv);  // takes Qt's own options out of argv
    processCommandLine(app);
    // Docks and task bars group the window with its desktop entry and icon.
    QGuiApplication::setDesktopFileName(TARN_DESKTOP_ID);
    QApplication::setWindowIcon(applicationIcon());
    // The platform's style, with the file name first in the title bars of database windows.
    QApplication::setStyle(new TitleBarStyle);
    // For checks of an installation: where Help finds the manual, without starting.
    if (qEnvironmentVariableIsSet("TARN_CHECK_MANUAL")) {
        const QString manual = findHelpFile(helpFolders());
        const bool found = QFileInfo(manual).isFile();
        std::fprintf(
            found ? stdout : stderr, "%s\n",
            found ? qPrintable(manual)
                  : formatMessage(msg::kFailedToOpen, std::string_view(kHelpFileName)).c_str());
        return found ? 0 : 1;
    }
    std::unique_ptr<Program> program = Program::start(fileArguments(argc, argv), {});
    if (!program) return 0;
    QApplication::exec();
    program.reset();
    return 0;  // the program always ends with 0
}

}  // namespace tarn
