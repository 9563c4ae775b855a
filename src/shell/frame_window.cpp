#include "shell/frame_window.h"
#include "shell/fleet_dialogs.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

#include "database/output_guard.h"
#include "database/radio_backups.h"
#include "model/message_texts.h"
#include "model/user_feedback.h"
#include "qtcommon/ansi_text.h"
#include "qtcommon/file_path.h"
#include "settings/settings_store.h"
#include "shell/about_dialog.h"
#include "shell/artwork.h"
#include "shell/client_list.h"
#include "shell/commands.h"
#include "shell/context_help.h"
#include "shell/database_window.h"
#include "shell/file_name_dialog.h"
#include "shell/help_file.h"
#include "shell/options_dialog.h"
#include "shell/port_dialog.h"
#include "shell/print_options_dialog.h"
#include "shell/radio_log_window.h"
#include "shell/window_arrangement.h"

namespace tarn {
namespace {

constexpr int kDropQuestionLimit = 20;
constexpr const char* kFrameTitle = "Tarn DataBase";
constexpr const char* kLastReport = "lastReport";  // each database window's, for the status bar

// "&Undo\tCtrl-Z", or with the step named: "&Undo Read radio into 'X'\tCtrl-Z".
QString stepItemText(const char* verb, const char* keys, QString step) {
    const QString named = step.isEmpty() ? "" : " " + step.replace('&', "&&");
    return QString("&%1%2\t%3").arg(verb, named, keys);
}

// Two paths name the same file as the platform compares names: Windows ignores letter
// case, POSIX file systems do not.
bool samePath(const QString& a, const QString& b) {
#ifdef Q_OS_WIN
    return a.compare(b, Qt::CaseInsensitive) == 0;
#else
    return a == b;
#endif
}

}  // namespace

FrameWindow::FrameWindow() {
    setWindowTitle(kFrameTitle);
    setWindowIcon(applicationIcon());
    setAcceptDrops(true);
    urlOpener_ = [](const QUrl& url) { return QDesktopServices::openUrl(url); };

    // The MDI area sits two pixels below the toolbar.
    auto* client = new QWidget(this);
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 2, 0, 0);
    mdiArea_ = new QMdiArea(client);
    mdiArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    layout->addWidget(mdiArea_);
    setCentralWidget(client);

    buildMenus();
    buildToolBar();
    buildStatusBar();
    connect(mdiArea_, &QMdiArea::subWindowActivated, this, &FrameWindow::followWindow);
    postRecentFilesChanged();
    installContextHelp();  // F1 in every dialog and message box
}

FrameWindow::~FrameWindow() {
    // The windows close as the frame goes; its status bar and menus may be gone by then.
    mdiArea_->disconnect(this);
    for (DatabaseWindow* window : databaseWindows()) {
        window->disconnect(this);
        window->removeEventFilter(this);
    }
}

QAction* FrameWindow::addItem(QMenu* menu, const char* text, int id, QList<QKeySequence> keys) {
    // One action per command: the menu item, the toolbar button and the keys. The text
    // carries its own key name after the tab, so the menu shows exactly that text.
    auto* action = new QAction(QString::fromUtf8(text), this);
    action->setData(id);
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    action->setIconVisibleInMenu(false);
    connect(action, &QAction::triggered, this, [this, id] { command(id); });
    menu->addAction(action);
    addAction(action);  // the keys work wherever the focus is in the frame
    actions_[id] = action;
    return action;
}

