// The manual laid out on pages by QTextDocument: contents, page breaks, pictures, icons and
// tables set up from the Markdown, then painted page by page with a footer.
#pragma once

#include <QList>
#include <QSet>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include "manual_source.h"

class QPagedPaintDevice;
class QTextDocument;

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
    QList<Placement> headings;  // one per heading of the source, in order
    Placement contents;         // page 0 when the manual has no contents
    QSet<int> stranded;         // headings left alone at the foot of a page
    int pageCount = 0;
};

// Fills the document from the source with the given page of each heading (for the contents and
// the references) and lays it out on pages of the given size, starting a page at the headings
// named in pushed (by index). Problems go to errors.
void buildDocument(QTextDocument& doc, const ManualSource& source, const QList<int>& pages,
                   const QSet<int>& pushed, const ManualAssets& assets, QSizeF pageSize,
                   QStringList& errors);

Layout locate(const QTextDocument& doc, const ManualSource& source, QStringList& errors);

// Paints every page; all but the first (the cover) get the footer with the page number.
void paintPages(QTextDocument& doc, QPagedPaintDevice& device, const QString& footerTitle);

}  // namespace tarn::manual
