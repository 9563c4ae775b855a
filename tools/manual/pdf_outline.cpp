#include "pdf_outline.h"

#include <QMap>
#include <QRegularExpression>

namespace tarn::manual {

namespace {

struct Original {
    QHash<int, qsizetype> offsets;  // object number -> file offset
    qsizetype xref = 0;
    int size = 0;
    int root = 0;
    QByteArray info;  // "/Info N 0 R" and "/ID [...]" lines to carry over
    QList<int> pages;
};

QByteArray capture(const QByteArray& text, const char* pattern, int group = 1) {
    const auto match = QRegularExpression(pattern).match(QString::fromLatin1(text));
    return match.hasMatch() ? match.captured(group).toLatin1() : QByteArray();
}

QByteArray objectBody(const QByteArray& pdf, qsizetype offset) {
    const qsizetype start = pdf.indexOf("obj", offset);
    const qsizetype end = pdf.indexOf("endobj", offset);
    if (start < 0 || end < start) return {};
    return pdf.mid(start + 3, end - start - 3).trimmed();
}

bool readOriginal(const QByteArray& pdf, Original& original, QString& error) {
    const qsizetype startxref = pdf.lastIndexOf("startxref");
    original.xref = capture(pdf.mid(startxref), R"(startxref\s+(\d+))").toLongLong();
    if (startxref < 0 || original.xref <= 0 || !pdf.mid(original.xref).startsWith("xref")) {
        error = "no cross-reference table";
        return false;
    }
    const qsizetype trailer = pdf.indexOf("trailer", original.xref);
    const QList<QByteArray> lines = pdf.mid(original.xref, trailer - original.xref).split('\n');
    int number = 0;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QList<QByteArray> fields = lines[i].simplified().split(' ');
        if (fields.size() == 2) {
            number = fields[0].toInt();
        } else if (fields.size() == 3) {
            if (fields[2] == "n") original.offsets.insert(number, fields[0].toLongLong());
            ++number;
        }
    }
    const QByteArray dict = pdf.mid(trailer, startxref - trailer);
    original.size = capture(dict, R"(/Size\s+(\d+))").toInt();
    original.root = capture(dict, R"(/Root\s+(\d+)\s+0\s+R)").toInt();
    for (const char* key : {R"((/Info\s+\d+\s+0\s+R))", R"((/ID\s*\[[^\]]*\]))"})
        if (const QByteArray entry = capture(dict, key); !entry.isEmpty())
            original.info += entry + '\n';
    const QByteArray catalog = objectBody(pdf, original.offsets.value(original.root));
    const int pagesObject = capture(catalog, R"(/Pages\s+(\d+)\s+0\s+R)").toInt();
    const QByteArray kids =
        capture(objectBody(pdf, original.offsets.value(pagesObject)), R"(/Kids\s*\[([^\]]*)\])");
    static const QRegularExpression reference(R"((\d+)\s+0\s+R)");
    for (auto it = reference.globalMatch(QString::fromLatin1(kids)); it.hasNext();)
        original.pages.append(it.next().captured(1).toInt());
    if (original.size <= 0 || !catalog.contains("/Catalog") || !catalog.endsWith(">>") ||
        original.pages.isEmpty() || catalog.contains("/Outlines")) {
        error = "unexpected document catalog";
        return false;
    }
    return true;
}

QByteArray real(qreal value) {
    return QByteArray::number(value, 'f', 2);
}

// A text string in UTF-16 with its byte order mark, so any title survives.
QByteArray pdfText(const QString& text) {
    QByteArray hex = "<FEFF";
    for (const QChar c : text) hex += QByteArray::number(c.unicode(), 16).rightJustified(4, '0');
    return hex.toUpper() + '>';
}

class Update {
  public:
    Update(const QByteArray& pdf, const Original& original) : pdf_(pdf), original_(original) {
        if (!pdf_.endsWith('\n')) pdf_ += '\n';
    }

    QByteArray destination(const PdfPlace& place) const {
        return '[' + QByteArray::number(original_.pages.value(place.page - 1)) + " 0 R /XYZ " +
               real(place.point.x()) + ' ' + real(place.point.y()) + " null]";
    }

    void write(int number, const QByteArray& body) {
        offsets_.insert(number, pdf_.size());
        pdf_ += QByteArray::number(number) + " 0 obj\n" + body + "\nendobj\n";
    }

    QByteArray finish(int size) {
        if (offsets_.isEmpty()) return pdf_;  // nothing to add: the file as Qt wrote it
        const qsizetype xref = pdf_.size();
        pdf_ += "xref\n";
        for (auto it = offsets_.cbegin(); it != offsets_.cend();) {
            auto end = it;
            int count = 0;
            while (end != offsets_.cend() && end.key() == it.key() + count) ++end, ++count;
            pdf_ += QByteArray::number(it.key()) + ' ' + QByteArray::number(count) + '\n';
            for (; it != end; ++it)
                pdf_ += QByteArray::number(it.value()).rightJustified(10, '0') + " 00000 n \n";
        }
        pdf_ += "trailer\n<<\n/Size " + QByteArray::number(size) + "\n/Root " +
                QByteArray::number(original_.root) + " 0 R\n" + original_.info + "/Prev " +
                QByteArray::number(original_.xref) + "\n>>\nstartxref\n" +
                QByteArray::number(xref) + "\n%%EOF\n";
        return pdf_;
    }

