#include "shell/help_window.h"

#include <QDesktopServices>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextBrowser>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "shell/artwork.h"
#include "shell/help_content.h"
#include "shell/shell_services.h"

namespace tarn {

namespace {

constexpr int kAnchorRole = Qt::UserRole;
constexpr int kTopicRole = Qt::UserRole + 1;
const QColor kMarked(0xff, 0xee, 0x88);  // found words and the entry sought

// A topic's page and its pictures come from the program's resources: "images/x.png" is a
// screenshot of the manual, "icon:NAME" a toolbar image.
class HelpPage final : public QTextBrowser {
  public:
    HelpPage(const HelpContent& content, QWidget* parent)
        : QTextBrowser(parent), content_(content) {}

    QVariant loadResource(int type, const QUrl& name) override {
        if (type == QTextDocument::HtmlResource && name.scheme() == "help") {
            const int topic = content_.topicOf(name.path());
            return topic < 0 ? QVariant() : QVariant(content_.topics()[topic].html);
        }
        if (type == QTextDocument::ImageResource && name.scheme() == "icon")
            return QImage(":/images/toolbar/" + name.path() + ".png");
        if (type == QTextDocument::ImageResource && name.path().startsWith("images/"))
            return QImage(":/help/" + name.path());
        return QTextBrowser::loadResource(type, name);
    }

  private:
    const HelpContent& content_;
};

// What a term starts with for typing in the index: no quotes, dashes or "…" first.
QString indexKey(const QString& term) {
    QString key = term.toLower();
    while (!key.isEmpty() && !key[0].isLetterOrNumber()) key.remove(0, 1);
    return key;
}

QTreeWidget* plainTree(QWidget* parent) {
    auto* tree = new QTreeWidget(parent);
    tree->setHeaderHidden(true);
    tree->setColumnCount(1);
    tree->header()->setStretchLastSection(true);
    return tree;
}

}  // namespace

HelpWindow::HelpWindow(const HelpContent& content, QWidget* parent)
    : QWidget(parent, Qt::Window), content_(content) {
    setWindowTitle("Tarn DataBase Help");
    setWindowIcon(applicationIcon());
    page_ = new HelpPage(content_, this);
    page_->setOpenLinks(false);
    connect(page_, &QTextBrowser::anchorClicked, this, &HelpWindow::followLink);
    connect(page_, &QTextBrowser::sourceChanged, this, &HelpWindow::pageChanged);

    auto* tools = new QToolBar(this);
    tools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QAction* back = tools->addAction(style()->standardIcon(QStyle::SP_ArrowBack), "Back", page_,
                                     &QTextBrowser::backward);
    back->setShortcut(QKeySequence::Back);
    QAction* forward = tools->addAction(style()->standardIcon(QStyle::SP_ArrowForward), "Forward",
                                        page_, &QTextBrowser::forward);
    forward->setShortcut(QKeySequence::Forward);
    connect(page_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(page_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    tools->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), "Contents", this,
                     [this] { showAnchor({}); });
    // The printable manual is Help > Help's document, opened the same way.
    if (const auto openManual = shellServices().help)
        tools->addAction("Printable manual (Tarn.pdf)", this, openManual);

    tabs_ = new QTabWidget(this);
    contents_ = plainTree(tabs_);
    tabs_->addTab(contents_, "&Contents");
    buildContents();

    auto* indexTab = new QWidget(tabs_);
    indexField_ = new QLineEdit(indexTab);
    indexField_->setPlaceholderText("Type the first letters of a word");
    index_ = plainTree(indexTab);
    auto* indexLayout = new QVBoxLayout(indexTab);
    indexLayout->addWidget(indexField_);
    indexLayout->addWidget(index_);
    tabs_->addTab(indexTab, "&Index");
    buildIndex();

    auto* searchTab = new QWidget(tabs_);
    searchField_ = new QLineEdit(searchTab);
    searchField_->setPlaceholderText("Words or a message of the program");
    auto* go = new QPushButton("&Search", searchTab);
    found_ = new QLabel(searchTab);
    results_ = new QListWidget(searchTab);
    auto* searchLine = new QHBoxLayout;
    searchLine->addWidget(searchField_);
    searchLine->addWidget(go);
    auto* searchLayout = new QVBoxLayout(searchTab);
    searchLayout->addLayout(searchLine);
    searchLayout->addWidget(found_);
    searchLayout->addWidget(results_);
    tabs_->addTab(searchTab, "Sea&rch");
    connect(searchField_, &QLineEdit::returnPressed, this, &HelpWindow::runSearch);
    connect(go, &QPushButton::clicked, this, &HelpWindow::runSearch);
    connect(results_, &QListWidget::currentRowChanged, this, &HelpWindow::openResult);

    auto* split = new QSplitter(this);
    split->addWidget(tabs_);
    split->addWidget(page_);
    split->setStretchFactor(1, 1);
    split->setSizes({300, 700});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 4);
    layout->addWidget(tools);
    layout->addWidget(split);
    new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &QWidget::close);
    resize(1000, 700);
}

