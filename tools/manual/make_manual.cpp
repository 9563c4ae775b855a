// Renders the dealer's manual (Markdown with screenshots) into a PDF with Qt's own Markdown
// reader and PDF writer, so no document toolchain is needed; or, with --help-data, into the
// pages of the program's help window (one JSON file: the topics as HTML, their contents,
// the index, and the program's texts with the place that explains each).
//
//   tarn-make-manual [--version TEXT] [--help-data] INPUT.md OUTPUT ICON-FOLDER
//
// What the Markdown may use beyond the usual:
// - "# Title" on the first line makes the cover, with "Version TEXT" and the date of the
//   build under it; "##" chapters, "###" sections and "####" subsections carry no numbers:
//   chapters and sections are numbered here ("3", "3.2"), chapters titled "Appendix: ..."
//   are lettered (A, B, ...). Every chapter starts a page. In the help window every chapter
//   and section is a topic; a subsection stays in its section's topic.
// - A line "<!-- page -->" starts a new page; "<!-- contents -->" becomes the table of
//   contents (chapters and sections with their pages) on pages of its own; "<!-- index -->"
//   becomes the index (the help window shows it in a list of its own instead).
// - "[](#slug)" becomes the words section 3.2 "Heading" (page 12) (chapter 3, appendix A,
//   or "Heading" in section 3.2 for a subsection; no page in the help window) and links
//   there; "[words](#slug)" keeps its words. The slug is the heading's text in lower case with
//   every run of other characters than a-z and 0-9 turned into one "-", trimmed. A reference
//   to no heading, or two headings with one slug, fails the build. The program opens its
//   context help at these slugs.
// - The index, from markers on a line of their own between blocks (never inside a list):
//   "<!-- index: TERM; TERM -->" indexes the paragraph, list or table that follows under
//   each term; "<!-- index rows: * (File menu) -->" before a table indexes each row by its
//   first cell, "*" standing for the cell's text; "<!-- messages -->" before a table says
//   its first column holds the program's texts ("…" where a text fills in a name or a
//   number; "A / B" for two texts in one row): each is indexed, and it is the entry the
//   program's message boxes and its help search lead to. A marker that is not followed by
//   what it needs fails the build.
// - Pictures: "![caption](images/x.png)" is drawn at 96 dpi (one pixel is 1/96 inch), a file
//   named "...@2x.png" at 192 dpi (half its pixel size, so double-density screenshots print
//   sharp); a picture wider than the text is scaled down to fit. "![](icon:NAME)" draws
//   ICON-FOLDER/NAME.png at the height of a line of text.
// - Pipe tables get cell padding and a shaded header row repeated on each page; rows are
//   never split between pages.
// Every page but the cover has a footer with the page number, and the PDF has bookmarks for
// the chapters and sections. The text is set without ligatures, so every word extracts from
// the PDF as typed. A page left with only a few lines is warned about.
#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHashSeed>
#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>
#include <cstdio>
#include <memory>

#include "manual_document.h"
#include "manual_help.h"
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

// "Version 3.0.1.0, 7 December 2026": the build's version and the day it was rendered (or
// the one SOURCE_DATE_EPOCH names).
QString editionLine(const QString& version) {
    bool ok = false;
    const qint64 epoch = qEnvironmentVariable("SOURCE_DATE_EPOCH").toLongLong(&ok);
    const QDate day = ok ? QDateTime::fromSecsSinceEpoch(epoch, Qt::UTC).date()
                         : QDateTime::currentDateTimeUtc().date();
    const QString date = QLocale(QLocale::English).toString(day, "d MMMM yyyy");
    return version.isEmpty() ? date : QString("Version %1, %2").arg(version, date);
}

int writeFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return fail(path, {file.errorString()});
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // Qt orders the fonts it embeds by hash; a fixed seed gives the same bytes on every run.
    QHashSeed::setDeterministicGlobalSeed();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList arguments = app.arguments().mid(1);
    QString version;
    bool helpData = false;
    while (!arguments.isEmpty() && arguments.first().startsWith("--")) {
        const QString option = arguments.takeFirst();
        if (option == "--help-data") {
            helpData = true;
        } else if (option == "--version" && !arguments.isEmpty()) {
            version = arguments.takeFirst();
        } else {
            arguments.clear();
        }
    }
    if (arguments.size() != 3) {
        std::fprintf(stderr,
                     "usage: tarn-make-manual [--version TEXT] [--help-data] INPUT.md OUTPUT "
                     "ICON-FOLDER\n");
        return 2;
    }
    const QString input = arguments[0];
    const QString output = arguments[1];
    const ManualAssets assets{QFileInfo(input).absolutePath(), arguments[2]};
    const QString markdown = readText(input);
    if (markdown.isEmpty()) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(input));
        return 1;
    }
    const ManualSource source = parseManual(markdown);
    if (!source.errors.isEmpty()) return fail(input, source.errors, ":");
    const QString edition = editionLine(version);
    if (helpData) {
        QStringList errors;
        const QByteArray data = helpPages(source, assets, edition, errors);
        if (!errors.isEmpty()) return fail(input, errors);
        return writeFile(output, data);
    }

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
    PagePlan plan;
    plan.pages = QList<int>(source.headings.size(), 0);
    bool settled = false;
    for (int round = 0; round < layoutRounds && !settled; ++round) {
        doc = std::make_unique<QTextDocument>();
        doc->documentLayout()->setPaintDevice(&writer);
        QStringList errors;
        buildDocument(*doc, source, plan, assets, edition, body, errors);
        layout = locate(*doc, source, errors);
        if (!errors.isEmpty()) return fail(input, errors);
        QList<int> placed;
        for (const Placement& heading : layout.headings) placed.append(heading.page);
        QHash<QString, int> anchorPages;
        for (auto it = layout.anchors.cbegin(); it != layout.anchors.cend(); ++it)
            anchorPages.insert(it.key(), it.value().page);
        settled =
            placed == plan.pages && anchorPages == plan.anchorPages && layout.stranded.isEmpty();
        plan.pages = placed;
        plan.anchorPages = anchorPages;
        plan.pushed += layout.stranded;
    }

    if (!settled)
        std::fprintf(stderr, "%s: warning: page numbers did not settle; some may be off by one\n",
                     qPrintable(input));
    for (const int page : layout.sparse)
        std::fprintf(stderr, "%s: warning: page %d holds only a few lines\n", qPrintable(input),
                     page);

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
    for (auto it = layout.anchors.cbegin(); it != layout.anchors.cend(); ++it)
        if (!targets.contains(it.key())) targets.insert(it.key(), pdfPlace(it.value()));
    QString error;
    QByteArray finished = addOutline(pdf.data(), bookmarks, targets, error);
    if (finished.isEmpty()) return fail(output, {error});
    stampDate(finished);
    return writeFile(output, finished);
}
