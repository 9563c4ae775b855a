#pragma once

#include <filesystem>
#include <string>
#include <string_view>

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
// selects, breaking pages on the line grid. `date` is the Date line. pageCount is the
// number of pages a first pass returned, for the footer's "Page n of m" (the footer never
// moves a page break). Returns the number of pages.
int layOutDocument(PageTarget& target, const PageGeometry& geometry, const ClientDatabase& db,
                   const PrintJob& job, const std::string& date, int pageCount);

// The first pass: the number of pages, nothing drawn.
int countPages(const PageGeometry& geometry, const ClientDatabase& db, const PrintJob& job);

}  // namespace tarn
