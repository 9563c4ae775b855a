// The index of the manual: the places its markers name, each given an anchor in the
// document, and the alphabetical list of terms that the PDF prints and the help window shows.
#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTextBlock>

#include "manual_source.h"

class QTextDocument;

namespace tarn::manual {

// A place the index points at: its anchor ("t3" for marker 3, "t3-2" for row 2 of its
// table) and the terms that name it; messages are program texts ("…" where they fill in).
struct IndexTarget {
    QString anchor;
    QStringList terms;
    bool messages = false;
};

struct IndexEntry {
    QString term;
    QStringList anchors;  // in document order
};

// Replaces each marker's token paragraph by an anchor on what follows it (the first cell of
// each row for a table marker) and returns the places. Also anchors each heading by its slug.
QList<IndexTarget> markIndex(QTextDocument& doc, const ManualSource& source, QStringList& errors);

// The terms in alphabetical order (ignoring case and leading punctuation), each once.
QList<IndexEntry> indexEntries(const QList<IndexTarget>& targets);

// Every anchor name of the document with the block that holds it.
QHash<QString, QTextBlock> anchorBlocks(const QTextDocument& doc);

// Puts the index at its token paragraph: a letter before each group, each term followed by
// the pages (linked) of its places; pages[anchor] from the last layout (0 until known).
void insertIndex(QTextDocument& doc, const QList<IndexEntry>& entries,
                 const QHash<QString, int>& pages, qreal width);

// Removes a token paragraph with the line break before it (only its text where that would
// reach into a table before it); returns the block that followed.
QTextBlock removeToken(QTextDocument& doc, const QTextBlock& token);

}  // namespace tarn::manual
