#pragma once

#include <QDialog>
#include <array>
#include <string>

#include "model/limits.h"

class QLabel;
class QPlainTextEdit;

namespace tarn {

// "Edit dealer text": the database's 100-byte dealer text in a text box, with the count of
// characters typed beside it ("87 of 99 characters"). OK copies at most 99 characters back,
// with line breaks stored as CR LF.
class DealerTextDialog final : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kLimit = kDealerTextLength;

    DealerTextDialog(const std::array<char, 100>& text, QWidget* parent);
    QPlainTextEdit* textBox() const { return textBox_; }
    QLabel* countLabel() const { return count_; }
    // Stores the text; returns how many characters were cut at the end (0: none).
    int storeText(std::array<char, 100>& text) const;
    // OK: refused, with a message naming it, while the text holds a character the
    // records cannot hold.
    void accept() override;

  private:
    QString typed() const;  // the text with its line breaks as the field stores them
    void showCount();

    QPlainTextEdit* textBox_;
    QLabel* count_;
};

// The dialog function the database's editDealerText runs (installed at start-up); a text
// cut at OK is told.
int runDealerTextDialog(std::array<char, 100>& text, void* parent);

}  // namespace tarn
