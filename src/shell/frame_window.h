#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QUrl>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

namespace tarn {

class DatabaseWindow;
class RadioLogWindow;

// The main window: menu bar, toolbar, and the MDI area that holds one DatabaseWindow
// per open database. Every command arrives here by number; the ones that concern one
// database are posted on to the current database window.
class FrameWindow final : public QMainWindow {
    Q_OBJECT
  public:
    FrameWindow();
    ~FrameWindow() override;

    void command(int id);
    QAction* menuAction(int id) const;  // the action (menu item, button, keys) of a command
    QMdiArea* mdiArea() const { return mdiArea_; }
    QMenu* fileMenu() const { return fileMenu_; }
    QMenu* windowMenu() const { return windowMenu_; }
    QToolBar* toolBar() const { return toolBar_; }
    QList<DatabaseWindow*> databaseWindows() const;
    DatabaseWindow* currentDatabaseWindow() const;
    // The status bar: the current window's last report (of a radio command), and its
    // selection ("3 of 412 selected").
    QString statusText() const;
    QString selectionText() const;
    void showStatus(const QString& text);
    // The "Radio log" window (one at most; null until the command first opens it).
    RadioLogWindow* radioLogWindow() const;

    // A new window on the file (or an untitled database without a path); null when the
    // path is too long. Shown maximised when asked, else shown plainly.
    DatabaseWindow* openDatabaseWindow(const std::optional<std::filesystem::path>& path,
                                       bool maximised);
    // Opens the file when it exists; a missing file is passed over silently.
    void openFileIfExists(const std::filesystem::path& path, bool first);
    // Files dropped on the frame, in drop order (more than 20 are asked about first).
    void openDroppedFiles(const QStringList& paths);
    // A path handed over by a second start of the program.
    void receiveHandover(const std::filesystem::path& path);
    // A second start brings the program to the top: the frame, and over it the dialog or
    // message box it has up (a window manager may otherwise put the frame over them).
    void comeToTop();

    // Rebuilds the recent-file items of the File menu; the posted form waits its turn.
    void rebuildRecentFiles();
    void postRecentFilesChanged();

    // How Help and Visit Website open a document or address (tests replace it).
    using UrlOpener = std::function<bool(const QUrl&)>;
    void setUrlOpener(UrlOpener opener) { urlOpener_ = std::move(opener); }
    static constexpr const char* kWebsite = "https://www.tarn-radio.example/";

  protected:
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void buildMenus();
    void buildToolBar();
    QAction* addItem(QMenu* menu, const char* text, int id, QList<QKeySequence> keys = {});
    void open();
    void openUrl(const QUrl& url, const QString& shown);
    void openBackupFolder();
    void tile(bool horizontal);
    void cascade();
    void placeCascaded(QMdiSubWindow* window, const QMdiSubWindow* previous);
    // "Tarn DataBase - [path]", "*" after the path while that database is modified: the
    // active window's, whatever the MDI area made of the title meanwhile.
    void showTitle();
    void fillWindowMenu();
    void buildStatusBar();
    void showStepNames();
    void showSelection();
    void followWindow(QMdiSubWindow* window);
    void showRadioLog();

    QMdiArea* mdiArea_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QMenu* windowMenu_ = nullptr;
    QList<QAction*> windowItems_;   // the Window menu's entries of the open windows
    QList<QAction*> recentItems_;   // the File menu's recent files, in menu order
    QAction* recentEnd_ = nullptr;  // the separator the recent files stand before
    std::map<int, QAction*> actions_;
    QLabel* statusLine_ = nullptr;
    QLabel* selectionLine_ = nullptr;
    QPointer<RadioLogWindow> radioLog_;
    UrlOpener urlOpener_;
};

}  // namespace tarn
