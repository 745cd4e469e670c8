// The window's pictures, drawn by the program itself: the logo of Image1
// (282 x 72 pixels) and the window icon.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace kt::window {

inline constexpr int kLogoWidth = 282;
inline constexpr int kLogoHeight = 72;

QPixmap logoPicture();
QIcon programIcon();

} // namespace kt::window
