#include "printing/print_options.h"

#include "settings/settings_store.h"

namespace tarn {

PrintOptions storedPrintOptions() {
    const SettingsStore store = settings();
    PrintOptions options;
    options.newPagePerClient = store.readNumber(kPrintNewPageValue, 0) == 1;
    options.pageFooter = store.readNumber(kPrintFooterValue, 0) == 1;
    return options;
}

void storePrintOptions(const PrintOptions& options) {
    SettingsStore store = settings();
    store.writeNumber(kPrintNewPageValue, options.newPagePerClient ? 1 : 0);
    store.writeNumber(kPrintFooterValue, options.pageFooter ? 1 : 0);
}

}  // namespace tarn