void FrameWindow::buildMenus() {
    using K = QKeySequence;
    QMenu* file = fileMenu_ = menuBar()->addMenu("&File");
    addItem(file, "&New\tCtrl-N", cmd::New, {K(Qt::CTRL | Qt::Key_N)});
    addItem(file, "&Open\tCtrl-O", cmd::Open, {K(Qt::CTRL | Qt::Key_O)});
    addItem(file, "&Save\tCtrl-S", cmd::Save, {K(Qt::CTRL | Qt::Key_S)});
    addItem(file, "Save &as", cmd::SaveAs);
    addItem(file, "&Close\tCtrl-F4", cmd::Close, {K(Qt::CTRL | Qt::Key_F4)});
    file->addSeparator();
    addItem(file, "&Export", cmd::Export);
    addItem(file, "&Import\u2026", cmd::Import);
    addItem(file, "Print op&tions\u2026", cmd::EditPrintOptions);
    addItem(file, "Print &selected\u2026", cmd::PrintSelected);
    addItem(file, "Open &backup folder", cmd::OpenBackupFolder);
    file->addSeparator();
    recentEnd_ = file->addSeparator();  // the recent files go before it (rebuildRecentFiles)
    addItem(file, "E&xit\tAlt-F4", cmd::Exit);

    QMenu* edit = menuBar()->addMenu("&Edit");
    addItem(edit, "&Undo\tCtrl-Z", cmd::Undo, {K(Qt::CTRL | Qt::Key_Z)});
    addItem(edit, "&Redo\tCtrl-Y", cmd::Redo, {K(Qt::CTRL | Qt::Key_Y)});
    edit->addSeparator();
    addItem(edit, "&Copy\tCtrl-C", cmd::Copy, {K(Qt::CTRL | Qt::Key_C)});
    addItem(edit, "&Paste\tCtrl-V", cmd::Paste, {K(Qt::CTRL | Qt::Key_V)});

    QMenu* client = menuBar()->addMenu("&Client");
    addItem(client, "&New\tINS", cmd::NewClient, {K(Qt::Key_Insert)});
    // Return edits only from a client list (each list adds this action), so that it
    // still reaches the controls that take it.
    addItem(client, "&Edit\tCR", cmd::EditClient, {K(Qt::Key_Return), K(Qt::Key_Enter)})
        ->setShortcutContext(Qt::WidgetShortcut);
    addItem(client, "&Delete\tDel", cmd::DeleteClient, {K(Qt::Key_Delete)});
    client->addSeparator();
    addItem(client, "Make &advanced\tF8", cmd::MakeAdvanced, {K(Qt::Key_F8)});
    addItem(client, "Make &standard\tF9", cmd::MakeStandard, {K(Qt::Key_F9)});
    addItem(client, "Apply &channels\u2026", cmd::ApplyChannels);
    addItem(client, "Number &selcalls\u2026", cmd::NumberSelcalls);
    client->addSeparator();
    addItem(client, "&Print client\tCtrl-P", cmd::PrintClient, {K(Qt::CTRL | Qt::Key_P)});
    addItem(client, "Print s&ummary", cmd::PrintSummary);
    addItem(client, "Print &all", cmd::PrintAll);
    addItem(client, "Print pre&view", cmd::PrintPreview);
    client->addSeparator();
    addItem(client, "&Write\tF5", cmd::WriteRadio, {K(Qt::Key_F5)});
    addItem(client, "&Read\tF6", cmd::ReadRadio, {K(Qt::Key_F6)});
    addItem(client, "&Compare with radio", cmd::CompareRadio);
    addItem(client, "&Identify radio", cmd::IdentifyRadio);
    addItem(client, "Program &selected radios...", cmd::ProgramSelected);
    addItem(client, "&History...", cmd::ClientHistory);

    QMenu* setup = menuBar()->addMenu("&Setup");
    addItem(setup, "&Radio port", cmd::RadioPort);
    addItem(setup, "&Edit dealer", cmd::EditDealer);
    addItem(setup, "Radio &log", cmd::ShowRadioLog);
    addItem(setup, "&Options...", cmd::EditOptions);

    QMenu* window = windowMenu_ = menuBar()->addMenu("&Window");
    addItem(window, "Cascade", cmd::Cascade);
    addItem(window, "Tile &Horizontal", cmd::TileHorizontal);
    addItem(window, "Tile &Vertical", cmd::TileVertical);
    window->addSeparator();
    addItem(window, "&Next", cmd::NextWindow, {K(Qt::CTRL | Qt::Key_Tab)});
    addItem(window, "&Previous", cmd::PreviousWindow,
            {K(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), K(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab)});
    connect(window, &QMenu::aboutToShow, this, &FrameWindow::fillWindowMenu);

    QMenu* help = menuBar()->addMenu("&Help");
    addItem(help, "&About...", cmd::About);
    addItem(help, "&Help", cmd::Help);
    addItem(help, "&Contents\tF1", cmd::HelpContents, {K(Qt::Key_F1)});
    addItem(help, "Visit &Website", cmd::VisitWebsite);
}

