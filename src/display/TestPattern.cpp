#include "display/TestPattern.h"

namespace velmora {

void DrawTestPattern(Canvas& canvas, int clientWidth, int clientHeight) {
    canvas.SetPenColor({0, 0, 255});
    canvas.MoveTo(0, 0);
    canvas.LineTo(1000, 1000);
    canvas.SetPenColor({255, 0, 0});
    canvas.MoveTo(0, 0);
    canvas.LineTo(clientWidth, clientHeight);
    canvas.SetPenColor({0, 128, 0});
    canvas.MoveTo(0, clientHeight);
    canvas.LineTo(clientWidth, 0);
}

}  // namespace velmora
