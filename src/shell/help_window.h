#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;

namespace tarn {

class HelpContent;

// The help window: the manual's contents, its index and a search beside the page shown,
// with Back and Forward. Pages are the topics of HelpContent; a link goes to its anchor.
class HelpWindow final : public QWidget {
    Q_OBJECT
  public:
    explicit HelpWindow(const HelpContent& content, QWidget* parent = nullptr);

    // Shows the topic holding the anchor, scrolled to it (the first topic for an unknown or
    // empty anchor).
    void showAnchor(const QString& anchor);
    // Runs the search as if typed into the Search tab and shows its first hit.
    void search(const QString& query);

    QString currentTopic() const;  // the id of the topic shown
    QString currentAnchor() const;
    QTextBrowser* page() const { return page_; }
    QTabWidget* tabs() const { return tabs_; }
    QTreeWidget* contents() const { return contents_; }
    QTreeWidget* index() const { return index_; }
    QLineEdit* indexField() const { return indexField_; }
    QLineEdit* searchField() const { return searchField_; }
    QListWidget* results() const { return results_; }

  private:
    void buildContents();
    void buildIndex();
    void jumpInIndex(const QString& typed);
    void openIndexItem(QTreeWidgetItem* item);
    void runSearch();
    void openResult(int row);
    void followLink(const QUrl& url);
    void pageChanged(const QUrl& url);
    void markWords(const QStringList& words);

    const HelpContent& content_;
    QTextBrowser* page_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QTreeWidget* contents_ = nullptr;
    QTreeWidget* index_ = nullptr;
    QLineEdit* indexField_ = nullptr;
    QLineEdit* searchField_ = nullptr;
    QListWidget* results_ = nullptr;
    QLabel* found_ = nullptr;
    QStringList searched_;  // the words of the last search, marked on the pages it found
};

}  // namespace tarn
