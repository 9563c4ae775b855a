#include "shell/apply_channels_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "database/client_database.h"
#include "qtcommon/file_path.h"
#include "shell/context_help.h"
#include "shell/database_window.h"
#include "shell/file_name_dialog.h"

namespace tarn {

ApplyChannelsDialog::ApplyChannelsDialog(const DatabaseWindow& target, std::vector<int> clients,
                                         const QList<DatabaseWindow*>& databases, QWidget* parent)
    : QDialog(parent),
      target_(target),
      clients_(std::move(clients)),
      source_(new QComboBox(this)),
      origin_(new QLabel(this)),
      merge_(new QRadioButton("&Merge by channel number (the source wins)", this)),
      preview_(new QPlainTextEdit(this)),
      apply_(nullptr) {
    setWindowTitle("Apply channels");
    source_->addItem("Choose a client");
    for (const DatabaseWindow* window : databases) {
        const ClientDatabase& db = window->document().database();
        const QString file = displayPath(window->fileName().filename());
        for (int i = 0; i < db.clientCount(); ++i) {
            sources_.emplace_back(window, i);
            source_->addItem(QString("%1: %2 %3")
                                 .arg(file)
                                 .arg(i)
                                 .arg(QString::fromStdString(quotedClientName(db, i))));
        }
    }
    auto* csv = new QPushButton("From a CSV &file\u2026", this);
    auto* replace = new QRadioButton("&Replace the clients' channels", this);
    replace->setChecked(true);
    preview_->setReadOnly(true);
    preview_->setLineWrapMode(QPlainTextEdit::NoWrap);
    preview_->setMinimumSize(560, 240);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    apply_ = buttons->addButton("&Apply", QDialogButtonBox::AcceptRole);
    apply_->setEnabled(false);
    addHelpButton(buttons, "applying-a-channel-plan");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(source_, &QComboBox::activated, this, [this](int entry) { chooseClient(entry - 1); });
    connect(csv, &QPushButton::clicked, this, [this] {
        std::filesystem::path path;
        if (askFileName(this, path, FileDialogKind::ImportCsv)) chooseCsv(path);
    });
    connect(merge_, &QRadioButton::toggled, this, &ApplyChannelsDialog::showPreview);

    auto* sourceRow = new QHBoxLayout;
    sourceRow->addWidget(source_, 1);
    sourceRow->addWidget(csv);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(sourceRow);
    layout->addWidget(origin_);
    layout->addWidget(replace);
    layout->addWidget(merge_);
    layout->addWidget(preview_, 1);
    layout->addWidget(buttons);
    showPreview();
}

PlanMode ApplyChannelsDialog::mode() const {
    return merge_->isChecked() ? PlanMode::Merge : PlanMode::Replace;
}

void ApplyChannelsDialog::chooseClient(int entry) {
    if (entry < 0 || entry >= static_cast<int>(sources_.size())) return;
    const auto& [window, index] = sources_[static_cast<std::size_t>(entry)];
    source_->setCurrentIndex(entry + 1);
    plan_ = planFromClient(window->document().database(), index, window->fileName(),
                           MessageOwner::of(this));
    showPreview();
}

void ApplyChannelsDialog::chooseCsv(const std::filesystem::path& path) {
    plan_ = planFromCsv(path, MessageOwner::of(this));
    if (plan_) source_->setCurrentIndex(0);
    showPreview();
}

QString ApplyChannelsDialog::previewText() const {
    return preview_->toPlainText();
}

void ApplyChannelsDialog::showPreview() {
    apply_->setEnabled(plan_.has_value());
    const ClientDatabase& db = target_.document().database();
    if (!plan_) {
        origin_->setText("The channels of:");
        preview_->setPlainText(QString("%1 clients chosen.").arg(clients_.size()));
        return;
    }
    origin_->setText("The channels of " + QString::fromStdString(plan_->origin) + ":");
    QString text;
    for (const ClientPlanEffect& row : previewPlan(db, clients_, plan_->channels, mode()))
        text += QString::fromStdString(previewLine(db, row)) + '\n';
    preview_->setPlainText(text);
}

}  // namespace tarn
