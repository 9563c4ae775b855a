// Renders the dealer's manual (Markdown with screenshots) into a PDF with Qt's own Markdown
// reader and PDF writer, so no document toolchain is needed.
//
//   tarn-make-manual INPUT.md OUTPUT.pdf ICON-FOLDER
//
// What the Markdown may use beyond the usual:
// - "# Title" on the first line makes the cover; "##" chapters, "###" sections and "####"
//   subsections carry no numbers: chapters and sections are numbered here ("3", "3.2"),
//   chapters titled "Appendix: ..." are lettered (A, B, ...). Every chapter starts a page.
// - A line "<!-- page -->" starts a new page; "<!-- contents -->" becomes the table of
//   contents (chapters and sections with their pages) on pages of its own.
// - "[](#slug)" becomes the words section 3.2 "Heading" (page 12) (chapter 3, appendix A,
//   or "Heading" in section 3.2 for a subsection) and links there; "[words](#slug)" keeps its
//   words. The slug is the heading's text in lower case with every run of other characters
//   than a-z and 0-9 turned into one "-", trimmed. A reference to no heading, or two headings
//   with one slug, fails the build.
// - Pictures: "![caption](images/x.png)" is drawn at 96 dpi (one pixel is 1/96 inch), a file
//   named "...@2x.png" at 192 dpi (half its pixel size, so double-density screenshots print
//   sharp); a picture wider than the text is scaled down to fit. "![](icon:NAME)" draws
//   ICON-FOLDER/NAME.png at the height of a line of text.
// - Pipe tables get cell padding and a shaded header row repeated on each page; rows are
//   never split between pages.
// Every page but the cover has a footer with the page number, and the PDF has bookmarks for
// the chapters and sections.
#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHashSeed>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>
#include <cstdio>
#include <memory>

#include "manual_document.h"
#include "manual_source.h"
#include "pdf_outline.h"

using namespace tarn::manual;

namespace {

// Height kept below the text of each page for the footer, in device pixels.
constexpr qreal footerBand = 28;

// The contents and the references name pages, and naming them can move headings to other
// pages, as does moving a heading stranded at the foot of a page to the next; a few rounds
// settle it.
constexpr int layoutRounds = 8;

QString readText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

// Errors of the source start with their line number: "manual.md:12: unknown reference: #x".
int fail(const QString& where, const QStringList& errors, const char* separator = ": ") {
    for (const QString& error : errors)
        std::fprintf(stderr, "%s%s%s\n", qPrintable(where), separator, qPrintable(error));
    return 1;
}

// Reproducible builds name the time to record in SOURCE_DATE_EPOCH; the date Qt wrote is
// replaced in place (same length, so no offset moves).
void stampDate(QByteArray& pdf) {
    bool ok = false;
    const qint64 epoch = qEnvironmentVariable("SOURCE_DATE_EPOCH").toLongLong(&ok);
    const qsizetype at = pdf.indexOf("/CreationDate (D:");
    if (!ok || at < 0) return;
    const QByteArray stamp =
        QDateTime::fromSecsSinceEpoch(epoch, Qt::UTC).toString("yyyyMMddHHmmss").toLatin1();
    const qsizetype digits = at + qsizetype(sizeof("/CreationDate (D:")) - 1;
    if (pdf.mid(digits, stamp.size() + 1).endsWith('Z')) pdf.replace(digits, stamp.size(), stamp);
}

}  // namespace

int main(int argc, char** argv) {
    // Qt orders the fonts it embeds by hash; a fixed seed gives the same bytes on every run.
    QHashSeed::setDeterministicGlobalSeed();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: tarn-make-manual INPUT.md OUTPUT.pdf ICON-FOLDER\n");
        return 2;
    }
    const QString input = QString::fromLocal8Bit(argv[1]);
    const QString output = QString::fromLocal8Bit(argv[2]);
    const ManualAssets assets{QFileInfo(input).absolutePath(), QString::fromLocal8Bit(argv[3])};
    const QString markdown = readText(input);
    if (markdown.isEmpty()) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    const ManualSource source = parseManual(markdown);
    if (!source.errors.isEmpty()) return fail(input, source.errors, ":");

    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    QPdfWriter writer(&pdf);
    writer.setTitle("Tarn DataBase - Dealer's manual");
    writer.setCreator("Tarn DataBase");
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(20, 18, 20, 18), QPageLayout::Millimeter));
    writer.setResolution(96);
    const QRectF paintRect = writer.pageLayout().paintRectPixels(writer.resolution());
    const QSizeF body(paintRect.width(), paintRect.height() - footerBand);

    std::unique_ptr<QTextDocument> doc;
    Layout layout;
    QList<int> pages(source.headings.size(), 0);
    QSet<int> pushed;
    bool settled = false;
    for (int round = 0; round < layoutRounds && !settled; ++round) {
        doc = std::make_unique<QTextDocument>();
        doc->documentLayout()->setPaintDevice(&writer);
        QStringList errors;
        buildDocument(*doc, source, pages, pushed, assets, body, errors);
        layout = locate(*doc, source, errors);
        if (!errors.isEmpty()) return fail(input, errors);
        QList<int> placed;
        for (const Placement& heading : layout.headings) placed.append(heading.page);
        settled = placed == pages && layout.stranded.isEmpty();
        pages = placed;
        pushed += layout.stranded;
    }

    if (!settled)
        std::fprintf(stderr, "%s: warning: page numbers did not settle; some may be off by one\n",
                     argv[1]);

    const QString title =
        source.headings.value(0).level == 1 ? layout.headings[0].text : QString("Tarn DataBase");
    paintPages(*doc, writer, title);

    // Device pixels of the text area to PDF points, whose origin is the page's bottom left.
    const qreal points = 72.0 / writer.resolution();
    const qreal pageHeight = writer.pageLayout().fullRectPoints().height();
    const auto pdfPlace = [&](const Placement& at) {
        return PdfPlace{at.page, QPointF(paintRect.left() * points,
                                         pageHeight - (paintRect.top() + at.top) * points)};
    };
    QList<Bookmark> bookmarks;
    QHash<QString, PdfPlace> targets;
    if (layout.contents.page > 0) bookmarks.append({"Contents", 0, pdfPlace(layout.contents)});
    for (qsizetype i = 0; i < source.headings.size(); ++i) {
        const Heading& heading = source.headings[i];
        const PdfPlace place = pdfPlace(layout.headings[i]);
        targets.insert(heading.slug, place);
        if (heading.level == 2 || heading.level == 3)
            bookmarks.append({layout.headings[i].text, heading.level - 2, place});
    }
    QString error;
    QByteArray finished = addOutline(pdf.data(), bookmarks, targets, error);
    if (finished.isEmpty()) return fail(output, {error});

    QSaveFile file(output);
    stampDate(finished);
    if (!file.open(QIODevice::WriteOnly) || file.write(finished) != finished.size() ||
        !file.commit()) {
        return fail(output, {file.errorString()});
    }
    return 0;
}
