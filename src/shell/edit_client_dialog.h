#pragma once

#include <QDialog>
#include <functional>
#include <vector>

#include "model/window_handle.h"
#include "shell/channel_table_model.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;

namespace tarn {

class ClientRecord;

// "Edit client": name, selcall, serial, options and the channel table of one client,
// changed in place. The opener (ClientDatabase::editClient) keeps the copy that a
// Cancel restores, channel changes included.
class ClientDialog final : public QDialog {
    Q_OBJECT
  public:
    enum Column {
        ChannelColumn = ChannelTableModel::Channel,
        LabelColumn = ChannelTableModel::Label,
        ModeColumn = ChannelTableModel::Mode,
        RxColumn = ChannelTableModel::Rx,
        TxColumn = ChannelTableModel::Tx,
        ScanColumn = ChannelTableModel::Scan,
        SelcallColumn = ChannelTableModel::Selcall,
        ColumnCount = ChannelTableModel::ColumnCount
    };

    ClientDialog(ClientRecord& client, QWidget* parent);

    // The channel numbers of the rows, in display order.
    std::vector<int> rowChannels() const;

    QLineEdit* nameField() const { return name_; }
    QLineEdit* selcallField() const { return selcall_; }
    QLineEdit* serialField() const { return serial_; }
    QCheckBox* programBox() const { return program_; }
    QCheckBox* modesBox() const { return modes_; }
    QCheckBox* autoTuneBox() const { return autoTune_; }
    QRadioButton* highButton() const { return high_; }
    QRadioButton* lowButton() const { return low_; }
    QLabel* powerNowLabel() const { return powerNow_; }
    QTableView* channelList() const { return list_; }
    QPushButton* button(int command) const;  // by the command numbers below

    // Command numbers of the buttons.
    static constexpr int kOk = 1, kCancel = 2;
    static constexpr int kNew = 1014, kEdit = 1015, kDelete = 1016, kHelp = 1028;
    static constexpr int kCopy = 57634, kPaste = 57637;

  public slots:
    void accept() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();
    void loadClient();
    void postRefresh();
    void refresh();
    std::vector<int> selectedRows() const;  // rising
    void sortBy(int column);
    void newChannel();
    void editChannel();
    void deleteChannels();
    void copyChannels();
    void pasteChannels();
    void help();
    WindowHandle handle() { return static_cast<QWidget*>(this); }

    ClientRecord& client_;
    QLineEdit* name_ = nullptr;
    QLabel* selcallLabel_ = nullptr;
    QLineEdit* selcall_ = nullptr;
    QLineEdit* serial_ = nullptr;
    QCheckBox* program_ = nullptr;
    QCheckBox* modes_ = nullptr;
    QCheckBox* autoTune_ = nullptr;
    QRadioButton* high_ = nullptr;
    QRadioButton* low_ = nullptr;
    QLabel* powerNow_ = nullptr;  // "Now: Mid1" for a level neither button stands for
    QTableView* list_ = nullptr;
    ChannelTableModel* channels_ = nullptr;
    ChannelSortProxy* rows_ = nullptr;
    std::vector<std::pair<int, QPushButton*>> buttons_;
    bool powerClicked_ = false;  // PowerLevel is stored only when the user picked one
};

// The dialog as ClientDatabase::editClient runs it: modal over the parent, 1 for OK.
int runClientDialog(ClientRecord& client, WindowHandle parent);

}  // namespace tarn