void FrameWindow::buildToolBar() {
    struct Entry {
        int image, id;
        const char* tip;
    };
    static const Entry entries[] = {
        {0, cmd::New, "Create new database file"},
        {1, cmd::Open, "Open existing database file"},
        {2, cmd::Save, "Save database file"},
        {-1, 0, nullptr},
        {3, cmd::PrintClient, "Print selected client data"},
        {-1, 0, nullptr},
        {4, cmd::Copy, "Copy the selected client(s) to the clipboard"},
        {5, cmd::Paste, "Paste client(s) from the clipboard"},
        {-1, 0, nullptr},
        {6, cmd::NewClient, "Add a new client to the database"},
        {7, cmd::EditClient, "Edit the selected client"},
        {8, cmd::DeleteClient, "Delete the selected client from the database"},
        {-1, 0, nullptr},
        {9, cmd::WriteRadio, "Write the selected client data to the radio"},
        {10, cmd::ReadRadio, "Read the radio and store in the selected client data"},
        {-1, 0, nullptr},
        {11, cmd::Help, "Open help file"},
    };
    toolBar_ = new QToolBar("Toolbar", this);
    toolBar_->setObjectName("ToolbarWindow32");
    toolBar_->setMovable(false);
    toolBar_->setFloatable(false);
    toolBar_->setIconSize(QSize(kToolbarImageWidth, kToolbarImageHeight));
    toolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolBar_->toggleViewAction()->setEnabled(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    for (const Entry& entry : entries) {
        if (entry.image < 0) {
            toolBar_->addSeparator();
            continue;
        }
        QAction* action = actions_.at(entry.id);
        action->setIcon(QIcon(toolbarImage(entry.image)));
        action->setToolTip(entry.tip);
        toolBar_->addAction(action);
    }
    addToolBar(Qt::TopToolBarArea, toolBar_);
}

void FrameWindow::buildStatusBar() {
    statusLine_ = new QLabel(this);
    selectionLine_ = new QLabel(this);
    // Widgets rather than showMessage: menu hints would wipe a message, not a label.
    statusBar()->addWidget(statusHelpButton(statusLine_));
    statusBar()->addWidget(statusLine_, 1);
    statusBar()->addPermanentWidget(selectionLine_);
}

QString FrameWindow::statusText() const {
    return statusLine_->text();
}

QString FrameWindow::selectionText() const {
    return selectionLine_->text();
}

void FrameWindow::showStatus(const QString& text) {
    statusLine_->setText(text);
    statusLine_->setToolTip(text);  // the whole line where the window cuts it
}

void FrameWindow::showSelection() {
    const DatabaseWindow* window = currentDatabaseWindow();
    selectionLine_->setText(window ? window->selectionText() : QString());
}

void FrameWindow::showStepNames() {
    // Without a database window the items name no step (and do nothing).
    const DatabaseWindow* window = currentDatabaseWindow();
    const UndoHistory* history = window ? &window->document().history() : nullptr;
    const auto name = [](const std::string& step) { return fromAnsi(step); };
    actions_.at(cmd::Undo)->setText(
        stepItemText("Undo", "Ctrl-Z", history ? name(history->undoName()) : QString()));
    actions_.at(cmd::Redo)->setText(
        stepItemText("Redo", "Ctrl-Y", history ? name(history->redoName()) : QString()));
}

void FrameWindow::followWindow(QMdiSubWindow* sub) {
    auto* window = qobject_cast<DatabaseWindow*>(sub);
    showStepNames();
    showSelection();
    showStatus(window ? window->property(kLastReport).toString() : QString());
    showTitle();
    // The keys work at once: the list takes the focus unless the user put it elsewhere
    // in that window (a click on its Find field activates it too).
    if (window && !window->isAncestorOf(QApplication::focusWidget())) window->list().setFocus();
}

void FrameWindow::showTitle() {
    const DatabaseWindow* window = currentDatabaseWindow();
    QString title = kFrameTitle;
    if (window) title += " - [" + displayPath(window->fileName()) + "[*]]";
    if (windowTitle() != title) setWindowTitle(title);
    const bool modified = window && window->isWindowModified();
    if (isWindowModified() != modified) setWindowModified(modified);
}

void FrameWindow::changeEvent(QEvent* event) {
    // A maximised window writes its own title into the frame's and keeps it when another
    // window comes and goes; the frame's title is always put back to the active one.
    QMainWindow::changeEvent(event);
    if (mdiArea_ &&
        (event->type() == QEvent::WindowTitleChange || event->type() == QEvent::ModifiedChange))
        showTitle();
}

bool FrameWindow::eventFilter(QObject* watched, QEvent* event) {
    if ((event->type() == QEvent::WindowTitleChange || event->type() == QEvent::ModifiedChange) &&
        watched == currentDatabaseWindow())
        showTitle();
    return QMainWindow::eventFilter(watched, event);
}

RadioLogWindow* FrameWindow::radioLogWindow() const {
    return radioLog_;
}

void FrameWindow::showRadioLog() {
    if (!radioLog_) radioLog_ = new RadioLogWindow(this);
    radioLog_->show();
    radioLog_->raise();
    radioLog_->activateWindow();
}

QAction* FrameWindow::menuAction(int id) const {
    auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

QList<DatabaseWindow*> FrameWindow::databaseWindows() const {
    QList<DatabaseWindow*> windows;
    for (QMdiSubWindow* sub : mdiArea_->subWindowList(QMdiArea::CreationOrder))
        if (auto* window = qobject_cast<DatabaseWindow*>(sub)) windows.append(window);
    return windows;
}

DatabaseWindow* FrameWindow::currentDatabaseWindow() const {
    return qobject_cast<DatabaseWindow*>(mdiArea_->currentSubWindow());
}

void FrameWindow::command(int id) {
    if (cmd::isDatabaseCommand(id)) {
        // Posted: the database window handles it after the frame's current work.
        if (DatabaseWindow* window = currentDatabaseWindow()) window->postCommand(id);
        return;
    }
    if (id >= cmd::RecentFile1 && id <= cmd::RecentFile4) {
        if (auto path = settings().recentFile(id - cmd::RecentFile1, false))
            openDatabaseWindow(*path, false);
        return;
    }
    switch (id) {
        case cmd::New:
            openDatabaseWindow(std::nullopt, false);
            break;
        case cmd::Open:
            open();
            break;
        case cmd::Exit:
            QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
            break;
        case cmd::Cascade:
            cascade();
            break;
        case cmd::TileHorizontal:
            tile(true);
            break;
        case cmd::TileVertical:
            tile(false);
            break;
        case cmd::NextWindow:
            mdiArea_->activateNextSubWindow();
            break;
        case cmd::PreviousWindow:
            mdiArea_->activatePreviousSubWindow();
            break;
        case cmd::About:
            showAboutDialog(this);
            break;
        case cmd::RadioPort:
            showPortDialog(this);
            break;
        case cmd::ShowRadioLog:
            showRadioLog();
            break;
        case cmd::IdentifyRadio:
            return identifyRadio(*this);
        case cmd::OpenBackupFolder:
            openBackupFolder();
            break;
        case cmd::EditPrintOptions:
            showPrintOptionsDialog(this);
            break;
        case cmd::EditOptions:
            showOptionsDialog(this);
            break;
        case cmd::Help:
            openHelpFile(findHelpFile(helpFolders()), urlOpener_,
                         [frame = QPointer<FrameWindow>(this)](const std::string& failure) {
                             if (frame && !failure.empty())
                                 showError(MessageOwner::frame(), failure);
                         });
            break;
        case cmd::HelpContents:
            openHelp({});
            break;
        case cmd::VisitWebsite:
            openUrl(QUrl(kWebsite), kWebsite);
            break;
        default:
            break;
    }
}

DatabaseWindow* FrameWindow::openDatabaseWindow(const std::optional<std::filesystem::path>& path,
                                                bool maximised) {
    if (path && !pathFits(*path, MessageOwner::of(this))) return nullptr;
    auto* window = new DatabaseWindow(path);
    if (path && window->document().untitled()) {  // another program edits it: not opened
        delete window;
        return nullptr;
    }
    window->list().addAction(actions_.at(cmd::EditClient));  // Return on the list
    window->installEventFilter(this);
    connect(window, &DatabaseWindow::documentChanged, this, [this, window] {
        if (window == currentDatabaseWindow()) showStepNames();
    });
    connect(window, &DatabaseWindow::radioReported, this, [this, window](const QString& text) {
        window->setProperty(kLastReport, text);
        if (window == currentDatabaseWindow()) showStatus(text);
    });
    connect(window, &DatabaseWindow::selectionCountChanged, this, [this, window] {
        if (window == currentDatabaseWindow()) showSelection();
    });
    QMdiSubWindow* previous = mdiArea_->activeSubWindow();
    mdiArea_->addSubWindow(window);
    // A new window opens maximised when the current one is (the MDI area sees to that).
    if (maximised) {
        window->showMaximized();
    } else {
        window->show();
        if (!window->isMaximized()) placeCascaded(window, previous);
    }
    window->list().setFocus();
    return window;
}

void FrameWindow::placeCascaded(QMdiSubWindow* window, const QMdiSubWindow* previous) {
    // One title bar right and down from the active window, else the first cascade place
    // no other window's corner holds; made smaller where it would leave the area.
    const int step = window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
    QList<QPoint> taken;
    for (const QMdiSubWindow* other : mdiArea_->subWindowList())
        if (other != window && other->isVisible() && !other->isMinimized())
            taken.append(other->pos());
    const QPoint after = previous ? previous->pos() : QPoint();
    const QSize area = mdiArea_->viewport()->size();
    window->setGeometry(newWindowRect(area, window->sizeHint(), area / 2, step,
                                      previous && !previous->isMinimized() ? &after : nullptr,
                                      taken));
}

void FrameWindow::cascade() {
    // Every window inside the area with its title bar and buttons in view, the active
    // one last and on top.
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* window : mdiArea_->subWindowList())
        if (window->isVisible() && !window->isMinimized()) windows.append(window);
    if (windows.isEmpty()) return;
    QMdiSubWindow* active = mdiArea_->activeSubWindow();
    if (windows.removeOne(active)) windows.append(active);
    const int step =
        windows[0]->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, windows[0]);
    const QSize area = mdiArea_->viewport()->size();
    const QList<QRect> rects = cascadeRects(area, static_cast<int>(windows.size()), step, area / 2);
    for (qsizetype i = 0; i < windows.size(); ++i) {
        if (windows[i]->isMaximized()) windows[i]->showNormal();
        windows[i]->setGeometry(rects[i]);
        windows[i]->raise();
    }
}

