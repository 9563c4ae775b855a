#include "manual_help.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextBlock>
#include <QTextDocument>

#include "manual_index.h"

namespace tarn::manual {

namespace {

// Pictures wider than this (screen pixels) are scaled down in the help window.
constexpr qreal widestPicture = 620;

struct Topic {
    int heading;  // index into the source's headings
    int first;    // its lines, 0-based, end exclusive
    int end;
};

// Every heading of level 1 to 3 starts a topic that runs to the next one.
QList<Topic> topicsOf(const ManualSource& source) {
    QList<Topic> topics;
    for (int i = 0; i < source.headings.size(); ++i) {
        if (source.headings[i].level > 3) continue;
        if (!topics.isEmpty()) topics.last().end = source.headings[i].line - 1;
        topics.append({i, source.headings[i].line - 1, int(source.lines.size())});
    }
    return topics;
}

bool holdsIndex(const ManualSource& source, const Topic& topic) {
    for (int line = topic.first; line < topic.end; ++line)
        if (source.lines[line].trimmed() == "<!-- index -->") return true;
    return false;
}

// A chapter's page ends with links to its sections.
QString sectionList(const ManualSource& source, const Topic& topic) {
    QString list;
    if (source.headings[topic.heading].level != 2) return list;
    for (int i = topic.heading + 1; i < source.headings.size(); ++i) {
        if (source.headings[i].level == 2) break;
        if (source.headings[i].level == 3) list += "\n- [](#" + source.headings[i].slug + ')';
    }
    return list.isEmpty() ? list : "\n\nIn this chapter:\n" + list + '\n';
}

void removeTokens(QTextDocument& doc) {
    QList<QTextBlock> tokens;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        if (block.text() == pageBreakToken || block.text() == contentsToken ||
            block.text() == indexToken)
            tokens.append(block);
    for (const QTextBlock& token : tokens) removeToken(doc, token);
}

}  // namespace

QByteArray helpPages(const ManualSource& source, const ManualAssets& assets, const QString& edition,
                     QStringList& errors) {
    QJsonArray topics, messages, index;
    QJsonObject anchors;
    QList<IndexTarget> targets;
    for (const Topic& topic : topicsOf(source)) {
        if (holdsIndex(source, topic)) continue;  // the window's own index list stands for it
        QTextDocument doc;
        doc.setDefaultFont(textFont(10));
        doc.setMarkdown(qtMarkdown(source, {}, topic.first, topic.end) +
                        sectionList(source, topic));
        removeTokens(doc);
        const QList<IndexTarget> marked = markIndex(doc, source, errors);
        targets += marked;
        addEdition(doc, edition);
        addPictures(doc, assets, widestPicture, errors);
        styleTables(doc.rootFrame());
        const int number = int(topics.size());
        for (const QString& anchor : anchorBlocks(doc).keys()) anchors.insert(anchor, number);
        const Heading& heading = source.headings[topic.heading];
        topics.append(QJsonObject{{"id", heading.slug},
                                  {"title", displayTitle(heading)},
                                  {"level", heading.level},
                                  {"html", doc.toHtml()},
                                  {"text", doc.toPlainText()}});
    }
    for (const IndexTarget& target : targets)
        if (target.messages)
            for (const QString& text : target.terms)
                messages.append(QJsonObject{{"text", text}, {"anchor", target.anchor}});
    for (const IndexEntry& entry : indexEntries(targets))
        index.append(QJsonObject{{"term", entry.term},
                                 {"anchors", QJsonArray::fromStringList(entry.anchors)}});
    const QString title = source.headings.value(0).level == 1 ? source.headings[0].text : "";
    return QJsonDocument(QJsonObject{{"title", title},
                                     {"edition", edition},
                                     {"topics", topics},
                                     {"anchors", anchors},
                                     {"index", index},
                                     {"messages", messages}})
        .toJson(QJsonDocument::Compact);
}

}  // namespace tarn::manual
