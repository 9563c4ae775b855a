#pragma once

#include <filesystem>
#include <memory>

#include "printing/print_surface.h"

namespace tarn {

// A print surface that renders the document as PDF and, when the document ends, writes
// it to path in one piece: a job that fails leaves any earlier file at path untouched, and
// the output guard (ReplacingFile) says why it refuses a path.
// Needs a QGuiApplication.
std::unique_ptr<PrintSurface> pdfFileSurface(const std::filesystem::path& path);

}  // namespace tarn
