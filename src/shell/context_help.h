#pragma once

#include <QString>

class QDialogButtonBox;
class QLabel;
class QMessageBox;
class QWidget;

namespace tarn {

class HelpWindow;

// Context help: F1 in a dialog or a message box, a message box's Help button and the status
// bar's "?" open the help window at the manual's place for what the user is looking at.
// Places are the manual's heading slugs (docs/manual.md, tools/manual); a message box's
// place is the troubleshooting entry of its text.

// The section F1 opens from this dialog or window: one line in its constructor, e.g.
// setHelpTopic(this, "the-radio-log"). Qt's file, print and preview dialogs and message
// boxes need none.
void setHelpTopic(QWidget* window, const char* slug);

// Adds a Help button opening the dialog's section, which it also sets (setHelpTopic).
void addHelpButton(QDialogButtonBox* buttons, const char* slug);

// The place F1 opens from the widget: its message box's entry, else the section set on it or
// on a window it belongs to; empty for the first page.
QString helpTopicFor(const QWidget* widget);

// Opens (or brings up) the help window at the place. Opened from a modal dialog or box, the
// help window takes input while that dialog waits.
HelpWindow* openHelp(const QString& anchor);
HelpWindow* openHelpWindow();  // without showing anything new; null until first opened

// F1 in every dialog and message box of the program from now on (the main window's F1 is
// Help > Contents).
void installContextHelp();

// A Help button to the box's troubleshooting entry; the box stays open while it is used.
void addMessageHelp(QMessageBox& box);

// A small "?" button for the status bar: it opens the entry of the status line's text.
QWidget* statusHelpButton(QLabel* statusLine);

}  // namespace tarn
