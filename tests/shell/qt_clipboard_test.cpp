// The clipboard seam on QClipboard: our two private formats on the application's clipboard.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>

#include "model/services.h"
#include "shell/qt_clipboard.h"

namespace tarn {
namespace {

class QtClipboardTest : public ::testing::Test {
  protected:
    void SetUp() override {
        services->clipboard = &qtClipboard();
        QGuiApplication::clipboard()->clear();
    }
    ScopedServices services;
};

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
