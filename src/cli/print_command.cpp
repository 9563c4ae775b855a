// tarn-cli print: the document the desktop program prints, rendered into a PDF file instead
// of onto a printer, with the program's stored print options unless the command line
// overrides them.
#include <QGuiApplication>
#include <algorithm>
#include <cstdio>
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
    "print (--summary | --all | --client INDEX | --clients LIST) [--new-page | --no-new-page]\n"
    "  [--footer | --no-footer] [--force] FILE (OUT.pdf | --each DIR)";

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
    const bool each = std::find(args.begin(), args.end(), "--each") != args.end();
    auto parsed = parseArguments(
        args,
        {"--summary", "--all", "--force", "--new-page", "--no-new-page", "--footer", "--no-footer"},
        {"--client", "--clients", "--each"}, each ? 1 : 2);
    if (!parsed) return usageError(kUsage);
    PrintJob job{false, {}, -1, storedPrintOptions(), {}};
    if (!applyFlags(*parsed, "--new-page", "--no-new-page", job.options.newPagePerClient) ||
        !applyFlags(*parsed, "--footer", "--no-footer", job.options.pageFooter))
        return usageError(kUsage);
    job.summary = parsed->flags.count("--summary") != 0;
    const bool all = parsed->flags.count("--all") != 0;
    const auto client = parsed->values.find("--client"), list = parsed->values.find("--clients");
    const bool single = client != parsed->values.end(), chosen = list != parsed->values.end();
    if (job.summary + all + single + chosen != 1 || (each && job.summary))
        return usageError(kUsage);
    if (single) {
        const std::optional<int> typed = parseIndex(client->second);
        if (!typed) return usageError(kUsage);
        job.clientIndex = *typed;
    }
    if (chosen) {
        const std::optional<std::vector<int>> typed = parseClientList(list->second);
        if (!typed) return kExitUsage;
        job.clients = *typed;
    }

    const std::string file = fullPath(parsed->positional[0]);
    job.fileName = file;
    DatabaseDocument document;
    if (!loadDatabase(document, file)) return kExitFailure;
    if (chosen && !hasClients(document.database(), job.clients)) return kExitFailure;
    const bool force = parsed->flags.count("--force") != 0;
    const std::string out = fullPath(each ? parsed->values["--each"] : parsed->positional[1]);
    if (!each) {
        if (const auto refused = refuseOutput(out, force)) return *refused;
    }

    const QtMessageHandler previous = qInstallMessageHandler(dropQtMessages);
    const auto app = guiApplicationIfMissing();
    bool printed = false;
    if (each) {
        const int files = printEachToPdf(
            document.database(), nullptr, job, pathFromArgument(out), pdfFileSurface, [&](int) {
                const auto paths = eachClientFiles(document.database(), job, pathFromArgument(out));
                for (const auto& path : paths) {
                    if (refuseOutput(path.string(), force)) return false;
                }
                return true;
            });
        printed = files > 0;
        if (printed) std::printf("%d PDF files written to '%s'.\n", files, out.c_str());
    } else {
        PdfFileBackend backend(pathFromArgument(out));
        ScopedServices pdf;
        pdf->printer = &backend;
        printed = printJob(document.database(), nullptr, job);
    }
    qInstallMessageHandler(previous);
    return printed ? kExitOk : kExitFailure;
}

}  // namespace tarn::cli
