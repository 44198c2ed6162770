#include "link/InstrumentLine.h"

namespace velmora {

void ApplyInstrumentLine(LineSettings& s) {
    s.baudRate = 115200;
    s.byteSize = 8;
    s.parity = Parity::None;
    s.stopBits = StopBits::One;
    s.dtrEnable = true;
    s.rtsHandshake = true;
    s.txContinueOnXoff = true;
    s.abortOnError = true;
    s.xonLimit = 80;
    s.xoffLimit = 200;
    s.xonChar = 0x54;
    s.xoffChar = 0xD4;
    s.errorChar = 0x26;
}

}  // namespace velmora
