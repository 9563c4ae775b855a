#include "printing/print_clients.h"

#include "database/client_database.h"
#include "model/progress.h"
#include "model/user_feedback.h"
#include "printing/document_layout.h"
#include "printing/page_geometry.h"
#include "printing/print_surface.h"

namespace tarn {
namespace {

// The "Printing" window and the disabled owner, for as long as the document is being
// produced. Ending it (or leaving scope on any path) takes the window away and gives
// the owner back its input and focus.
class PrintingWindow {
  public:
    explicit PrintingWindow(WindowHandle owner)
        : owner_(owner), window_(progressUi().create(ProgressUi::Kind::Printing, owner)) {
        progressUi().enableWindow(owner_, false);
    }
    ~PrintingWindow() { end(); }
    PrintingWindow(const PrintingWindow&) = delete;
    PrintingWindow& operator=(const PrintingWindow&) = delete;

    // Lets the window repaint during a long document.
    void keepAlive() {
        if (window_) window_->update(0, nullptr);
    }

    void end() {
        if (!window_) return;
        window_.reset();
        progressUi().enableWindow(owner_, true);
        progressUi().focusWindow(owner_);
    }

  private:
    WindowHandle owner_;
    std::unique_ptr<ProgressWindow> window_;
};

bool selectsAClient(const ClientDatabase& db, int clientIndex) {
    if (db.clientCount() < 1) return false;
    return clientIndex == -1 || (clientIndex >= 0 && clientIndex < db.clientCount());
}

}  // namespace

bool printClients(const ClientDatabase& db, WindowHandle owner, bool summary,
                  const std::filesystem::path& fileName, int clientIndex) {
    const MessageOwner messageOwner = MessageOwner::of(owner);
    // An index that names no client would give a page with the heading alone.
    if (!selectsAClient(db, clientIndex)) {
        showError(messageOwner, "Nothing to print.");
        return false;
    }
    std::unique_ptr<PrintSurface> surface = printBackend().choosePrinter(owner);
    if (!surface) return false;

    const PageGeometry geometry = measurePage(*surface);
    if (geometry.lineHeight < 1) {
        showError(messageOwner, "Printer font error.");
        return false;
    }
    if (geometry.linesPerPage < 1) {
        showError(messageOwner, "Printer page size error.");
        return false;
    }
    if (!surface->startDoc(documentName(summary))) {
        showError(messageOwner, "Printer document error.");
        return false;
    }

    PrintingWindow printing(owner);
    if (!surface->startPage()) {
        surface->endDoc();
        printing.end();
        showError(messageOwner, "Printer page error.");
        return false;
    }
    // A page that cannot be started half-way leaves an incomplete document: that is a
    // failure, not a printed job.
    if (!layOutDocument(*surface, geometry, db, summary, fileName, clientIndex,
                        [&printing] { printing.keepAlive(); })) {
        surface->abortDoc();
        printing.end();
        showError(messageOwner, "Printer page error.");
        return false;
    }
    const bool ended = surface->endPage();
    const bool written = surface->endDoc() && ended;
    printing.end();
    if (!written) {
        showError(messageOwner, "Printer document error.");
        return false;
    }
    return true;
}

}  // namespace tarn
