#include "printing/print_clients.h"

#include <optional>
#include <set>

#include "database/client_database.h"
#include "database/radio_backups.h"
#include "model/message_texts.h"
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

// A file name in lower case (ASCII letters only), to tell names apart as a file system
// that ignores case would.
std::u8string lowered(std::u8string name) {
    for (char8_t& c : name)
        if (c >= u8'A' && c <= u8'Z') c = static_cast<char8_t>(c - u8'A' + u8'a');
    return name;
}

}  // namespace

bool printClients(const ClientDatabase& db, WindowHandle owner, bool summary,
                  const std::filesystem::path& fileName, int clientIndex,
                  const PrintOptions& options) {
    return printJob(db, owner, PrintJob{summary, fileName, clientIndex, options, {}});
}

bool printJob(const ClientDatabase& db, WindowHandle owner, const PrintJob& job) {
    const MessageOwner messageOwner = MessageOwner::of(owner);
    if (!selectsAClient(db, job)) {
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

namespace {

std::vector<int> jobClients(const ClientDatabase& db, const PrintJob& job) {
    std::vector<int> clients;
    for (int i = 0; i < db.clientCount(); ++i)
        if (job.prints(i)) clients.push_back(i);
    return clients;
}

}  // namespace

std::vector<std::filesystem::path> eachClientFiles(const ClientDatabase& db, const PrintJob& job,
                                                   const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    std::set<std::u8string> taken;  // names compared without case, as some file systems do
    for (int index : jobClients(db, job)) {
        char name[kNameSize] = {};
        db.client(index)->getName(name, sizeof name);
        const std::u8string stem = recordTextPart(name);
        std::u8string file = stem;
        for (int n = 2; !taken.insert(lowered(file)).second; ++n)
            file = stem + u8" (" +
                   std::u8string(reinterpret_cast<const char8_t*>(std::to_string(n).c_str())) +
                   u8")";
        files.push_back(folder / std::filesystem::path(file + u8".pdf"));
    }
    return files;
}

int printEachToPdf(const ClientDatabase& db, WindowHandle owner, const PrintJob& job,
                   const std::filesystem::path& folder, const PdfSurfaceMaker& pdfFile,
                   const std::function<bool(int existing)>& mayReplace) {
    const MessageOwner messageOwner = MessageOwner::of(owner);
    const std::vector<int> clients = jobClients(db, job);
    if (clients.empty()) {
        showError(messageOwner, printErrorText(PrintError::NothingToPrint));
        return -1;
    }
    const std::vector<std::filesystem::path> files = eachClientFiles(db, job, folder);
    int existing = 0;
    for (const auto& file : files) {
        std::error_code error;
        if (std::filesystem::exists(std::filesystem::symlink_status(file, error))) ++existing;
    }
    if (existing > 0 && !mayReplace(existing)) return -1;

    PrintingWindow printing(owner);
    for (std::size_t i = 0; i < clients.size(); ++i) {
        PrintJob one = job;
        one.clients = {clients[i]};
        std::unique_ptr<PrintSurface> surface = pdfFile(files[i]);
        const PrintError error =
            surface ? printDocument(*surface, db, one, {}, [&] { printing.keepAlive(); })
                    : PrintError::Document;
        printing.keepAlive();
        if (error != PrintError::None) {
            printing.end();
            showError(messageOwner, formatMessage(msg::kPrintEachNotWritten, files[i]) + "\n" +
                                        printErrorText(error));
            return -1;
        }
    }
    return static_cast<int>(clients.size());
}

}  // namespace tarn