  private:
    QByteArray pdf_;
    const Original& original_;
    QMap<int, qsizetype> offsets_;
};

// Qt writes a link annotation with a /URI action for every anchor; those naming "#slug" are
// rewritten in place to go to the heading instead.
bool relink(const QByteArray& pdf, Update& update, const QHash<QString, PdfPlace>& targets,
            QString& error) {
    for (qsizetype at = pdf.indexOf("/URI (#"); at >= 0; at = pdf.indexOf("/URI (#", at + 1)) {
        const qsizetype object = pdf.lastIndexOf(" 0 obj", at);
        qsizetype start = object;
        while (start > 0 && pdf[start - 1] >= '0' && pdf[start - 1] <= '9') --start;
        const QByteArray head = pdf.mid(object, at - object);
        const QByteArray rect = capture(head, R"((/Rect\s*\[[^\]]*\]))");
        const qsizetype slugEnd = pdf.indexOf(')', at);
        const QString slug = QString::fromLatin1(pdf.mid(at + 7, slugEnd - at - 7));
        if (start == object || rect.isEmpty() || !head.contains("/Subtype /Link") ||
            !targets.contains(slug)) {
            error = "cannot resolve the link to #" + slug;
            return false;
        }
        update.write(pdf.mid(start, object - start).toInt(),
                     "<<\n/Type /Annot\n/Subtype /Link\n" + rect + "\n/Border [0 0 0]\n/Dest " +
                         update.destination(targets.value(slug)) + "\n>>");
    }
    return true;
}

}  // namespace

QByteArray addOutline(const QByteArray& pdf, const QList<Bookmark>& bookmarks,
                      const QHash<QString, PdfPlace>& targets, QString& error) {
    Original original;
    if (!readOriginal(pdf, original, error)) return {};
    Update update(pdf, original);
    if (!relink(pdf, update, targets, error)) return {};

    // Objects numbered from the old size: the outline root, then one per bookmark.
    const int root = original.size;
    const auto numberOf = [&](qsizetype i) { return root + 1 + int(i); };
    QList<qsizetype> parent(bookmarks.size(), -1);
    QList<QList<qsizetype>> children(bookmarks.size());
    QList<qsizetype> topLevel;
    for (qsizetype i = 0; i < bookmarks.size(); ++i) {
        if (bookmarks[i].depth > 0 && !topLevel.isEmpty()) {
            parent[i] = topLevel.last();
            children[topLevel.last()].append(i);
        } else {
            topLevel.append(i);
        }
    }
    const auto links = [&](const QList<qsizetype>& siblings, qsizetype index, int parentNumber) {
        const qsizetype at = siblings.indexOf(index);
        QByteArray text = "/Parent " + QByteArray::number(parentNumber) + " 0 R\n";
        if (at > 0) text += "/Prev " + QByteArray::number(numberOf(siblings[at - 1])) + " 0 R\n";
        if (at + 1 < siblings.size())
            text += "/Next " + QByteArray::number(numberOf(siblings[at + 1])) + " 0 R\n";
        return text;
    };
    const auto firstLast = [&](const QList<qsizetype>& kids, qsizetype shownCount) {
        if (kids.isEmpty()) return QByteArray();
        return "/First " + QByteArray::number(numberOf(kids.first())) + " 0 R\n/Last " +
               QByteArray::number(numberOf(kids.last())) + " 0 R\n/Count " +
               QByteArray::number(shownCount) + '\n';
    };
    if (!topLevel.isEmpty()) {
        update.write(root, "<<\n/Type /Outlines\n" + firstLast(topLevel, topLevel.size()) + ">>");
        for (qsizetype i = 0; i < bookmarks.size(); ++i) {
            const QList<qsizetype>& siblings = parent[i] < 0 ? topLevel : children[parent[i]];
            // Chapters start closed: the panel lists the chapters, a click opens one.
            update.write(numberOf(i),
                         "<<\n/Title " + pdfText(bookmarks[i].title) + '\n' +
                             links(siblings, i, parent[i] < 0 ? root : numberOf(parent[i])) +
                             firstLast(children[i], -children[i].size()) + "/Dest " +
                             update.destination(bookmarks[i].place) + "\n>>");
        }
        QByteArray catalog = objectBody(pdf, original.offsets.value(original.root));
        catalog.chop(2);  // ">>"
        update.write(original.root, catalog + "/Outlines " + QByteArray::number(root) +
                                        " 0 R\n/PageMode /UseOutlines\n>>");
    }
    return update.finish(topLevel.isEmpty() ? original.size : numberOf(bookmarks.size()));
}

}  // namespace tarn::manual