void FrameWindow::openFileIfExists(const std::filesystem::path& path, bool first) {
    // Anything there but a folder: a FIFO or a device gets the reader's message.
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (std::filesystem::exists(status) && !std::filesystem::is_directory(status))
        openDatabaseWindow(path, first);
}

void FrameWindow::receiveHandover(const std::filesystem::path& path) {
    openFileIfExists(path, false);
}

void FrameWindow::comeToTop() {
    QList<QWidget*> windows;  // the modal chain from the frame up to the box in front
    for (QWidget* window = QApplication::activeModalWidget(); window;
         window = window->parentWidget() ? window->parentWidget()->window() : nullptr)
        windows.prepend(window);
    if (windows.isEmpty() || windows.front() != this) windows.prepend(this);
    for (QWidget* window : windows) window->raise();
    windows.back()->activateWindow();
}

void FrameWindow::open() {
    std::filesystem::path path;
    if (!askFileName(this, path, FileDialogKind::OpenDatabase)) return;
    const QString wanted = displayPath(path);
    for (DatabaseWindow* window : databaseWindows()) {
        if (samePath(displayPath(window->fileName()), wanted)) {
            mdiArea_->setActiveSubWindow(window);
            return;
        }
    }
    // The window puts the file on the recent-file list once it has read it.
    openDatabaseWindow(path, false);
}