void HelpWindow::buildContents() {
    QTreeWidgetItem* chapter = nullptr;
    for (int i = 0; i < content_.topics().size(); ++i) {
        const HelpContent::Topic& topic = content_.topics()[i];
        auto* item = topic.level == 3 && chapter ? new QTreeWidgetItem(chapter)
                                                 : new QTreeWidgetItem(contents_);
        if (topic.level == 2) chapter = item;
        item->setText(0, topic.title);
        item->setData(0, kAnchorRole, topic.id);
    }
    connect(contents_, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { showAnchor(item->data(0, kAnchorRole).toString()); });
    connect(contents_, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { showAnchor(item->data(0, kAnchorRole).toString()); });
}

void HelpWindow::buildIndex() {
    for (const HelpContent::IndexEntry& entry : content_.index()) {
        auto* item = new QTreeWidgetItem(index_, {entry.term});
        item->setData(0, kAnchorRole, entry.anchors.value(0));
        item->setToolTip(0, entry.term);
        // A term found in several places lists them by topic.
        if (entry.anchors.size() < 2) continue;
        for (const QString& anchor : entry.anchors) {
            const int topic = content_.topicOf(anchor);
            auto* place =
                new QTreeWidgetItem(item, {topic < 0 ? anchor : content_.topics()[topic].title});
            place->setData(0, kAnchorRole, anchor);
        }
    }
    connect(indexField_, &QLineEdit::textEdited, this, &HelpWindow::jumpInIndex);
    connect(indexField_, &QLineEdit::returnPressed, this,
            [this] { openIndexItem(index_->currentItem()); });
    connect(index_, &QTreeWidget::itemClicked, this, &HelpWindow::openIndexItem);
    connect(index_, &QTreeWidget::itemActivated, this, &HelpWindow::openIndexItem);
}

void HelpWindow::jumpInIndex(const QString& typed) {
    const QString wanted = indexKey(typed);
    if (wanted.isEmpty()) return;
    for (int i = 0; i < index_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = index_->topLevelItem(i);
        if (indexKey(item->text(0)).startsWith(wanted)) {
            index_->setCurrentItem(item);
            index_->scrollToItem(item, QAbstractItemView::PositionAtTop);
            return;
        }
    }
}

void HelpWindow::openIndexItem(QTreeWidgetItem* item) {
    if (!item) return;
    item->setExpanded(true);
    searched_.clear();
    showAnchor(item->data(0, kAnchorRole).toString());
}

void HelpWindow::search(const QString& query) {
    tabs_->setCurrentIndex(2);
    searchField_->setText(query);
    runSearch();
}

