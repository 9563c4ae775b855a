// tarn-cli print: the document the desktop program prints, rendered into a PDF file instead
// of onto a printer, with the program's stored print options unless the command line
// overrides them.
#include <QGuiApplication>
#include <memory>

#include "cli/cli_command.h"
#include "cli/cli_support.h"
#include "database/client_database.h"
#include "document/database_document.h"
#include "model/services.h"
#include "printing/pdf_file_surface.h"
#include "printing/print_clients.h"
#include "printing/print_surface.h"

namespace tarn::cli {
namespace {

constexpr const char* kUsage =
    "print (--summary | --all | --client INDEX) [--new-page | --no-new-page]\n"
    "  [--footer | --no-footer] [--force] FILE OUT.pdf";

// Every job prints into the one output file; there is no dialog to cancel.
class PdfFileBackend final : public PrintBackend {
  public:
    explicit PdfFileBackend(std::filesystem::path path) : path_(std::move(path)) {}
    std::unique_ptr<PrintSurface> choosePrinter(WindowHandle) override {
        return pdfFileSurface(path_);
    }

  private:
    std::filesystem::path path_;
};

// Qt's own diagnostics (a missing runtime folder, font fallbacks) are not messages of
// the tool: stderr carries only the messages the printing reports.
void dropQtMessages(QtMsgType, const QMessageLogContext&, const QString&) {}

// Fonts and PDF output need a GUI application object; no display is needed for them.
std::unique_ptr<QGuiApplication> guiApplicationIfMissing() {
    if (QCoreApplication::instance()) return nullptr;
    static int argc = 3;
    static char name[] = "tarn-cli", option[] = "-platform", platform[] = "offscreen";
    static char* argv[] = {name, option, platform, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

// An on/off pair of flags over a stored option: false when both are given.
bool applyFlags(const Arguments& parsed, const char* on, const char* off, bool& option) {
    const bool yes = parsed.flags.count(on) != 0, no = parsed.flags.count(off) != 0;
    if (yes && no) return false;
    if (yes || no) option = yes;
    return true;
}

}  // namespace

int runPrint(const std::vector<std::string>& args) {
    auto parsed = parseArguments(
        args,
        {"--summary", "--all", "--force", "--new-page", "--no-new-page", "--footer", "--no-footer"},
        {"--client"}, 2);
    if (!parsed) return usageError(kUsage);
    PrintOptions options = storedPrintOptions();
    if (!applyFlags(*parsed, "--new-page", "--no-new-page", options.newPagePerClient) ||
        !applyFlags(*parsed, "--footer", "--no-footer", options.pageFooter))
        return usageError(kUsage);
    const bool summary = parsed->flags.count("--summary") != 0;
    const bool all = parsed->flags.count("--all") != 0;
    const auto client = parsed->values.find("--client");
    const bool single = client != parsed->values.end();
    if (summary + all + single != 1) return usageError(kUsage);
    int index = -1;
    if (single) {
        const std::optional<int> typed = parseIndex(client->second);
        if (!typed) return usageError(kUsage);
        index = *typed;
    }

    const std::string file = fullPath(parsed->positional[0]);
    DatabaseDocument document;
    if (!loadDatabase(document, file)) return kExitFailure;
    const std::string out = fullPath(parsed->positional[1]);
    if (const auto refused = refuseOutput(out, parsed->flags.count("--force") != 0))
        return *refused;

    const QtMessageHandler previous = qInstallMessageHandler(dropQtMessages);
    const auto app = guiApplicationIfMissing();
    PdfFileBackend backend(pathFromArgument(out));
    ScopedServices pdf;
    pdf->printer = &backend;
    const bool printed = printClients(document.database(), nullptr, summary, file, index, options);
    qInstallMessageHandler(previous);
    return printed ? kExitOk : kExitFailure;
}

}  // namespace tarn::cli
