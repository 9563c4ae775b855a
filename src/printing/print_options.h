#pragma once

namespace tarn {

// What the dealer adds to the plain layout, set once and stored in the settings. The
// defaults give the plain layout.
struct PrintOptions {
    // "Start each client on a new page": every client sheet (not a summary block) starts
    // a new page under the full heading.
    bool newPagePerClient = false;
    // "Page n of m" and the file name on the last line of every page; a page that goes
    // on with a client's table names the client on line 1 and repeats the headings on
    // line 2.
    bool pageFooter = false;
};

// The stored options ("Print New Page", "Print Footer"); missing values are off.
PrintOptions storedPrintOptions();
void storePrintOptions(const PrintOptions& options);

}  // namespace tarn
