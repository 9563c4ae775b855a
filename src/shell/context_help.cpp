#include "shell/context_help.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QToolButton>
#include <QWindow>

#include "shell/artwork.h"
#include "shell/help_content.h"
#include "shell/help_window.h"
#include "shell/shell_services.h"

namespace tarn {

namespace {

constexpr const char* kTopicProperty = "tarnHelpTopic";
// The places of what has no section set: Qt's own dialogs, and texts the manual does not
// list (which a test keeps from happening for the program's own).
constexpr const char* kFileDialogs = "choosing-a-file";
constexpr const char* kPrinting = "print-a-customer-s-sheet";
constexpr const char* kTroubleshooting = "troubleshooting";
constexpr const char* kStatusBar = "the-status-bar";

QPointer<HelpWindow>& theHelpWindow() {
    static QPointer<HelpWindow> window;
    return window;
}

// The help window belongs to the main window, so it goes when the program does.
QWidget* helpOwner() {
    if (QWidget* frame = shellServices().frame) return frame;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (qobject_cast<QMainWindow*>(window)) return window;
    return nullptr;
}

QString entryOf(const QString& text, const char* otherwise) {
    const QString anchor = HelpContent::compiledIn().anchorForText(text);
    return anchor.isEmpty() ? QString(otherwise) : anchor;
}

// Help buttons show the toolbar's Help image, not the style's (a cross in some styles).
QIcon helpImage() {
    return QIcon(toolbarImage(kToolbarImageCount - 1));
}

class F1Filter final : public QObject {
  public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier) return false;
        const auto* widget = static_cast<QWidget*>(watched);
        // The main window's F1 is Help > Contents; the help window needs none.
        if (qobject_cast<const QMainWindow*>(widget->window()) ||
            qobject_cast<const HelpWindow*>(widget->window()))
            return false;
        openHelp(helpTopicFor(widget));
        return true;
    }
};

}  // namespace

void setHelpTopic(QWidget* window, const char* slug) {
    Q_ASSERT_X(HelpContent::compiledIn().topicOf(slug) >= 0, "setHelpTopic: no such heading", slug);
    window->setProperty(kTopicProperty, QString::fromUtf8(slug));
}

void addHelpButton(QDialogButtonBox* buttons, const char* slug) {
    setHelpTopic(buttons->window(), slug);
    const QString topic = QString::fromUtf8(slug);
    QPushButton* help = buttons->addButton(QDialogButtonBox::Help);
    help->setIcon(helpImage());
    QObject::connect(help, &QPushButton::clicked, buttons, [topic] { openHelp(topic); });
}

QString helpTopicFor(const QWidget* widget) {
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        if (const auto* box = qobject_cast<const QMessageBox*>(w))
            return entryOf(box->text(), kTroubleshooting);
        if (const QVariant topic = w->property(kTopicProperty); topic.isValid())
            return topic.toString();
        if (qobject_cast<const QFileDialog*>(w)) return kFileDialogs;
        if (qobject_cast<const QPrintDialog*>(w) || qobject_cast<const QPrintPreviewDialog*>(w))
            return kPrinting;
    }
    return {};
}

HelpWindow* openHelpWindow() {
    return theHelpWindow();
}

HelpWindow* openHelp(const QString& anchor) {
    QPointer<HelpWindow>& window = theHelpWindow();
    if (!window) window = new HelpWindow(HelpContent::compiledIn(), helpOwner());
    window->showAnchor(anchor);
    window->show();
    // A window whose transient parent is the modal dialog is not blocked by it.
    if (const QWidget* modal = QApplication::activeModalWidget())
        if (modal->windowHandle() && window->windowHandle())
            window->windowHandle()->setTransientParent(modal->windowHandle());
    window->raise();
    window->activateWindow();
    return window;
}

void installContextHelp() {
    static QPointer<F1Filter> filter;
    if (filter || !qApp) return;
    filter = new F1Filter(qApp);
    qApp->installEventFilter(filter);
}

void addMessageHelp(QMessageBox& box) {
    // A box's only button is what Escape and its close box press; with Help beside it,
    // that has to be said.
    if (box.buttons().size() == 1) box.setEscapeButton(box.buttons().first());
    // Nor may Enter press Help when nobody chose a default: the box's first answer is.
    if (!box.defaultButton() && !box.buttons().isEmpty())
        if (auto* first = qobject_cast<QPushButton*>(box.buttons().first()))
            box.setDefaultButton(first);
    QPushButton* help = box.addButton(QMessageBox::Help);
    help->setIcon(helpImage());
    // Every button of a box closes it; this one only opens the help beside it.
    QObject::disconnect(help, &QAbstractButton::clicked, nullptr, nullptr);
    QObject::connect(help, &QAbstractButton::clicked, &box,
                     [&box] { openHelp(entryOf(box.text(), kTroubleshooting)); });
}

QWidget* statusHelpButton(QLabel* statusLine) {
    auto* button = new QToolButton(statusLine->parentWidget());
    button->setText("?");
    button->setAutoRaise(true);
    button->setToolTip("What the status line means");
    QObject::connect(button, &QToolButton::clicked, statusLine,
                     [statusLine] { openHelp(entryOf(statusLine->text(), kStatusBar)); });
    return button;
}

}  // namespace tarn