void HelpWindow::runSearch() {
    const QString query = searchField_->text();
    const QList<HelpContent::Hit> hits = content_.search(query);
    searched_ = query.toLower().split(QRegularExpression("[^\\p{L}\\p{N}]+"), Qt::SkipEmptyParts);
    const QSignalBlocker quiet(results_);
    results_->clear();
    for (const HelpContent::Hit& hit : hits) {
        const QString title = content_.topics()[hit.topic].title;
        auto* item =
            new QListWidgetItem(hit.anchor.isEmpty() ? title : title + " (this text)", results_);
        item->setData(kAnchorRole, hit.anchor);
        item->setData(kTopicRole, hit.topic);
    }
    found_->setText(hits.isEmpty()     ? QString("No topic holds all these words.")
                    : hits.size() == 1 ? QString("1 topic found.")
                                       : QString("%1 topics found.").arg(hits.size()));
    if (!hits.isEmpty()) {
        results_->setCurrentRow(0);
        openResult(0);
    }
}

void HelpWindow::openResult(int row) {
    const QListWidgetItem* item = results_->item(row);
    if (!item) return;
    const QString anchor = item->data(kAnchorRole).toString();
    const int topic = item->data(kTopicRole).toInt();
    showAnchor(anchor.isEmpty() ? content_.topics()[topic].id : anchor);
    markWords(anchor.isEmpty() ? searched_ : QStringList());
}

void HelpWindow::showAnchor(const QString& anchor) {
    const int topic = content_.topicOf(anchor);
    if (content_.topics().isEmpty()) return;
    const HelpContent::Topic& shown = content_.topics()[std::max(topic, 0)];
    QUrl url("help:" + shown.id);
    if (topic >= 0 && anchor != shown.id) url.setFragment(anchor);
    page_->setSource(url);
    if (!url.hasFragment()) return page_->verticalScrollBar()->setValue(0);
    // The entry itself is marked: a table row does not stand at the top of the page.
    for (QTextBlock block = page_->document()->begin(); block.isValid(); block = block.next()) {
        if (block.begin().atEnd() ||
            !block.begin().fragment().charFormat().anchorNames().contains(anchor))
            continue;
        QTextEdit::ExtraSelection mark;
        mark.cursor = QTextCursor(block);
        mark.cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        mark.format.setBackground(kMarked);
        page_->setExtraSelections({mark});
        break;
    }
}

QString HelpWindow::currentTopic() const {
    return page_->source().path();
}

QString HelpWindow::currentAnchor() const {
    const QUrl url = page_->source();
    return url.hasFragment() ? url.fragment() : url.path();
}

void HelpWindow::followLink(const QUrl& url) {
    if (url.scheme() == "http" || url.scheme() == "https" || url.scheme() == "mailto") {
        QDesktopServices::openUrl(url);
        return;
    }
    searched_.clear();
    const QString anchor = url.hasFragment() ? url.fragment() : url.path();
    // The one heading without a page is the index's, which is the Index tab here.
    if (content_.topicOf(anchor) < 0) return tabs_->setCurrentIndex(1);
    showAnchor(anchor);
}

void HelpWindow::pageChanged(const QUrl& url) {
    page_->setExtraSelections({});
    const QSignalBlocker quiet(contents_);
    const QList<QTreeWidgetItem*> items =
        contents_->findItems(QString(), Qt::MatchContains | Qt::MatchRecursive);
    for (QTreeWidgetItem* item : items) {
        if (item->data(0, kAnchorRole).toString() == url.path()) {
            contents_->setCurrentItem(item);
            contents_->scrollToItem(item);
            break;
        }
    }
}

void HelpWindow::markWords(const QStringList& words) {
    QList<QTextEdit::ExtraSelection> marks;
    for (const QString& word : words) {
        QTextCursor found = page_->document()->find(word);
        while (!found.isNull()) {
            QTextEdit::ExtraSelection mark;
            mark.cursor = found;
            mark.format.setBackground(kMarked);
            marks.append(mark);
            found = page_->document()->find(word, found);
        }
    }
    page_->setExtraSelections(marks);
    if (!marks.isEmpty()) {
        page_->setTextCursor(QTextCursor(marks.first().cursor.block()));
        page_->ensureCursorVisible();
    }
}

}  // namespace tarn
