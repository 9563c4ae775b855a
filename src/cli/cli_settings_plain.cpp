#include "cli/cli_settings.h"

#ifdef _WIN32
#include "settings/registry_settings_backend.h"
#else
#include "settings/memory_settings_backend.h"
#endif

namespace tarn::cli {

SettingsBackend& platformSettings() {
#ifdef _WIN32
    static RegistrySettingsBackend backend;
#else
    static MemorySettingsBackend backend;  // a build without Qt has no INI reader
#endif
    return backend;
}

}  // namespace tarn::cli
