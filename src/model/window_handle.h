#pragma once

namespace tarn {

// An opaque window of the user interface layer. The core only passes it on to the
// seams (message owners, dialog parents, progress owners); the shell knows what it is.
using WindowHandle = void*;

}  // namespace tarn
