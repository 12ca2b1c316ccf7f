#pragma once
// The program's icon and the background picture of the main frame, drawn at run time.

#include <QIcon>
#include <QPixmap>
#include <QSize>

namespace qav {

QIcon programIcon();
// The frame's background at the given size: a soft gradient with the program's mark in the middle.
QPixmap backgroundPicture(const QSize& size);

} // namespace qav
