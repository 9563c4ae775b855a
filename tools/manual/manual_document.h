// The manual laid out on pages by QTextDocument: contents, page breaks, pictures, icons and
// tables set up from the Markdown, then painted page by page with a footer.
#pragma once

#include <QList>
#include <QSet>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include "manual_index.h"
#include "manual_source.h"

class QFont;
class QPagedPaintDevice;
class QTextDocument;
class QTextFrame;

namespace tarn::manual {

struct ManualAssets {
    QString imageFolder;  // pictures are named relative to it
    QString iconFolder;   // icon:NAME is NAME.png there
};

// Where a heading landed: page (1-based) and its top on that page in device pixels.
struct Placement {
    int page = 0;
    qreal top = 0;
    QString text;  // as printed, with its number
};

struct Layout {
    QList<Placement> headings;          // one per heading of the source, in order
    QHash<QString, Placement> anchors;  // every anchor of the index
    Placement contents;                 // page 0 when the manual has no contents
    QSet<int> stranded;                 // headings left alone at the foot of a page
    QList<int> sparse;                  // pages (not the last) filled less than a tenth
    int pageCount = 0;
};

// What one layout of the manual starts from: the page of each heading (for the contents and
// the references) and of each index anchor (for the index) found by the layout before, and
// the headings to start a page at (by index).
struct PagePlan {
    QList<int> pages;
    QHash<QString, int> anchorPages;
    QSet<int> pushed;
};

// The font of the text: DejaVu Sans with its ligatures off, so that "fi" in a PDF extracts
// (and is found by a search) as the two letters.
QFont textFont(qreal pointSize);

// Fills the document from the source and lays it out on pages of the given size, the
// edition line ("Version 3.0.1.0, 7 December 2026") under the cover's title. Returns the
// places of the index; problems go to errors.
QList<IndexTarget> buildDocument(QTextDocument& doc, const ManualSource& source,
                                 const PagePlan& plan, const ManualAssets& assets,
                                 const QString& edition, QSizeF pageSize, QStringList& errors);

// The steps the help pages share with the PDF: pictures sized (none wider than column),
// tables styled, the edition under a title.
void addPictures(QTextDocument& doc, const ManualAssets& assets, qreal column, QStringList& errors);
void styleTables(QTextFrame* frame);
void addEdition(QTextDocument& doc, const QString& edition);

Layout locate(const QTextDocument& doc, const ManualSource& source, QStringList& errors);

// Paints every page; all but the first (the cover) get the footer with the page number.
void paintPages(QTextDocument& doc, QPagedPaintDevice& device, const QString& footerTitle);

}  // namespace tarn::manual
