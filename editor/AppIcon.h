// ZorEdit's own icon: a small LED panel showing a Z, drawn at any size so it stays crisp; and the
// application's name and default window icon.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace zor {

QPixmap ZorAppPixmap(int size);
QIcon ZorAppIcon();

// Names the running application "ZorEdit" and makes ZorEdit's icon the default of every window.
// The display name is set empty on purpose: the window system appends a non-empty one to every
// caption ("Zor Editor — ZorEdit"), and captions are exactly the forms' own texts. Call once,
// right after the QApplication is constructed.
void SetUpApplication();

} // namespace zor
