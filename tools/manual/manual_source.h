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

struct ManualSource {
    QStringList lines;
    QList<bool> code;  // per line: inside a fenced code block
    QList<Heading> headings;
    QHash<int, int> headingAtLine;  // 0-based line -> index into headings
    QStringList errors;             // "LINE: message"

    int find(const QString& slug) const;
};

// Paragraphs standing in for the markers in the Markdown handed to Qt.
inline const QString pageBreakToken = QStringLiteral("TARN-MANUAL-PAGE-BREAK");
inline const QString contentsToken = QStringLiteral("TARN-MANUAL-CONTENTS");

// Lower case, every run of characters other than a-z and 0-9 one "-", no "-" at the ends.
QString slugOf(const QString& text);

ManualSource parseManual(const QString& markdown);

// The heading as printed: "3 Reading a radio", "3.2 Radio log", "Appendix A: Technical notes".
QString displayTitle(const Heading& heading);

// An empty link's text: section 3.2 "Radio log" (page 12).
QString referenceText(const Heading& heading, int page);

// The Markdown Qt reads: headings numbered, empty references spelt out with the page of each
// heading (pages[i] for headings[i]), markers replaced by their token paragraphs.
QString qtMarkdown(const ManualSource& source, const QList<int>& pages);

}  // namespace tarn::manual
