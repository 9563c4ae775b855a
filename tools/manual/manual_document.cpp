#include "manual_document.h"

#include <QAbstractTextDocumentLayout>
#include <QColor>
#include <QFontMetricsF>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QTextLayout>
#include <QTextTable>

namespace tarn::manual {

namespace {

// Marks the block that titles the contents, so its page can be found after layout.
constexpr int contentsProperty = QTextFormat::UserProperty + 1;

QList<QTextBlock> headingBlocks(const QTextDocument& doc) {
    QList<QTextBlock> blocks;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        if (block.blockFormat().headingLevel() > 0) blocks.append(block);
    return blocks;
}

QList<QTextBlock> blocksReading(const QTextDocument& doc, const QString& text) {
    QList<QTextBlock> blocks;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        if (block.text() == text) blocks.append(block);
    return blocks;
}

// Starts a page at the block, or at the table it opens.
void breakPageBefore(QTextBlock block) {
    if (!block.isValid()) return;
    if (QTextTable* table = QTextCursor(block).currentTable()) {
        QTextTableFormat format = table->format();
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        table->setFormat(format);
        return;
    }
    QTextBlockFormat format = block.blockFormat();
    format.setPageBreakPolicy(format.pageBreakPolicy() | QTextFormat::PageBreak_AlwaysBefore);
    QTextCursor(block).setBlockFormat(format);
}

bool breaksPageBefore(const QTextBlock& block) {
    const QTextTable* table = QTextCursor(block).currentTable();
    const auto policy =
        table ? table->format().pageBreakPolicy() : block.blockFormat().pageBreakPolicy();
    return policy & QTextFormat::PageBreak_AlwaysBefore;
}

// The marker's paragraph is removed with the line break before it, which leaves the block
// before it (always one outside a table, as Qt ends every table with an empty paragraph) and
// the one after it with their formats; what follows starts a page.
void breakPageAt(QTextDocument& doc, const QTextBlock& token) {
    breakPageBefore(removeToken(doc, token));
}

void insertContents(QTextBlock token, const ManualSource& source, const QList<int>& pages,
                    const QList<QTextBlock>& headings, qreal right) {
    QTextCursor cursor(token);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    QTextBlockFormat contentsTitle;
    contentsTitle.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    contentsTitle.setBottomMargin(12);
    contentsTitle.setProperty(contentsProperty, true);
    cursor.setBlockFormat(contentsTitle);
    QTextCharFormat titleText;
    titleText.setFontPointSize(18);
    titleText.setFontWeight(QFont::Bold);
    cursor.insertText("Contents", titleText);

    for (int i = 0; i < source.headings.size() && i < headings.size(); ++i) {
        const Heading& heading = source.headings[i];
        if (heading.level != 2 && heading.level != 3) continue;
        const QString printed = headings[i].text();
        const QString title = heading.appendix ? printed : printed.mid(heading.number.size() + 1);
        QTextBlockFormat entry;
        QTextCharFormat link;
        link.setFontPointSize(8.5);  // the contents fit on one page
        link.setAnchor(true);
        link.setAnchorHref('#' + heading.slug);
        QString line;
        if (heading.level == 2) {
            entry.setTopMargin(3);
            entry.setTabPositions({QTextOption::Tab(28, QTextOption::LeftTab),
                                   QTextOption::Tab(right, QTextOption::RightTab)});
            link.setFontWeight(QFont::Bold);
            line = heading.appendix ? title : heading.number + '\t' + title;
        } else {
            entry.setTabPositions({QTextOption::Tab(28, QTextOption::LeftTab),
                                   QTextOption::Tab(64, QTextOption::LeftTab),
                                   QTextOption::Tab(right, QTextOption::RightTab)});
            line = '\t' + heading.number + '\t' + title;
        }
        cursor.insertBlock(entry, link);
        cursor.insertText(line + '\t' + QString::number(pages.value(i)), link);
    }
    breakPageBefore(cursor.block().next());
}

// The first heading is the cover's title; every chapter starts on a new page.
void styleHeadings(const QList<QTextBlock>& headings) {
    for (const QTextBlock& block : headings) {
        if (block.blockFormat().headingLevel() == 2) breakPageBefore(block);
    }
    if (headings.isEmpty() || headings.first().blockFormat().headingLevel() != 1) return;
    QTextCursor cursor(headings.first());
    QTextBlockFormat cover = cursor.blockFormat();
    cover.setTopMargin(160);
    cover.setBottomMargin(12);
    cover.setAlignment(Qt::AlignHCenter);
    cursor.setBlockFormat(cover);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    QTextCharFormat large;
    large.setFontPointSize(26);
    cursor.mergeCharFormat(large);
}

}  // namespace

// Pictures and icons are loaded from their folders and sized by the rules in make_manual.cpp.
void addPictures(QTextDocument& doc, const ManualAssets& assets, qreal column,
                 QStringList& errors) {
    struct Sized {
        int position;
        int length;
        QTextImageFormat format;
    };
    QList<Sized> sized;
    const QFontMetricsF text(doc.defaultFont(), doc.documentLayout()->paintDevice());
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat()) continue;
            QTextImageFormat format = fragment.charFormat().toImageFormat();
            const QString name = format.name();
            const bool icon = name.startsWith("icon:");
            const QImage picture(icon ? assets.iconFolder + '/' + name.mid(5) + ".png"
                                      : assets.imageFolder + '/' + name);
            if (picture.isNull()) {
                errors.append("missing image: " + name);
                continue;
            }
            doc.addResource(QTextDocument::ImageResource, QUrl(name), picture);
            QSizeF size = picture.size();
            if (icon) {
                size *= text.height() / size.height();
                format.setVerticalAlignment(QTextCharFormat::AlignBottom);
            } else {
                if (name.endsWith("@2x.png")) size /= 2;
                if (size.width() > column) size *= column / size.width();
            }
            format.setWidth(size.width());
            format.setHeight(size.height());
            sized.append({fragment.position(), fragment.length(), format});
        }
    }
    for (const Sized& picture : sized) {
        QTextCursor cursor(&doc);
        cursor.setPosition(picture.position);
        cursor.setPosition(picture.position + picture.length, QTextCursor::KeepAnchor);
        cursor.setCharFormat(picture.format);
    }
}

