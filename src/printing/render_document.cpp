#include "printing/render_document.h"

#include "printing/qt_page_surface.h"

namespace tarn {

PrintError renderDocument(QPagedPaintDevice& device, const ClientDatabase& db, const PrintJob& job,
                          bool toFile) {
    QtPageSurface::Hooks hooks;
    hooks.toFile = toFile;
    QtPageSurface surface(device, std::move(hooks));
    return printDocument(surface, db, job);
}

}  // namespace tarn
