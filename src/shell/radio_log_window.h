#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace tarn {
class RadioLog;
}

namespace tarn {

// "Radio log": the transcript of the session's last radio exchanges (ShellServices::radioLog),
// refreshed when it is shown and whenever an exchange ends. Modeless; "Save as…" writes
// the text to a file.
class RadioLogWindow final : public QDialog {
    Q_OBJECT
  public:
    explicit RadioLogWindow(QWidget* parent);
    ~RadioLogWindow() override;

    QPlainTextEdit* textBox() const { return text_; }
    void refresh();
    void saveAs();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    RadioLog* log_;  // the installed one when the window was made (null: none)
    QPlainTextEdit* text_;
};

}  // namespace tarn
