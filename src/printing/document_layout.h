#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "printing/page_geometry.h"

namespace tarn {

class ClientDatabase;

const char* documentName(bool summary);

// Lays out one document on an open first page: the heading, then the block of every
// client the index selects (all for -1), breaking pages on the line grid. The last page
// is left open for the caller to end. False when a page break fails; drawing stops there.
// newPage runs after every page break.
bool layOutDocument(PrintSurface& surface, const PageGeometry& geometry, const ClientDatabase& db,
                    bool summary, const std::filesystem::path& fileName, int clientIndex,
                    const std::function<void()>& newPage);

}  // namespace tarn
