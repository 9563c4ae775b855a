// Bookmarks and internal links for a PDF written by QPdfWriter, which offers neither: both are
// appended as an incremental update (new objects, a catalog naming the outline, an xref
// section chained to the original one), so the pages Qt wrote stay untouched.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPointF>
#include <QString>

namespace tarn::manual {

// A place in the document: its page (1-based) and a point on it in PDF units (origin bottom left).
struct PdfPlace {
    int page = 0;
    QPointF point;
};

struct Bookmark {
    QString title;
    int depth = 0;  // 0 top level, 1 under the last top-level bookmark
    PdfPlace place;
};

// Adds the bookmarks and turns each link Qt wrote for "#slug" into a link to that place.
// Returns an empty array and sets error when the PDF is not laid out as Qt writes it.
QByteArray addOutline(const QByteArray& pdf, const QList<Bookmark>& bookmarks,
                      const QHash<QString, PdfPlace>& targets, QString& error);

}  // namespace tarn::manual
