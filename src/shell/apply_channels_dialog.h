#pragma once

#include <QDialog>
#include <optional>
#include <vector>

#include "document/apply_channels.h"

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QRadioButton;

namespace tarn {

class DatabaseWindow;

// Client > Apply channels: the source of the channels (a client of any open database, or
// a CSV file), replace or merge, and what that changes in each chosen client, before
// anything changes. Apply is possible once a source is chosen.
class ApplyChannelsDialog final : public QDialog {
    Q_OBJECT
  public:
    ApplyChannelsDialog(const DatabaseWindow& target, std::vector<int> clients,
                        const QList<DatabaseWindow*>& databases, QWidget* parent);

    const std::optional<ChannelPlan>& plan() const { return plan_; }
    PlanMode mode() const;
    // The preview as shown: the source, then a line per client.
    QString previewText() const;

    // Chooses the source: a client of an open database (its entry in the list), or a CSV
    // file already chosen.
    void chooseClient(int entry);
    void chooseCsv(const std::filesystem::path& path);

  private:
    void showPreview();

    const DatabaseWindow& target_;
    const std::vector<int> clients_;
    std::vector<std::pair<const DatabaseWindow*, int>> sources_;  // the list's entries
    std::optional<ChannelPlan> plan_;
    QComboBox* source_;
    QLabel* origin_;
    QRadioButton* merge_;
    QPlainTextEdit* preview_;
    QPushButton* apply_;
};

}  // namespace tarn
