#pragma once

#include <QDialog>
#include <array>

class QPlainTextEdit;

namespace tarn {

// "Edit dealer text": the database's 100-byte dealer text in a text box. OK copies at
// most 99 characters back, with line breaks stored as CR LF.
class DealerTextDialog final : public QDialog {
    Q_OBJECT
  public:
    DealerTextDialog(const std::array<char, 100>& text, QWidget* parent);
    QPlainTextEdit* textBox() const { return textBox_; }
    void storeText(std::array<char, 100>& text) const;
    // OK: refused, with a message naming it, while the text holds a character the
    // records cannot hold.
    void accept() override;

  private:
    QString typed() const;
    QPlainTextEdit* textBox_;
};

// The dialog function the database's editDealerText runs (installed at start-up).
int runDealerTextDialog(std::array<char, 100>& text, void* parent);

}  // namespace tarn
