#include "printing/print_surface.h"

namespace tarn {
namespace {

// Until the shell or the command-line tool installs a device, there is nothing to print on.
class NoPrinter final : public PrintBackend {
  public:
    std::unique_ptr<PrintSurface> choosePrinter(WindowHandle) override { return nullptr; }
};

NoPrinter noPrinter;
PrintBackend* installed = nullptr;

}  // namespace

PrintBackend& printBackend() {
    return installed ? *installed : noPrinter;
}
void setPrintBackend(PrintBackend* backend) {
    installed = backend;
}

}  // namespace tarn
