#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "printing/page_geometry.h"
#include "printing/print_options.h"

namespace tarn {

class ClientDatabase;

const char* documentName(bool summary);

// What one print job prints.
struct PrintJob {
    bool summary = false;            // identity lines only, no channel tables
    std::filesystem::path fileName;  // shown in the heading (and the footer)
    int clientIndex = -1;            // -1: every client in database order
    PrintOptions options;
    std::vector<int> clients;  // when not empty: these clients (in database order) instead

    bool prints(int index) const;
    // Each client sheet starts a new page, so the footer numbers each client's pages.
    bool pagesPerClient() const { return !summary && options.newPagePerClient; }
};

// The pages of a laid-out document, in all and (for pagesPerClient jobs) of each client.
struct PageCount {
    int total = 0;
    std::vector<int> perClient;
};

// Where a laid-out document goes, page by page: a page counter, or a surface that draws
// the pages it prints.
class PageTarget {
  public:
    virtual ~PageTarget() = default;
    virtual void beginPage(int number) = 0;  // 1 for the first page
    virtual void drawText(const PrintRect& rect, std::string_view text, TextAlign align) = 0;
    virtual void drawPath(const PrintRect& rect, const std::filesystem::path& path,
                          TextAlign align) = 0;
};

// Lays out the job onto the target: the heading, then the block of every client the job
// selects, breaking pages on the line grid. `date` is the Date line. `pages` is what a first
// pass counted, for the footer's "Page n of m" (the footer never moves a page break); null
// in that first pass. Returns the pages laid out.
PageCount layOutDocument(PageTarget& target, const PageGeometry& geometry, const ClientDatabase& db,
                         const PrintJob& job, const std::string& date, const PageCount* pages);

// The first pass: the pages, nothing drawn.
PageCount countPages(const PageGeometry& geometry, const ClientDatabase& db, const PrintJob& job);

}  // namespace tarn