// Tables get room around their text, a shaded header row repeated on each page, and span
// the column like a printed form.
void styleTables(QTextFrame* frame) {
    for (QTextFrame* child : frame->childFrames()) {
        if (auto* table = qobject_cast<QTextTable*>(child)) {
            QTextTableFormat format = table->format();
            format.setCellPadding(4);
            format.setCellSpacing(0);
            format.setBorder(0.5);
            format.setBorderBrush(QColor(0x88, 0x88, 0x88));
            format.setBorderCollapse(true);
            format.setHeaderRowCount(1);
            format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
            table->setFormat(format);
            for (int column = 0; column < table->columns(); ++column) {
                QTextTableCell cell = table->cellAt(0, column);
                QTextTableCellFormat header = cell.format().toTableCellFormat();
                header.setBackground(QColor(0xee, 0xee, 0xee));
                cell.setFormat(header);
            }
        }
        styleTables(child);
    }
}

QFont textFont(qreal pointSize) {
    QFont font("DejaVu Sans");
    font.setPointSizeF(pointSize);
    // Qt's shaper turns ligatures off for text with letter spacing; a spacing this small
    // moves no letter visibly.
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0.02);
    return font;
}

void addEdition(QTextDocument& doc, const QString& edition) {
    const QTextBlock title = doc.begin();
    if (edition.isEmpty() || title.blockFormat().headingLevel() != 1) return;
    QTextCursor cursor(title);
    cursor.movePosition(QTextCursor::EndOfBlock);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    centred.setBottomMargin(36);
    QTextCharFormat text;
    text.setFontPointSize(11);
    cursor.insertBlock(centred, text);
    cursor.insertText(edition, text);
}

QList<IndexTarget> buildDocument(QTextDocument& doc, const ManualSource& source,
                                 const PagePlan& plan, const ManualAssets& assets,
                                 const QString& edition, QSizeF pageSize, QStringList& errors) {
    doc.setDefaultFont(textFont(10));
    // Clears the resources: pictures come after it.
    doc.setMarkdown(qtMarkdown(source, plan.pages));
    const qreal column = pageSize.width() - 2 * doc.documentMargin();
    const QList<QTextBlock> headings = headingBlocks(doc);
    styleHeadings(headings);
    for (const int heading : plan.pushed) breakPageBefore(headings.value(heading));
    for (const QTextBlock& token : blocksReading(doc, contentsToken))
        insertContents(token, source, plan.pages, headings, column);
    for (const QTextBlock& token : blocksReading(doc, pageBreakToken)) breakPageAt(doc, token);
    const QList<IndexTarget> targets = markIndex(doc, source, errors);
    insertIndex(doc, indexEntries(targets), plan.anchorPages, column);
    addEdition(doc, edition);
    addPictures(doc, assets, column, errors);
    styleTables(doc.rootFrame());
    // Last: Qt's incremental relayout after edits to a paged document can leave blocks with
    // no lines (not drawn at all), so the pages are laid out once, complete.
    doc.setPageSize(pageSize);
    return targets;
}

