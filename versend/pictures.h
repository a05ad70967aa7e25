#pragma once
// The window's own pictures, drawn at run time: the busy and idle marks of the status image
// and the icons of the narrow and wide window shapes.

#include <QPixmap>

namespace versend {

QPixmap busyPicture();
QPixmap idlePicture();
// Shown while the window is wide: switching makes it narrow.
QPixmap narrowShapePicture();
// Shown while the window is narrow: switching makes it wide.
QPixmap wideShapePicture();

}  // namespace versend