void FrameWindow::openDroppedFiles(const QStringList& paths) {
    const auto count = static_cast<long long>(paths.size());
    if (count > kDropQuestionLimit &&
        !askYesNo(MessageOwner::frame(), formatMessage(msg::kOpenManyFiles, count)))
        return;
    for (const QString& path : paths) openDatabaseWindow(pathFromQt(path), false);
}

void FrameWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void FrameWindow::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) paths.append(url.toLocalFile());
    event->acceptProposedAction();
    openDroppedFiles(paths);
}

void FrameWindow::openUrl(const QUrl& url, const QString& shown) {
    // A missing help file is a failure even where the desktop would open something.
    const bool missing = url.isLocalFile() && !QFileInfo::exists(url.toLocalFile());
    if (missing || !urlOpener_(url))
        showError(MessageOwner::frame(),
                  formatMessage(msg::kFailedToOpen, std::string_view(shown.toStdString())));
}

void FrameWindow::openBackupFolder() {
    const std::filesystem::path folder = backupFolder();
    if (folder.empty()) return showError(MessageOwner::frame(), msg::kNoBackupFolder);
    // A file manager shows nothing for a folder that is not there yet.
    if (const std::error_code error = createBackupFolder(folder))
        return showError(
            MessageOwner::frame(),
            formatMessage(msg::kBackupFolderNotCreated, folder) + " (" + error.message() + ").");
    openUrl(QUrl::fromLocalFile(displayPath(folder)), displayPath(folder));
}

