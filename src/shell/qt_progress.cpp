#include "shell/qt_progress.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QScreen>
#include <QWindow>

#include "qtcommon/ansi_text.h"
#include "shell/font_dialog_units.h"
#include "shell/user_input.h"

namespace tarn {
namespace {

// What the user does while a long operation runs is thrown away, not kept for later: the
// operation cannot be interrupted, and a click on New or a Ctrl+F4 carried out after a
// radio write would surprise. Only a modal box shown meanwhile still takes input.
class InputDiscarder final : public QObject {
  public:
    void begin() {
        if (depth_++ == 0) qApp->installEventFilter(this);
    }
    void end() {
        if (depth_ == 0) return;
        if (depth_ == 1) QApplication::processEvents();  // what came in last goes too
        if (--depth_ == 0) qApp->removeEventFilter(this);
    }
    bool active() const { return depth_ > 0; }

  protected:
    bool eventFilter(QObject* target, QEvent* event) override {
        return isUserInput(event) && !insideModal(target);
    }

  private:
    static bool insideModal(QObject* target) {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) return false;
        if (auto* widget = qobject_cast<QWidget*>(target))
            return modal->isAncestorOf(widget) || widget == modal;
        return target == static_cast<QObject*>(modal->windowHandle());
    }

    int depth_ = 0;
};

InputDiscarder& inputDiscarder() {
    static InputDiscarder discarder;
    return discarder;
}

// Lets the window repaint while the main thread is busy; input is discarded meanwhile.
void keepPainting() {
    QApplication::processEvents();
}

// A caption without a close box, centred over the screen, visible at once.
QDialog* makeWindow(QWidget* owner, const QString& title, int width, int height) {
    auto* window = new QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    const QSize size = FontDialogUnits(window->font()).size(width, height);
    window->setWindowTitle(title);
    window->setFixedSize(size);
    window->setModal(false);
    const QRect screen = (owner ? owner->screen() : QApplication::primaryScreen())->geometry();
    window->move(screen.center() - QPoint(size.width() / 2, size.height() / 2));
    return window;
}

class QtProgressWindow final : public ProgressWindow {
  public:
    QtProgressWindow(ProgressUi::Kind kind, QWidget* owner) {
        inputDiscarder().begin();
        const bool printing = kind == ProgressUi::Kind::Printing;
        window_ = makeWindow(owner, printing ? "Printing" : "Progress", printing ? 123 : 186,
                             printing ? 22 : 42);
        const FontDialogUnits du(window_->font());
        if (printing) {
            status_ = new QLabel("Please wait...", window_);
            status_->setGeometry(du.x(7), du.y(7), du.x(109), du.y(8));
        } else {
            bar_ = new QProgressBar(window_);
            bar_->setRange(0, 100);
            bar_->setValue(0);
            bar_->setTextVisible(false);
            bar_->setGeometry(du.x(7), du.y(7), du.x(172), du.y(14));
            status_ = new QLabel(window_);
            status_->setGeometry(du.x(7), du.y(25), du.x(172), du.y(8));
        }
        status_->setAlignment(Qt::AlignCenter);
        window_->show();
        keepPainting();
    }
    ~QtProgressWindow() override {
        delete window_.data();
        inputDiscarder().end();
    }

    void setCaption(std::string_view caption) override {
        if (window_) window_->setWindowTitle(fromAnsi(caption));
        keepPainting();
    }
    void update(int position, const char* text) override {
        if (!window_) return;
        if (bar_) bar_->setValue(std::clamp(position, 0, 100));
        if (text) status_->setText(fromAnsi(text));
        keepPainting();
    }

  private:
    QPointer<QDialog> window_;
    QProgressBar* bar_ = nullptr;
    QLabel* status_ = nullptr;
};

}  // namespace

bool longOperationRunning() {
    return inputDiscarder().active();
}

std::unique_ptr<ProgressWindow> QtProgressUi::create(Kind kind, WindowHandle owner) {
    // Shown over the owner's top-level window: the owner itself is disabled during the
    // work, and a window parented to it would be drawn disabled as well.
    auto* widget = static_cast<QWidget*>(owner);
    return std::make_unique<QtProgressWindow>(kind, widget ? widget->window() : nullptr);
}

void QtProgressUi::enableWindow(WindowHandle window, bool enabled) {
    if (auto* widget = static_cast<QWidget*>(window)) widget->setEnabled(enabled);
}

void QtProgressUi::focusWindow(WindowHandle window) {
    if (auto* widget = static_cast<QWidget*>(window)) {
        widget->activateWindow();
        widget->setFocus();
    }
}

}  // namespace tarn
