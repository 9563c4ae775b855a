#include "shell/help_content.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

namespace tarn {

namespace {

const QRegularExpression& wordBreaks() {
    static const QRegularExpression breaks("[^\\p{L}\\p{N}]+");
    return breaks;
}

}  // namespace

HelpContent::HelpContent(const QByteArray& json) {
    const QJsonObject data = QJsonDocument::fromJson(json).object();
    edition_ = data.value("edition").toString();
    for (const QJsonValue value : data.value("topics").toArray()) {
        const QJsonObject topic = value.toObject();
        const QString title = topic.value("title").toString();
        topics_.append({topic.value("id").toString(), title, topic.value("level").toInt(),
                        topic.value("html").toString(),
                        (title + '\n' + topic.value("text").toString()).toLower()});
    }
    const QJsonObject anchors = data.value("anchors").toObject();
    for (auto it = anchors.begin(); it != anchors.end(); ++it)
        anchors_.insert(it.key(), it.value().toInt());
    for (const QJsonValue value : data.value("index").toArray()) {
        const QJsonObject entry = value.toObject();
        QStringList places;
        for (const QJsonValue anchor : entry.value("anchors").toArray())
            places.append(anchor.toString());
        index_.append({entry.value("term").toString(), places});
    }
    for (const QJsonValue value : data.value("messages").toArray()) {
        const QJsonObject message = value.toObject();
        QStringList pieces = message.value("text").toString().simplified().split(QChar(0x2026));
        Text text;
        for (QString& piece : pieces) {
            text.fixed += piece.size();
            piece = QRegularExpression::escape(piece);
        }
        text.pattern = QRegularExpression('^' + pieces.join("(.*)"));
        text.anchor = message.value("anchor").toString();
        texts_.append(text);
    }
}

const HelpContent& HelpContent::compiledIn() {
    static const HelpContent content = [] {
        QFile file(":/help/help.json");
        return HelpContent(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
    }();
    return content;
}

QString HelpContent::anchorForText(const QString& shown) const {
    const QString text = shown.simplified();
    const Text* best = nullptr;
    for (const Text& candidate : texts_)
        if ((!best || candidate.fixed > best->fixed) && candidate.pattern.match(text).hasMatch())
            best = &candidate;
    return best ? best->anchor : QString();
}

QList<HelpContent::Hit> HelpContent::search(const QString& query) const {
    QList<Hit> hits;
    if (const QString anchor = anchorForText(query); !anchor.isEmpty())
        hits.append({topicOf(anchor), anchor});
    const QStringList words = query.toLower().split(wordBreaks(), Qt::SkipEmptyParts);
    if (words.isEmpty()) return hits;
    QList<std::pair<qsizetype, int>> scored;  // mentions, topic
    for (int topic = 0; topic < topics_.size(); ++topic) {
        qsizetype mentions = 0;
        for (const QString& word : words) {
            const qsizetype count = topics_[topic].words.count(word);
            if (count == 0) {
                mentions = 0;
                break;
            }
            mentions += count;
        }
        if (mentions > 0) scored.append({mentions, topic});
    }
    std::stable_sort(scored.begin(), scored.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    for (const auto& [mentions, topic] : scored)
        if (hits.isEmpty() || hits.first().topic != topic) hits.append({topic, QString()});
    return hits;
}

}  // namespace tarn
