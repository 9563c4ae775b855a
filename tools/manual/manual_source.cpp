#include "manual_source.h"

#include <QRegularExpression>

namespace tarn::manual {

namespace {

const QString appendixPrefix = QStringLiteral("Appendix: ");

const QRegularExpression& headingPattern() {
    static const QRegularExpression pattern(R"(^ {0,3}(#{1,6})[ \t]+(.*?)(?:[ \t]+#+)?[ \t]*$)");
    return pattern;
}

// [](#slug) or [words](#slug), not an image.
const QRegularExpression& referencePattern() {
    static const QRegularExpression pattern(R"((?<!!)\[([^\]]*)\]\(#([^)\s]*)\))");
    return pattern;
}

// <!-- index: a; b -->, <!-- index rows: * (File menu) -->, <!-- messages -->, <!-- index -->
const QRegularExpression& markerPattern() {
    static const QRegularExpression pattern(
        R"(^<!--\s*(index rows|index|messages)\s*(?::\s*(.*?))?\s*-->\s*$)");
    return pattern;
}

QList<bool> fencedLines(const QStringList& lines) {
    static const QRegularExpression fence(R"(^ {0,3}(```|~~~))");
    QList<bool> code;
    QString open;
    for (const QString& line : lines) {
        const auto match = fence.match(line);
        if (match.hasMatch() && (open.isEmpty() || match.captured(1) == open)) {
            open = open.isEmpty() ? match.captured(1) : QString();
            code.append(true);
        } else {
            code.append(!open.isEmpty());
        }
    }
    return code;
}

QString escapedLinkText(QString text) {
    return text.replace('[', "\\[").replace(']', "\\]");
}

}  // namespace

int ManualSource::find(const QString& slug) const {
    for (int i = 0; i < headings.size(); ++i)
        if (headings[i].slug == slug) return i;
    return -1;
}

QString slugOf(const QString& text) {
    QString slug;
    for (const QChar c : text.toLower()) {
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
            slug += c;
        else if (!slug.isEmpty() && !slug.endsWith('-'))
            slug += '-';
    }
    while (slug.endsWith('-')) slug.chop(1);
    return slug;
}

ManualSource parseManual(const QString& markdown) {
    ManualSource source;
    source.lines = markdown.split('\n');
    for (QString& line : source.lines)
        if (line.endsWith('\r')) line.chop(1);
    source.code = fencedLines(source.lines);

    int chapters = 0, appendices = 0, sections = 0;
    QString chapter, enclosing;  // number phrases of the current chapter and section
    for (int i = 0; i < source.lines.size(); ++i) {
        if (source.code[i]) continue;
        const auto match = headingPattern().match(source.lines[i]);
        if (!match.hasMatch()) continue;
        Heading heading;
        heading.level = int(match.capturedLength(1));
        heading.text = match.captured(2);
        heading.slug = slugOf(heading.text);
        heading.line = i + 1;
        if (heading.level == 2) {
            heading.appendix = heading.text.startsWith(appendixPrefix);
            heading.number =
                heading.appendix ? QString(QChar('A' + appendices++)) : QString::number(++chapters);
            sections = 0;
            chapter = heading.number;
            enclosing = (heading.appendix ? "appendix " : "chapter ") + heading.number;
        } else if (heading.level == 3 && !chapter.isEmpty()) {
            heading.number = chapter + '.' + QString::number(++sections);
            enclosing = "section " + heading.number;
        } else if (heading.level > 3) {
            heading.within = enclosing;
        }
        if (const int other = source.find(heading.slug); other >= 0 && !heading.slug.isEmpty())
            source.errors.append(QString("%1: duplicate heading: #%2 (also on line %3)")
                                     .arg(heading.line)
                                     .arg(heading.slug)
                                     .arg(source.headings[other].line));
        source.headingAtLine.insert(i, int(source.headings.size()));
        source.headings.append(heading);
    }

    for (int i = 0; i < source.lines.size(); ++i) {
        if (source.code[i]) continue;
        const auto marker = markerPattern().match(source.lines[i]);
        if (!marker.hasMatch() || (marker.captured(1) == "index" && !marker.hasCaptured(2)))
            continue;
        IndexMarker found;
        found.line = i + 1;
        const QString kind = marker.captured(1);
        found.kind = kind == "messages" ? IndexMarker::Kind::Messages
                     : kind == "index"  ? IndexMarker::Kind::Terms
                                        : IndexMarker::Kind::Rows;
        for (const QString& term : marker.captured(2).split(';'))
            if (!term.trimmed().isEmpty()) found.terms.append(term.trimmed());
        const bool wantsTerms = found.kind != IndexMarker::Kind::Messages;
        if (wantsTerms == found.terms.isEmpty() ||
            (found.kind == IndexMarker::Kind::Rows &&
             (found.terms.size() != 1 || !found.terms[0].contains('*'))))
            source.errors.append(
                QString("%1: malformed marker: %2").arg(i + 1).arg(source.lines[i]));
        source.markerAtLine.insert(i, int(source.markers.size()));
        source.markers.append(found);
    }

    for (int i = 0; i < source.lines.size(); ++i) {
        if (source.code[i]) continue;
        for (auto it = referencePattern().globalMatch(source.lines[i]); it.hasNext();) {
            const QString slug = it.next().captured(2);
            if (source.find(slug) < 0)
                source.errors.append(QString("%1: unknown reference: #%2").arg(i + 1).arg(slug));
        }
    }
    return source;
}

QString markerToken(int n) {
    return markerTokenPrefix + QString::number(n);
}

QString displayTitle(const Heading& heading) {
    if (heading.appendix)
        return "Appendix " + heading.number + ": " + heading.text.mid(appendixPrefix.size());
    return heading.number.isEmpty() ? heading.text : heading.number + ' ' + heading.text;
}

QString referenceText(const Heading& heading, int page) {
    const QString onPage = page > 0 ? QString(" (page %1)").arg(page) : QString();
    if (heading.appendix)
        return "appendix " + heading.number + " \"" + heading.text.mid(appendixPrefix.size()) +
               '"' + onPage;
    if (heading.level == 2)
        return "chapter " + heading.number + " \"" + heading.text + '"' + onPage;
    if (!heading.number.isEmpty())
        return "section " + heading.number + " \"" + heading.text + '"' + onPage;
    if (!heading.within.isEmpty()) return '"' + heading.text + "\" in " + heading.within + onPage;
    return '"' + heading.text + '"' + onPage;
}

QString qtMarkdown(const ManualSource& source, const QList<int>& pages, int first, int end) {
    QStringList out;
    if (end < 0) end = int(source.lines.size());
    for (int i = first; i < end; ++i) {
        const QString& line = source.lines[i];
        if (source.code[i]) {
            out.append(line);
        } else if (const auto heading = source.headingAtLine.constFind(i);
                   heading != source.headingAtLine.cend()) {
            const Heading& h = source.headings[*heading];
            out.append(QString(h.level, '#') + ' ' + displayTitle(h));
        } else if (line.trimmed() == "<!-- page -->") {
            out << QString() << pageBreakToken << QString();
        } else if (line.trimmed() == "<!-- contents -->") {
            out << QString() << contentsToken << QString();
        } else if (line.trimmed() == "<!-- index -->") {
            out << QString() << indexToken << QString();
        } else if (const auto marker = source.markerAtLine.constFind(i);
                   marker != source.markerAtLine.cend()) {
            out << QString() << markerToken(*marker) << QString();
        } else {
            QString resolved;
            qsizetype done = 0;
            for (auto it = referencePattern().globalMatch(line); it.hasNext();) {
                const auto match = it.next();
                resolved += line.mid(done, match.capturedStart() - done);
                const int target = source.find(match.captured(2));
                const QString words = match.captured(1).isEmpty() && target >= 0
                                          ? escapedLinkText(referenceText(source.headings[target],
                                                                          pages.value(target)))
                                          : match.captured(1);
                resolved += '[' + words + "](#" + match.captured(2) + ')';
                done = match.capturedEnd();
            }
            // Qt's reader drops an image without alternative text, so the icons get one.
            resolved += line.mid(done);
            out.append(resolved.replace("![](", "![image]("));
        }
    }
    return out.join('\n');
}

}  // namespace tarn::manual
