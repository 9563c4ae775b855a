#pragma once

class QMessageBox;

namespace tarn {

// Widens a message box so that a window manager's title bar shows the whole title beside
// its icon and buttons (a box with a short text would cut "Tarn DataBase"). Call before
// the box is shown.
void makeRoomForTitle(QMessageBox& box);

}  // namespace tarn
