// The Qt page surface on a PDF device: what the layout relies on from a real device, and
// the PDF file the command-line tool writes.
#include "printing/qt_page_surface.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QGuiApplication>
#include <QPdfWriter>
#include <QTemporaryDir>

#include "printing/pdf_file_surface.h"

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

    std::string path(const char* name) const { return dir.filePath(name).toStdString(); }

    QTemporaryDir dir;
};

QByteArray contentOf(const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// QPdfWriter writes one "/Type /Page" object per page.
int pageCount(const QByteArray& pdf) {
    return static_cast<int>(pdf.count("/Type /Page\n") + pdf.count("/Type /Page "));
}

void drawPages(PrintSurface& surface, int pages) {
    for (int page = 0; page < pages; ++page) {
        ASSERT_TRUE(surface.startPage());
        surface.drawText({10, 100, 3000, 200}, "Client name:", TextAlign::Left);
        surface.drawText({10, 100, 10, 200}, "an empty box draws nothing", TextAlign::Right);
        ASSERT_TRUE(surface.endPage());
    }
}

TEST_F(QtPageSurfaceTest, MeasuresTheDeviceInItsOwnUnits) {
    QString named;
    QtPageSurface::Hooks hooks;
    hooks.nameDocument = [&](QPagedPaintDevice&, const QString& name) { named = name; };
    QtPageSurface surface(std::make_unique<QPdfWriter>(dir.filePath("m.pdf")), hooks);
    // A 1200 dpi page: lines are tens of units high, the page thousands of units.
    EXPECT_GT(surface.charHeight(), 20);
    EXPECT_GE(surface.externalLeading(), 0);
    EXPECT_GT(surface.printableWidth(), 5000);
    EXPECT_GT(surface.printableHeight(), surface.printableWidth());
    const int one = surface.textWidth("8");
    EXPECT_GT(one, 0);
    EXPECT_GT(surface.textWidth("88888888"), 7 * one);
    EXPECT_EQ(surface.textWidth(""), 0);

    ASSERT_TRUE(surface.startDoc("Tarn database summary"));
    EXPECT_EQ(named, "Tarn database summary");
    drawPages(surface, 1);
    EXPECT_TRUE(surface.endDoc());
    EXPECT_FALSE(surface.endDoc());  // ended once only
}

TEST_F(QtPageSurfaceTest, PdfFileHoldsOnePagePerStartedPage) {
    auto surface = pdfFileSurface(path("pages.pdf"));
    ASSERT_TRUE(surface->startDoc("Tarn database"));
    drawPages(*surface, 3);
    EXPECT_TRUE(contentOf(path("pages.pdf")).isEmpty());  // nothing written before the end
    ASSERT_TRUE(surface->endDoc());
    const QByteArray pdf = contentOf(path("pages.pdf"));
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_EQ(pageCount(pdf), 3);
}

TEST_F(QtPageSurfaceTest, PdfFileThatCannotBeWrittenFailsTheEndOfTheDocument) {
    auto surface = pdfFileSurface(path("no/such/folder/out.pdf"));
    ASSERT_TRUE(surface->startDoc("Tarn database"));
    drawPages(*surface, 1);
    EXPECT_FALSE(surface->endDoc());
}

TEST_F(QtPageSurfaceTest, AbandonedJobLeavesTheEarlierFileAlone) {
    {
        QFile old(dir.filePath("keep.pdf"));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("earlier document");
    }
    {
        auto surface = pdfFileSurface(path("keep.pdf"));
        ASSERT_TRUE(surface->startDoc("Tarn database"));
        drawPages(*surface, 2);
    }  // destroyed without endDoc, as after a failed page
    EXPECT_EQ(contentOf(path("keep.pdf")), "earlier document");
}

TEST_F(QtPageSurfaceTest, DatabaseTextIsWindows1252) {
    EXPECT_EQ(fromDatabaseText("\x80 caf\xe9"), QString::fromUtf8("€ café"));
    EXPECT_EQ(toDatabaseText(QString::fromUtf8("€ café")), "\x80 caf\xe9");
    EXPECT_EQ(toDatabaseText(QString::fromUtf8("東")), "?");
    EXPECT_FALSE(localeTimeAndDate().empty());
}

}  // namespace
}  // namespace tarn::test