void FrameWindow::tile(bool horizontal) {
    // Horizontal tiling stacks the windows one above the other; vertical sets them side by side.
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* window : mdiArea_->subWindowList())
        if (!window->isMinimized()) windows.append(window);
    if (windows.isEmpty()) return;
    const QRect area = mdiArea_->viewport()->rect();
    const auto n = static_cast<int>(windows.size());
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow* window = windows[i];
        if (window->isMaximized()) window->showNormal();
        if (horizontal) {
            const int top = area.height() * i / n, bottom = area.height() * (i + 1) / n;
            window->setGeometry(0, top, area.width(), bottom - top);
        } else {
            const int left = area.width() * i / n, right = area.width() * (i + 1) / n;
            window->setGeometry(left, 0, right - left, area.height());
        }
    }
}

void FrameWindow::fillWindowMenu() {
    for (QAction* item : windowItems_) {
        windowMenu_->removeAction(item);
        item->deleteLater();
    }
    windowItems_.clear();
    const QList<DatabaseWindow*> windows = databaseWindows();
    if (windows.isEmpty()) return;
    windowItems_.append(windowMenu_->addSeparator());
    int number = 1;
    for (DatabaseWindow* window : windows) {
        QAction* item =
            windowMenu_->addAction(QString("&%1 %2").arg(number++).arg(window->shownTitle()));
        // Only the active window carries a check mark (and so a check box).
        const bool active = window == currentDatabaseWindow();
        item->setCheckable(active);
        item->setChecked(active);
        connect(item, &QAction::triggered, this,
                [this, window] { mdiArea_->setActiveSubWindow(window); });
        windowItems_.append(item);
    }
}

void FrameWindow::postRecentFilesChanged() {
    QMetaObject::invokeMethod(this, &FrameWindow::rebuildRecentFiles, Qt::QueuedConnection);
}

void FrameWindow::rebuildRecentFiles() {
    for (QAction* item : recentItems_) {
        fileMenu_->removeAction(item);
        actions_.erase(item->data().toInt());
        item->deleteLater();
    }
    recentItems_.clear();
    // In rising order between the separator after "&Import…" and the one before "E&xit".
    for (int index = 0; index < kRecentFileLimit; ++index) {
        const auto name = settings().recentFile(index, true);
        if (!name) continue;
        // The store cuts at the last backslash; paths here also use forward slashes.
        const QString shown = displayPath(*name).section('/', -1);
        const int id = cmd::RecentFile1 + index;
        auto* item = new QAction(QString("&%1. %2").arg(index + 1).arg(shown), fileMenu_);
        item->setData(id);
        connect(item, &QAction::triggered, this, [this, id] { command(id); });
        fileMenu_->insertAction(recentEnd_, item);
        actions_[id] = item;
        recentItems_.append(item);
    }
}

void FrameWindow::closeEvent(QCloseEvent* event) {
    // The outer corner of the normal rectangle, which is where start-up puts it back.
    const QRect normal = normalGeometry();
    const QPoint corner = normal.topLeft() - (geometry().topLeft() - frameGeometry().topLeft());
    settings().writeWindowPlacement({corner.x(), corner.y(), normal.width(), normal.height()});
    bool allClosed = true;
    // Each window is the active one, named in the title, while it asks about saving.
    for (DatabaseWindow* window : databaseWindows()) {
        mdiArea_->setActiveSubWindow(window);
        if (!window->close()) allClosed = false;
    }
    // A database whose save failed or was cancelled keeps its window, and the program
    // stays open rather than throw those changes away.
    if (!allClosed) {
        event->ignore();
        return;
    }
    event->accept();
}

}  // namespace tarn
