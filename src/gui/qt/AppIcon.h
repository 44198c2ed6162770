#pragma once

#include <QIcon>

namespace velmora {

// The program's own icon (a small scope screen with a green trace), rendered
// from the embedded SVG at the sizes window managers and taskbars ask for.
QIcon LoadAppIcon();

}  // namespace velmora
