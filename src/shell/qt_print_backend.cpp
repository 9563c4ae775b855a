#include "shell/qt_print_backend.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QWidget>

#include "database/output_guard.h"
#include "printing/qt_page_surface.h"
#include "qtcommon/file_path.h"

namespace tarn {
namespace {

class QtPrintBackend final : public PrintBackend {
  public:
    std::unique_ptr<PrintSurface> choosePrinter(WindowHandle owner) override {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        QPrintDialog dialog(printer.get(), static_cast<QWidget*>(owner));
        // A page range is honoured (the document is laid out before any page is drawn,
        // so any page can be printed alone). Qt's own dialog offers "Pages from" even
        // when the range is switched off, and would then print every page.
        dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
        dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
#ifdef Q_OS_WIN
        // Windows' "Print to file" box stays hidden. Elsewhere the same option is the
        // dialog's only way to a PDF file, so it is kept.
        dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
#endif
        if (dialog.exec() != QDialog::Accepted) return nullptr;
        // Printing to a file never replaces a database open in this program.
        if (!printer->outputFileName().isEmpty() &&
            !mayReplaceWithOutput(pathFromQt(printer->outputFileName()), MessageOwner::of(owner)))
            return nullptr;
        QtPageSurface::Hooks hooks;
        hooks.toFile = printer->outputFormat() == QPrinter::PdfFormat;
        hooks.nameDocument = [](QPagedPaintDevice& device, const QString& name) {
            static_cast<QPrinter&>(device).setDocName(name);
        };
        hooks.abort = [](QPagedPaintDevice& device) { static_cast<QPrinter&>(device).abort(); };
        return std::make_unique<QtPageSurface>(std::move(printer), std::move(hooks));
    }
};

}  // namespace

PrintBackend& qtPrintBackend() {
    static QtPrintBackend backend;
    return backend;
}

}  // namespace tarn
