#include "manual_index.h"

#include <QMap>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <algorithm>

namespace tarn::manual {

namespace {

void addAnchor(const QTextBlock& block, const QString& name) {
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
    QTextCharFormat format;
    format.setAnchor(true);
    const QTextBlock::iterator first = block.begin();
    QStringList names = first.atEnd() ? QStringList() : first.fragment().charFormat().anchorNames();
    format.setAnchorNames(names << name);
    cursor.mergeCharFormat(format);
}

// A cell as a reader sees it: one line, pictures left out.
QString cellText(const QTextTableCell& cell) {
    QTextCursor cursor = cell.firstCursorPosition();
    cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    return cursor.selectedText().remove(QChar::ObjectReplacementCharacter).simplified();
}

// What a term sorts by: no case, no leading quotes, dashes or "…".
QString sortKey(const QString& term) {
    QString key = term.toLower();
    while (!key.isEmpty() && !key[0].isLetterOrNumber()) key.remove(0, 1);
    return key;
}

void markTable(QTextTable* table, int n, const IndexMarker& marker, QList<IndexTarget>& targets) {
    for (int row = 1; row < table->rows(); ++row) {
        const QTextTableCell cell = table->cellAt(row, 0);
        const QString text = cellText(cell);
        if (text.isEmpty()) continue;
        IndexTarget target{QString("t%1-%2").arg(n).arg(row), {}, false};
        if (marker.kind == IndexMarker::Kind::Messages) {
            // "A / B": two texts explained together.
            for (const QString& message : text.split(" / ")) target.terms.append(message.trimmed());
            target.messages = true;
        } else {
            target.terms.append(QString(marker.terms[0]).replace('*', text));
        }
        addAnchor(cell.firstCursorPosition().block(), target.anchor);
        targets.append(target);
    }
}

}  // namespace

QTextBlock removeToken(QTextDocument& doc, const QTextBlock& token) {
    const QTextBlock previous = token.previous();
    QTextCursor cursor(&doc);
    // The first paragraph, or the one Qt keeps after a table, only loses its text.
    if (!previous.isValid() ||
        QTextCursor(previous).currentFrame() != QTextCursor(token).currentFrame()) {
        cursor.setPosition(token.position());
        cursor.setPosition(token.position() + token.length() - 1, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        return token.next();
    }
    // Found again by its position: the handle of the block before goes with the line break.
    const int before = previous.position();
    cursor.setPosition(token.position() - 1);
    cursor.setPosition(token.position() + token.length() - 1, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    return doc.findBlock(before).next();
}

QList<IndexTarget> markIndex(QTextDocument& doc, const ManualSource& source, QStringList& errors) {
    QHash<QString, QString> slugs;  // printed heading -> slug
    for (const Heading& heading : source.headings)
        slugs.insert(displayTitle(heading), heading.slug);
    QList<QTextBlock> tokens;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() > 0 && slugs.contains(block.text()))
            addAnchor(block, slugs.value(block.text()));
        if (block.text().startsWith(markerTokenPrefix)) tokens.append(block);
    }
    QList<IndexTarget> targets;
    for (const QTextBlock& token : tokens) {
        const int n = token.text().section('-', -1).toInt();
        const IndexMarker& marker = source.markers.at(n);
        const QTextBlock next = removeToken(doc, token);
        if (marker.kind == IndexMarker::Kind::Terms) {
            if (!next.isValid() || next.length() <= 1) {
                errors.append(QString("%1: nothing follows the index marker").arg(marker.line));
                continue;
            }
            targets.append({QString("t%1").arg(n), marker.terms, false});
            addAnchor(next, targets.last().anchor);
        } else if (QTextTable* table = QTextCursor(next).currentTable()) {
            markTable(table, n, marker, targets);
        } else {
            errors.append(QString("%1: no table follows the marker").arg(marker.line));
        }
    }
    return targets;
}

QList<IndexEntry> indexEntries(const QList<IndexTarget>& targets) {
    QMap<QString, IndexEntry> entries;  // by sort key, then by term
    for (const IndexTarget& target : targets) {
        for (const QString& term : target.terms) {
            IndexEntry& entry = entries[sortKey(term) + '\n' + term.toLower()];
            if (entry.term.isEmpty()) entry.term = term;
            if (!entry.anchors.contains(target.anchor)) entry.anchors.append(target.anchor);
        }
    }
    return entries.values();
}

QHash<QString, QTextBlock> anchorBlocks(const QTextDocument& doc) {
    QHash<QString, QTextBlock> blocks;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            for (const QString& name : it.fragment().charFormat().anchorNames())
                blocks.insert(name, block);
    return blocks;
}

void insertIndex(QTextDocument& doc, const QList<IndexEntry>& entries,
                 const QHash<QString, int>& pages, qreal width) {
    QTextBlock token;
    for (QTextBlock block = doc.begin(); block.isValid() && !token.isValid(); block = block.next())
        if (block.text() == indexToken) token = block;
    if (!token.isValid()) return;
    QTextCursor cursor(token);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    QTextCharFormat text;
    text.setFontPointSize(9);
    QTextCharFormat letter = text;
    letter.setFontWeight(QFont::Bold);
    QTextBlockFormat group;
    group.setTopMargin(8);
    group.setBottomMargin(2);
    // Long texts wrap under their first word; the pages stand at the right.
    QTextBlockFormat line;
    line.setLeftMargin(14);
    line.setTextIndent(-14);
    line.setTabPositions({QTextOption::Tab(width, QTextOption::RightTab)});
    QChar current;
    bool first = true;
    for (const IndexEntry& entry : entries) {
        const QString key = sortKey(entry.term);
        const QChar initial = key.isEmpty() || !key[0].isLetter() ? QChar('#') : key[0].toUpper();
        if (initial != current) {
            if (!first) cursor.insertBlock(group, letter);
            cursor.setBlockFormat(group);
            cursor.setCharFormat(letter);
            cursor.insertText(initial == '#' ? QString("Numbers and signs") : QString(initial));
            current = initial;
            first = false;
        }
        cursor.insertBlock(line, text);
        cursor.insertText(entry.term + '\t', text);
        QList<int> listed;
        for (const QString& anchor : entry.anchors) {
            const int page = pages.value(anchor);
            if (listed.contains(page)) continue;
            if (!listed.isEmpty()) cursor.insertText(", ", text);
            listed.append(page);
            QTextCharFormat link = text;
            link.setAnchor(true);
            link.setAnchorHref('#' + anchor);
            cursor.insertText(QString::number(page), link);
        }
    }
}

}  // namespace tarn::manual