Layout locate(const QTextDocument& doc, const ManualSource& source, QStringList& errors) {
    const qreal height = doc.pageSize().height();
    // By its first line: a line that did not fit moves to the next page without its block.
    const auto place = [&](const QTextBlock& block) {
        qreal top = doc.documentLayout()->blockBoundingRect(block).top();
        if (block.layout()->lineCount() > 0) top += block.layout()->lineAt(0).y();
        const int page = int(top / height);
        return Placement{page + 1, top - page * height, block.text()};
    };
    Layout layout;
    layout.pageCount = doc.pageCount();
    const QList<QTextBlock> headings = headingBlocks(doc);
    if (headings.size() != source.headings.size()) {
        errors.append(QString("Qt's Markdown reader sees %1 headings where lines starting with "
                              "# give %2: write every heading with #, never underlined")
                          .arg(headings.size())
                          .arg(source.headings.size()));
        return layout;
    }
    for (const QTextBlock& block : headings) layout.headings.append(place(block));
    const QHash<QString, QTextBlock> anchors = anchorBlocks(doc);
    for (auto it = anchors.cbegin(); it != anchors.cend(); ++it)
        layout.anchors.insert(it.key(), place(it.value()));
    for (qsizetype i = 0; i < headings.size(); ++i) {
        const QTextBlock next = headings[i].next();
        if (next.isValid() && next.blockFormat().headingLevel() == 0 && !breaksPageBefore(next) &&
            place(next).page > layout.headings[i].page)
            layout.stranded.insert(int(i));
    }
    int unlaid = 0;
    QList<qreal> filled(layout.pageCount, 0);  // the lowest line on each page
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().boolProperty(contentsProperty)) layout.contents = place(block);
        if (!block.text().isEmpty() && block.layout()->lineCount() == 0) ++unlaid;
        const qreal top = doc.documentLayout()->blockBoundingRect(block).top();
        for (int i = 0; i < block.layout()->lineCount(); ++i) {
            const QTextLine line = block.layout()->lineAt(i);
            const int page = int((top + line.y()) / height);
            if (page < filled.size())
                filled[page] =
                    std::max(filled[page], top + line.y() + line.height() - page * height);
        }
    }
    for (int page = 1; page + 1 < filled.size(); ++page)
        if (filled[page] < height / 10) layout.sparse.append(page + 1);
    // A paragraph the layout skipped would silently be missing from the manual.
    if (unlaid > 0) errors.append(QString("%1 paragraphs were left out of the layout").arg(unlaid));
    return layout;
}

void paintPages(QTextDocument& doc, QPagedPaintDevice& device, const QString& footerTitle) {
    const QSizeF body = doc.pageSize();
    const qreal margin = doc.documentMargin();
    QPainter painter(&device);
    // Screenshots keep every pixel instead of being compressed as JPEG.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    for (int page = 0; page < doc.pageCount(); ++page) {
        if (page > 0) device.newPage();
        painter.save();
        painter.translate(0, -page * body.height());
        doc.drawContents(&painter, QRectF(0, page * body.height(), body.width(), body.height()));
        painter.restore();
        if (page == 0) continue;
        const qreal rule = body.height() + 6;
        painter.setPen(QPen(QColor(0x88, 0x88, 0x88), 0.5));
        painter.drawLine(QPointF(margin, rule), QPointF(body.width() - margin, rule));
        painter.setPen(QColor(0x44, 0x44, 0x44));
        painter.setFont(textFont(7));
        const QRectF footer(margin, rule + 3, body.width() - 2 * margin, 16);
        painter.drawText(footer, Qt::AlignLeft | Qt::AlignTop, footerTitle);
        painter.drawText(footer, Qt::AlignRight | Qt::AlignTop, QString("Page %1").arg(page + 1));
    }
}

}  // namespace tarn::manual
