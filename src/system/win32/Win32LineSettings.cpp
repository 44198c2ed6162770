#include "system/win32/Win32LineSettings.h"

#include <cstddef>
#include <cstring>

namespace velmora {
namespace {

static_assert(sizeof(DCB) == kDcbLength, "the serial API's DCB is 28 bytes");

// The flags word follows DCBlength and BaudRate.
constexpr std::size_t kFlagsOffset = offsetof(DCB, BaudRate) + sizeof(DWORD);
static_assert(offsetof(DCB, wReserved) == kFlagsOffset + sizeof(uint32_t));

constexpr uint32_t kBinary = 0x0001;
constexpr uint32_t kDtrControlMask = 0x0030;
constexpr uint32_t kDtrEnable = 0x0010;
constexpr uint32_t kTxContinueOnXoff = 0x0080;
constexpr uint32_t kRtsControlMask = 0x3000;
constexpr uint32_t kRtsHandshake = 0x2000;
constexpr uint32_t kAbortOnError = 0x4000;

}  // namespace

uint32_t DcbFlagsWord(const DCB& dcb) {
    uint32_t word = 0;
    std::memcpy(&word, reinterpret_cast<const unsigned char*>(&dcb) + kFlagsOffset, sizeof word);
    return word;
}

void SetDcbFlagsWord(DCB& dcb, uint32_t word) {
    std::memcpy(reinterpret_cast<unsigned char*>(&dcb) + kFlagsOffset, &word, sizeof word);
}

uint32_t OwnedDcbFlags(const LineSettings& settings) {
    return kBinary | (settings.dtrEnable ? kDtrEnable : 0) |
           (settings.rtsHandshake ? kRtsHandshake : 0) |
           (settings.txContinueOnXoff ? kTxContinueOnXoff : 0) |
           (settings.abortOnError ? kAbortOnError : 0);
}

void ReadLineSettings(const DCB& dcb, LineSettings& settings) {
    const uint32_t word = DcbFlagsWord(dcb);
    settings.baudRate = dcb.BaudRate;
    settings.byteSize = dcb.ByteSize;
    settings.parity = static_cast<Parity>(dcb.Parity);
    settings.stopBits = static_cast<StopBits>(dcb.StopBits);
    settings.dtrEnable = (word & kDtrControlMask) == kDtrEnable;
    settings.rtsHandshake = (word & kRtsControlMask) == kRtsHandshake;
    settings.txContinueOnXoff = (word & kTxContinueOnXoff) != 0;
    settings.abortOnError = (word & kAbortOnError) != 0;
    settings.xonLimit = dcb.XonLim;
    settings.xoffLimit = dcb.XoffLim;
    settings.xonChar = static_cast<uint8_t>(dcb.XonChar);
    settings.xoffChar = static_cast<uint8_t>(dcb.XoffChar);
    settings.errorChar = static_cast<uint8_t>(dcb.ErrorChar);
}

void ApplyLineSettings(const LineSettings& settings, DCB& dcb) {
    dcb.BaudRate = settings.baudRate;
    dcb.ByteSize = settings.byteSize;
    dcb.Parity = static_cast<BYTE>(settings.parity);
    dcb.StopBits = static_cast<BYTE>(settings.stopBits);
    dcb.XonLim = settings.xonLimit;
    dcb.XoffLim = settings.xoffLimit;
    dcb.XonChar = static_cast<char>(settings.xonChar);
    dcb.XoffChar = static_cast<char>(settings.xoffChar);
    dcb.ErrorChar = static_cast<char>(settings.errorChar);
    SetDcbFlagsWord(dcb, (DcbFlagsWord(dcb) & ~kOwnedDcbFlags) | OwnedDcbFlags(settings));
}

COMMTIMEOUTS CommTimeoutsFor(const PortTimeouts& timeouts) {
    COMMTIMEOUTS t{};
    t.ReadIntervalTimeout = timeouts.readInterval;
    t.ReadTotalTimeoutMultiplier = timeouts.readTotalMultiplier;
    t.ReadTotalTimeoutConstant = timeouts.readTotalConstant;
    t.WriteTotalTimeoutMultiplier = timeouts.writeTotalMultiplier;
    t.WriteTotalTimeoutConstant = timeouts.writeTotalConstant;
    if (t.WriteTotalTimeoutMultiplier == 0 && t.WriteTotalTimeoutConstant == 0) {
        t.WriteTotalTimeoutConstant = kWriteTimeoutMs;
    }
    return t;
}

}  // namespace velmora
