#pragma once

#include "settings/settings_store.h"

namespace tarn::cli {

// The settings the desktop program uses on this platform (QSettings where Qt is built;
// the registry on Windows without it; otherwise memory only, so nothing is remembered).
SettingsBackend& platformSettings();

}  // namespace tarn::cli
