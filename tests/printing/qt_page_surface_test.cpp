// The Qt page surface on a PDF writer: what the layout relies on from a real device.
#include "printing/qt_page_surface.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QGuiApplication>
#include <QPdfWriter>
#include <QTemporaryDir>

namespace tarn::test {
namespace {

class QtPageSurfaceTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "qt_page_surface_test";
        static char* argv[] = {name, nullptr};
        static QGuiApplication app(argc, argv);
    }

    std::unique_ptr<QtPageSurface> surfaceOn(const QString& path) {
        auto writer = std::make_unique<QPdfWriter>(path);
        return std::make_unique<QtPageSurface>(
            std::move(writer), [this](QPagedPaintDevice& device, const QString& title) {
                static_cast<QPdfWriter&>(device).setTitle(title);
                namedAs = title;
            });
    }

    QTemporaryDir dir;
    QString namedAs;
};

// QPdfWriter writes one "/Type /Page" object per page.
int pageCount(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return -1;
    const QByteArray bytes = file.readAll();
    return static_cast<int>(bytes.count("/Type /Page\n") + bytes.count("/Type /Page "));
}

TEST_F(QtPageSurfaceTest, MeasuresTheDeviceInItsOwnUnits) {
    auto surface = surfaceOn(dir.filePath("m.pdf"));
    // A 1200 dpi page: lines are tens of units high, the page thousands of units.
    EXPECT_GT(surface->charHeight(), 20);
    EXPECT_GE(surface->externalLeading(), 0);
    EXPECT_GT(surface->printableWidth(), 5000);
    EXPECT_GT(surface->printableHeight(), surface->printableWidth());
    const int one = surface->textWidth("8");
    EXPECT_GT(one, 0);
    EXPECT_GT(surface->textWidth("88888888"), 7 * one);
    EXPECT_EQ(surface->textWidth(""), 0);
}

TEST_F(QtPageSurfaceTest, WritesNamedDocumentWithOnePagePerStartedPage) {
    const QString path = dir.filePath("pages.pdf");
    auto surface = surfaceOn(path);
    ASSERT_TRUE(surface->startDoc("Tarn database summary"));
    EXPECT_EQ(namedAs, "Tarn database summary");
    for (int page = 0; page < 3; ++page) {
        ASSERT_TRUE(surface->startPage());
        surface->drawText({10, 100, 3000, 200}, "Client name:", TextAlign::Left);
        surface->drawText({10, 100, 10, 200}, "an empty box draws nothing", TextAlign::Right);
        ASSERT_TRUE(surface->endPage());
    }
    ASSERT_TRUE(surface->endDoc());
    EXPECT_EQ(pageCount(path), 3);
    EXPECT_FALSE(surface->endDoc());  // ended once only
}

TEST_F(QtPageSurfaceTest, DocumentIntoAnUnwritablePlaceCannotStart) {
    auto surface = surfaceOn(dir.filePath("no/such/folder/out.pdf"));
    EXPECT_FALSE(surface->startDoc("Tarn database"));
    EXPECT_FALSE(surface->startPage());
    EXPECT_FALSE(surface->endDoc());
}

TEST_F(QtPageSurfaceTest, DatabaseTextIsWindows1252) {
    EXPECT_EQ(fromDatabaseText("\x80 caf\xe9"), QString::fromUtf8("€ café"));
    EXPECT_EQ(toDatabaseText(QString::fromUtf8("€ café")), "\x80 caf\xe9");
    EXPECT_EQ(toDatabaseText(QString::fromUtf8("東")), "?");
    EXPECT_FALSE(localeTimeAndDate().empty());
}

}  // namespace
}  // namespace tarn::test
