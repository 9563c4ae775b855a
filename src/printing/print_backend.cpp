#include "printing/print_surface.h"

#include "model/installed_seam.h"

namespace tarn {
namespace {

// Until the shell or the command-line tool installs a device, there is nothing to print on.
class NoPrinter final : public PrintBackend {
  public:
    std::unique_ptr<PrintSurface> choosePrinter(WindowHandle) override { return nullptr; }
};

NoPrinter noPrinter;
InstalledSeam<PrintBackend> backendSeam(noPrinter);

}  // namespace

PrintBackend& printBackend() {
    return backendSeam.get();
}
void setPrintBackend(PrintBackend* backend) {
    backendSeam.install(backend);
}

}  // namespace tarn
