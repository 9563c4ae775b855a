#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

namespace tarn {

// The pages of the help window, made from the manual's source when the program is built
// (tools/manual, --help-data) and compiled into it, and what finds a place in them.
// Anchors are the manual's heading slugs ("read-a-radio") and the places of its index.
class HelpContent {
  public:
    struct Topic {
        QString id;  // its heading's slug
        QString title;
        int level = 2;  // 1 the cover, 2 a chapter, 3 a section
        QString html;
        QString words;  // its text in lower case, for the search
    };
    struct IndexEntry {
        QString term;
        QStringList anchors;
    };
    struct Hit {
        int topic = -1;
        QString anchor;
    };

    explicit HelpContent(const QByteArray& json);
    // The pages compiled into the program.
    static const HelpContent& compiledIn();

    QString edition() const { return edition_; }
    const QList<Topic>& topics() const { return topics_; }
    const QList<IndexEntry>& index() const { return index_; }
    int topicOf(const QString& anchor) const { return anchors_.value(anchor, -1); }

    // The entry that explains a text the program shows (a message, a status line), found by
    // the text itself: the manual's text with what "…" stands for filled in, whatever
    // follows it; the entry with the most fixed text wins. Empty when none explains it.
    QString anchorForText(const QString& shown) const;

    // The topics holding every word of the query, the most mentions first; a query that is
    // a text of the program leads with its entry.
    QList<Hit> search(const QString& query) const;

  private:
    struct Text {
        QRegularExpression pattern;
        qsizetype fixed = 0;  // characters not standing for a filled-in part
        QString anchor;
    };

    QString edition_;
    QList<Topic> topics_;
    QList<IndexEntry> index_;
    QHash<QString, int> anchors_;
    QList<Text> texts_;
};

}  // namespace tarn
