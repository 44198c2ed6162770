#include "app/ScrollBarDock.h"

#include <algorithm>

#include "app/ControlLayout.h"
#include "controls/DpiScale.h"

namespace velmora {

DockedBars DockScrollBars(int clientWidth, int clientHeight, int dpi) {
    const int posHeight = ToDevicePixels(kSyncPosBarHeight, dpi);
    const int margin = ToDevicePixels(kSyncVoltBarMargin, dpi);
    const int posTop = clientHeight - posHeight;
    DockedBars bars;
    bars.syncPos = BarPlace{0, posTop, clientWidth, posHeight};
    bars.syncVolt = BarPlace{margin, margin, ToDevicePixels(kSyncVoltBarWidth, dpi),
                             std::max(0, posTop - 2 * margin)};
    return bars;
}

}  // namespace velmora
