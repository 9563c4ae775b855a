// The manual's Markdown source as the renderer sees it: its headings (numbered here, never in
// the text), their slugs, the page-break and contents markers and the cross-references.
#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace tarn::manual {

struct Heading {
    int level = 0;   // 1 the title, 2 a chapter, 3 a section, 4 and deeper subsections
    QString text;    // as written, Markdown
    QString slug;    // what "#slug" references name
    QString number;  // "3", "3.2", "A", "A.1"; empty for the title and subsections
    QString within;  // for a subsection: "section 3.2", "chapter 3" or "appendix A"
    bool appendix = false;
    int line = 0;  // 1-based
};

// A marker line of the index: "<!-- index: TERM; TERM -->" names what follows it,
// "<!-- index rows: FORMAT -->" and "<!-- messages -->" the first cell of each row of the
// table that follows (FORMAT with "*" for the cell; messages are the program's texts).
struct IndexMarker {
    enum class Kind { Terms, Rows, Messages };
    Kind kind = Kind::Terms;
    QStringList terms;  // the terms, or the one format of the rows
    int line = 0;       // 1-based
};

struct ManualSource {
    QStringList lines;
    QList<bool> code;  // per line: inside a fenced code block
    QList<Heading> headings;
    QHash<int, int> headingAtLine;  // 0-based line -> index into headings
    QList<IndexMarker> markers;
    QHash<int, int> markerAtLine;  // 0-based line -> index into markers
    QStringList errors;            // "LINE: message"

    int find(const QString& slug) const;
};

// Paragraphs standing in for the markers in the Markdown handed to Qt.
inline const QString pageBreakToken = QStringLiteral("TARN-MANUAL-PAGE-BREAK");
inline const QString contentsToken = QStringLiteral("TARN-MANUAL-CONTENTS");
inline const QString indexToken = QStringLiteral("TARN-MANUAL-INDEX");
// The paragraph standing in for markers[n]: the prefix and n.
inline const QString markerTokenPrefix = QStringLiteral("TARN-MANUAL-MARK-");
QString markerToken(int n);

// Lower case, every run of characters other than a-z and 0-9 one "-", no "-" at the ends.
QString slugOf(const QString& text);

ManualSource parseManual(const QString& markdown);

// The heading as printed: "3 Reading a radio", "3.2 Radio log", "Appendix A: Technical notes".
QString displayTitle(const Heading& heading);

// An empty link's text: section 3.2 "Radio log" (page 12); without the page when it is 0.
QString referenceText(const Heading& heading, int page);

// The Markdown Qt reads: headings numbered, empty references spelt out with the page of each
// heading (pages[i] for headings[i]; none when pages is empty), markers replaced by their
// token paragraphs. Only the lines from `first` up to `end` (-1: all).
QString qtMarkdown(const ManualSource& source, const QList<int>& pages, int first = 0,
                   int end = -1);

}  // namespace tarn::manual
