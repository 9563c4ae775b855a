// The clipboard seam on QClipboard: clients and channels travel between databases and
// clients through the application's clipboard in our two private formats.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "database/client_database.h"
#include "shell/qt_clipboard.h"
#include "support/recording_feedback.h"

namespace tarn {
namespace {

class QtClipboardTest : public ::testing::Test {
  protected:
    void SetUp() override {
        installQtClipboard();
        QGuiApplication::clipboard()->clear();
    }
    void TearDown() override { setClipboard(nullptr); }

    test::RecordingFeedback feedback;
};

TEST_F(QtClipboardTest, ClientsTravelBetweenTwoDatabases) {
    ClientDatabase first(true);  // the demonstration client with seven channels
    first.addClient();
    first.client(1)->setName("Second");
    first.client(1)->setLabel(3, "label");
    ClientDatabase second(false);

    const int indexes[] = {0, 1};
    ASSERT_EQ(first.copyClients(nullptr, indexes, 2), 1);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(data->hasFormat(QtClipboard::mimeType(ClipboardFormat::Clients)));
    EXPECT_EQ(data->data(QtClipboard::mimeType(ClipboardFormat::Clients)).size(), 4 + 2 * 10257);

    ASSERT_EQ(second.pasteClients(nullptr), 1);
    ASSERT_EQ(second.clientCount(), 2);
    EXPECT_EQ(*second.client(0), *first.client(0));
    EXPECT_EQ(*second.client(1), *first.client(1));
    EXPECT_TRUE(feedback.empty());
}

TEST_F(QtClipboardTest, FormatsSetInOneCycleStayTogether) {
    Clipboard& board = clipboard();
    ASSERT_TRUE(board.open(nullptr));
    board.empty();
    ASSERT_TRUE(board.setData(ClipboardFormat::Clients, {1, 2}));
    ASSERT_TRUE(board.setData(ClipboardFormat::Channels, {3}));
    board.close();
    EXPECT_EQ(board.getData(ClipboardFormat::Clients), (std::vector<std::uint8_t>{1, 2}));
    EXPECT_EQ(board.getData(ClipboardFormat::Channels), std::vector<std::uint8_t>{3});

    board.open(nullptr);
    board.empty();  // every copy starts here: the other format goes too
    board.setData(ClipboardFormat::Channels, {4});
    board.close();
    EXPECT_FALSE(board.isAvailable(ClipboardFormat::Clients));

    QGuiApplication::clipboard()->setText("from another program");
    EXPECT_FALSE(board.isAvailable(ClipboardFormat::Clients));
    EXPECT_EQ(board.getData(ClipboardFormat::Channels), std::nullopt);
    EXPECT_NE(QtClipboard::mimeType(ClipboardFormat::Clients),
              QtClipboard::mimeType(ClipboardFormat::Channels));
}

}  // namespace
}  // namespace tarn
