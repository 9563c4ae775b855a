#include "printing/print_document.h"

#include "database/client_database.h"

namespace tarn {

const char* printErrorText(PrintError error) {
    switch (error) {
        case PrintError::None:
            return "";
        case PrintError::NothingToPrint:
            return "Nothing to print.";
        case PrintError::Font:
            return "Printer font error.";
        case PrintError::PageSize:
            return "Printer page size error.";
        case PrintError::Document:
            return "Printer document error.";
        case PrintError::Page:
            return "Printer page error.";
    }
    return "";
}

bool selectsAClient(const ClientDatabase& db, int clientIndex) {
    return db.clientCount() > 0 && clientIndex >= -1 && clientIndex < db.clientCount();
}

PrintError printDocument(PrintSurface& surface, const ClientDatabase& db, const PrintJob& job,
                         const std::function<void()>& started,
                         const std::function<void()>& newPage) {
    if (!selectsAClient(db, job.clientIndex)) return PrintError::NothingToPrint;
    const PageGeometry geometry = measurePage(surface);
    if (geometry.lineHeight < 1) return PrintError::Font;
    if (geometry.linesPerPage < 1) return PrintError::PageSize;

    const std::vector<LaidOutPage> pages = layOutDocument(surface, geometry, db, job);
    std::vector<const LaidOutPage*> printed;
    for (std::size_t n = 1; n <= pages.size(); ++n)
        if (surface.printsPage(static_cast<int>(n))) printed.push_back(&pages[n - 1]);
    if (printed.empty()) return PrintError::NothingToPrint;  // a page range past the end

    if (!surface.startDoc(documentName(job.summary))) return PrintError::Document;
    if (started) started();
    if (!surface.startPage()) {
        surface.endDoc();
        return PrintError::Page;
    }
    for (std::size_t i = 0; i < printed.size(); ++i) {
        if (i > 0) {
            // A page that cannot be started half-way leaves an incomplete document: that
            // is a failure, not a printed job.
            if (!surface.endPage() || !surface.startPage()) {
                surface.abortDoc();
                return PrintError::Page;
            }
            if (newPage) newPage();
        }
        drawPage(surface, *printed[i]);
    }
    const bool ended = surface.endPage();
    return surface.endDoc() && ended ? PrintError::None : PrintError::Document;
}

}  // namespace tarn
