#pragma once

class QEvent;

namespace tarn {

// Whether the event is something the user did (a key, a click, the wheel, a drop, the
// window manager's close button), as the long operations discard it while they run.
bool isUserInput(const QEvent* event);

}  // namespace tarn
