#include "printing/print_clients.h"

#include <optional>

#include "database/client_database.h"
#include "model/progress.h"
#include "model/user_feedback.h"
#include "printing/print_document.h"
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

}  // namespace

bool printClients(const ClientDatabase& db, WindowHandle owner, bool summary,
                  const std::filesystem::path& fileName, int clientIndex,
                  const PrintOptions& options) {
    const MessageOwner messageOwner = MessageOwner::of(owner);
    const PrintJob job{summary, fileName, clientIndex, options};
    if (!selectsAClient(db, clientIndex)) {
        showError(messageOwner, printErrorText(PrintError::NothingToPrint));
        return false;
    }
    std::unique_ptr<PrintSurface> surface = printBackend().choosePrinter(owner);
    if (!surface) return false;

    std::optional<PrintingWindow> printing;
    const PrintError error = printDocument(
        *surface, db, job, [&] { printing.emplace(owner); }, [&] { printing->keepAlive(); });
    if (printing) printing->end();
    if (error == PrintError::None) return true;
    showError(messageOwner, printErrorText(error));
    return false;
}

}  // namespace tarn
