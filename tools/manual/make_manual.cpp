// Renders the dealer's manual (Markdown with screenshots) into a PDF with Qt's own
// Markdown reader and PDF writer, so no document toolchain is needed.
//
//   tarn-make-manual INPUT.md OUTPUT.pdf
#include <QColor>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QTextTable>
#include <cstdio>

namespace {

QString readText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

// Images named in the text are loaded relative to the manual's folder up front, so the
// document never depends on how a resource is looked up later.
bool addImages(QTextDocument& doc, const QString& markdown, const QString& folder) {
    static const QRegularExpression image(R"(!\[[^\]]*\]\(([^)\s]+)\))");
    bool ok = true;
    for (auto it = image.globalMatch(markdown); it.hasNext();) {
        const QString name = it.next().captured(1);
        QImage picture(folder + "/" + name);
        if (picture.isNull()) {
            std::fprintf(stderr, "missing image: %s\n", qPrintable(name));
            ok = false;
            continue;
        }
        doc.addResource(QTextDocument::ImageResource, QUrl(name), picture);
    }
    return ok;
}

// Screenshots wider than the text column are scaled down to fit it.
void fitImages(QTextDocument& doc, qreal columnWidth) {
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat()) continue;
            QTextImageFormat format = fragment.charFormat().toImageFormat();
            const QImage picture =
                doc.resource(QTextDocument::ImageResource, QUrl(format.name())).value<QImage>();
            if (picture.isNull()) continue;
            qreal width = picture.width();
            qreal height = picture.height();
            if (width > columnWidth) {
                height = height * columnWidth / width;
                width = columnWidth;
            }
            format.setWidth(width);
            format.setHeight(height);
            QTextCursor cursor(&doc);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(format);
        }
    }
}

// Tables get room around their text and span the column, like a printed form.
void styleTables(QTextFrame* frame) {
    for (QTextFrame* child : frame->childFrames()) {
        if (auto* table = qobject_cast<QTextTable*>(child)) {
            QTextTableFormat format = table->format();
            format.setCellPadding(4);
            format.setCellSpacing(0);
            format.setBorder(0.5);
            format.setBorderBrush(QColor(0x88, 0x88, 0x88));
            format.setBorderCollapse(true);
            format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
            table->setFormat(format);
        }
        styleTables(child);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: tarn-make-manual INPUT.md OUTPUT.pdf\n");
        return 2;
    }
    const QString input = QString::fromLocal8Bit(argv[1]);
    const QString output = QString::fromLocal8Bit(argv[2]);
    const QString markdown = readText(input);
    if (markdown.isEmpty()) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }

    QPdfWriter writer(output);
    writer.setTitle("Tarn DataBase - Dealer's manual");
    writer.setCreator("Tarn DataBase");
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(20, 18, 20, 18), QPageLayout::Millimeter));
    writer.setResolution(96);

    QTextDocument doc;
    QFont font("DejaVu Sans", 10);
    doc.setDefaultFont(font);
    doc.setMarkdown(markdown);  // clears the resources, so the images come after it
    const bool imagesOk = addImages(doc, markdown, QFileInfo(input).absolutePath());
    const QRectF page = writer.pageLayout().paintRectPixels(writer.resolution());
    doc.setPageSize(page.size());
    fitImages(doc, page.width() - 8);
    styleTables(doc.rootFrame());
    doc.print(&writer);
    return imagesOk ? 0 : 1;
}
