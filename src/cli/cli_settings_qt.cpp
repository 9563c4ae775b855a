#include "cli/cli_settings.h"
#include "settings/qt_settings_backend.h"

namespace tarn::cli {

SettingsBackend& platformSettings() {
    static QtSettingsBackend backend;
    return backend;
}

}  // namespace tarn::cli
