#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "printing/page_geometry.h"
#include "printing/print_options.h"

namespace tarn {

class ClientDatabase;

const char* documentName(bool summary);

// What one print job prints.
struct PrintJob {
    bool summary = false;            // identity lines only, no channel tables
    std::filesystem::path fileName;  // shown in the heading (and the footer)
    int clientIndex = -1;            // -1: every client in database order
    PrintOptions options;
};

// One text placed on a page: a database text, or a file's path drawn the platform's way.
struct PlacedText {
    PrintRect rect;
    std::string text;
    TextAlign align = TextAlign::Left;
    std::optional<std::filesystem::path> path;
};
using LaidOutPage = std::vector<PlacedText>;

// Lays out the whole document before anything is drawn, so every page knows the page
// count and any of them can be drawn alone: the heading, then the block of every client
// the job selects, breaking pages on the line grid. The surface gives the date line.
std::vector<LaidOutPage> layOutDocument(const PrintSurface& surface, const PageGeometry& geometry,
                                        const ClientDatabase& db, const PrintJob& job);

void drawPage(PrintSurface& surface, const LaidOutPage& page);

}  // namespace tarn
