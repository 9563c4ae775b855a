// The manual as the pages of the program's help window.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "manual_document.h"
#include "manual_source.h"

namespace tarn::manual {

// One JSON object:
//   "title", "edition";
//   "topics": [{"id" (the heading's slug), "title" (as numbered), "level" (1 the cover,
//              2 a chapter, 3 a section), "html", "text" (the words, for the search)}];
//   "anchors": {anchor: topic number}: every heading's slug and every place of the index;
//   "index": [{"term", "anchors": [...]}] in alphabetical order;
//   "messages": [{"text", "anchor"}]: the program's texts ("…" where they fill in).
// Pictures keep their names ("images/x.png", "icon:NAME"), sized for the screen.
QByteArray helpPages(const ManualSource& source, const ManualAssets& assets, const QString& edition,
                     QStringList& errors);

}  // namespace tarn::manual
