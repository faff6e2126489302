// ZorEdit's own icon: a small LED panel showing a Z, drawn at any size so it stays crisp.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace zor {

QPixmap ZorAppPixmap(int size);
QIcon ZorAppIcon();

} // namespace zor
