#pragma once

#include <QIcon>
#include <QPixmap>

namespace tarn {

// The program's pictures: the toolbar images and the application icon are image files
// in the program's resources; the splash and About pictures are drawn.
inline constexpr int kToolbarImageCount = 12;
inline constexpr int kToolbarImageWidth = 16;
inline constexpr int kToolbarImageHeight = 15;
inline constexpr int kSplashWidth = 365;
inline constexpr int kSplashHeight = 282;

// Toolbar image 0..11: new, open, save, print, copy, paste, new client, edit client,
// delete client, write radio, read radio, help.
QPixmap toolbarImage(int index);
QIcon applicationIcon();
QPixmap splashPicture();  // 365 by 282
QPixmap aboutPicture();   // the small picture of the About box

}  // namespace tarn
