#include "printing/print_surface.h"

#include "model/services.h"

namespace tarn {
namespace {

// Unless the shell or the command-line tool installs a device, there is nothing to print on.
class NoPrinter final : public PrintBackend {
  public:
    std::unique_ptr<PrintSurface> choosePrinter(WindowHandle) override { return nullptr; }
};

}  // namespace

PrintBackend& printBackend() {
    static NoPrinter none;
    PrintBackend* installed = services().printer;
    return installed ? *installed : none;
}

}  // namespace tarn
