#include "printing/print_document.h"

#include "database/client_database.h"
#include "model/message_texts.h"

namespace tarn {
namespace {

// Draws the pages the surface prints and skips the others. The first page drawn is the
// one the document opened with; a page that cannot be started stops all drawing.
class SurfaceTarget final : public PageTarget {
  public:
    SurfaceTarget(PrintSurface& surface, const std::function<void()>& newPage)
        : surface_(surface), newPage_(newPage) {}

    enum class Failure { None, FirstPage, LaterPage };
    Failure failure() const { return failure_; }

    void beginPage(int number) override {
        printing_ = failure_ == Failure::None && surface_.printsPage(number);
        if (!printing_) return;
        if (started_++ == 0) {
            if (!surface_.startPage()) fail(Failure::FirstPage);
            return;
        }
        if (!surface_.endPage() || !surface_.startPage()) return fail(Failure::LaterPage);
        if (newPage_) newPage_();
    }
    void drawText(const PrintRect& rect, std::string_view text, TextAlign align) override {
        if (printing_) surface_.drawText(rect, text, align);
    }
    void drawPath(const PrintRect& rect, const std::filesystem::path& path,
                  TextAlign align) override {
        if (printing_) surface_.drawPath(rect, path, align);
    }

  private:
    void fail(Failure failure) {
        failure_ = failure;
        printing_ = false;
    }

    PrintSurface& surface_;
    const std::function<void()>& newPage_;
    Failure failure_ = Failure::None;
    bool printing_ = false;
    int started_ = 0;
};

}  // namespace

const char* printErrorText(PrintError error) {
    switch (error) {
        case PrintError::None:
            return "";
        case PrintError::NothingToPrint:
            return msg::kNothingToPrint;
        case PrintError::Font:
            return msg::kPrinterFont;
        case PrintError::PageSize:
            return msg::kPrinterPageSize;
        case PrintError::Document:
            return msg::kPrinterDocument;
        case PrintError::Page:
            return msg::kPrinterPage;
    }
    return "";
}

bool selectsAClient(const ClientDatabase& db, const PrintJob& job) {
    if (job.clients.empty())
        return db.clientCount() > 0 && job.clientIndex >= -1 && job.clientIndex < db.clientCount();
    for (int index : job.clients)
        if (index >= 0 && index < db.clientCount()) return true;
    return false;
}

PrintError printDocument(PrintSurface& surface, const ClientDatabase& db, const PrintJob& job,
                         const std::function<void()>& started,
                         const std::function<void()>& newPage) {
    if (!selectsAClient(db, job)) return PrintError::NothingToPrint;
    const PageGeometry geometry = measurePage(surface);
    if (geometry.lineHeight < 1) return PrintError::Font;
    if (geometry.linesPerPage < 1) return PrintError::PageSize;

    // Lay out once to count the pages (the footer numbers them), then again to draw.
    const PageCount pages = countPages(geometry, db, job);
    bool anyPrinted = false;
    for (int n = 1; n <= pages.total && !anyPrinted; ++n) anyPrinted = surface.printsPage(n);
    if (!anyPrinted) return PrintError::NothingToPrint;  // a page range past the end

    if (!surface.startDoc(documentName(job.summary))) return PrintError::Document;
    if (started) started();
    SurfaceTarget target(surface, newPage);
    layOutDocument(target, geometry, db, job, surface.localTimeAndDate(), &pages);
    // A first page that fails leaves an empty document to end; a later one leaves an
    // incomplete document, which is dropped: a failure, not a printed job.
    if (target.failure() == SurfaceTarget::Failure::FirstPage) surface.endDoc();
    if (target.failure() == SurfaceTarget::Failure::LaterPage) surface.abortDoc();
    if (target.failure() != SurfaceTarget::Failure::None) return PrintError::Page;
    const bool ended = surface.endPage();
    return surface.endDoc() && ended ? PrintError::None : PrintError::Document;
}

}  // namespace tarn
