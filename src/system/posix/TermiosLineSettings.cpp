#include "system/posix/TermiosLineSettings.h"

#include <array>
#include <utility>

namespace velmora {
namespace {

constexpr std::array<std::pair<uint32_t, speed_t>, 30> kSpeeds{{
    {50, B50},           {75, B75},           {110, B110},         {134, B134},
    {150, B150},         {200, B200},         {300, B300},         {600, B600},
    {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
    {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
    {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
    {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
    {3500000, B3500000}, {4000000, B4000000},
}};

std::optional<tcflag_t> SizeFlag(uint8_t byteSize) {
    switch (byteSize) {
        case 5:
            return CS5;
        case 6:
            return CS6;
        case 7:
            return CS7;
        case 8:
            return CS8;
        default:
            return std::nullopt;
    }
}

uint8_t ByteSizeOf(tcflag_t cflag) {
    switch (cflag & CSIZE) {
        case CS5:
            return 5;
        case CS6:
            return 6;
        case CS7:
            return 7;
        default:
            return 8;
    }
}

std::optional<tcflag_t> ParityFlags(Parity parity) {
    switch (parity) {
        case Parity::None:
            return tcflag_t{0};
        case Parity::Odd:
            return tcflag_t{PARENB | PARODD};
        case Parity::Even:
            return tcflag_t{PARENB};
        case Parity::Mark:
            return tcflag_t{PARENB | CMSPAR | PARODD};
        case Parity::Space:
            return tcflag_t{PARENB | CMSPAR};
    }
    return std::nullopt;
}

Parity ParityOf(tcflag_t cflag) {
    if ((cflag & PARENB) == 0) {
        return Parity::None;
    }
    const bool odd = (cflag & PARODD) != 0;
    if ((cflag & CMSPAR) != 0) {
        return odd ? Parity::Mark : Parity::Space;
    }
    return odd ? Parity::Odd : Parity::Even;
}

std::optional<tcflag_t> StopFlag(StopBits stopBits) {
    switch (stopBits) {
        case StopBits::One:
            return tcflag_t{0};
        case StopBits::Two:
            return tcflag_t{CSTOPB};
        case StopBits::OneAndHalf:
            break;  // not expressible in termios
    }
    return std::nullopt;
}

}  // namespace

std::optional<speed_t> SpeedForBaud(uint32_t baud) {
    for (const auto& [rate, speed] : kSpeeds) {
        if (rate == baud) {
            return speed;
        }
    }
    return std::nullopt;
}

uint32_t BaudForSpeed(speed_t speed) {
    for (const auto& [rate, constant] : kSpeeds) {
        if (constant == speed) {
            return rate;
        }
    }
    return 0;
}

void ReadLineSettings(const termios& tio, LineSettings& settings) {
    speed_t speed = cfgetispeed(&tio);
    if (speed == B0) {
        speed = cfgetospeed(&tio);  // input speed 0 means "same as output"
    }
    settings.baudRate = BaudForSpeed(speed);
    settings.byteSize = ByteSizeOf(tio.c_cflag);
    settings.parity = ParityOf(tio.c_cflag);
    settings.stopBits = (tio.c_cflag & CSTOPB) != 0 ? StopBits::Two : StopBits::One;
    settings.rtsHandshake = (tio.c_cflag & CRTSCTS) != 0;
    settings.xonChar = tio.c_cc[VSTART];
    settings.xoffChar = tio.c_cc[VSTOP];
}

bool ApplyLineSettings(const LineSettings& settings, termios& tio) {
    const std::optional<speed_t> speed = SpeedForBaud(settings.baudRate);
    const std::optional<tcflag_t> size = SizeFlag(settings.byteSize);
    const std::optional<tcflag_t> parity = ParityFlags(settings.parity);
    const std::optional<tcflag_t> stop = StopFlag(settings.stopBits);
    if (!speed || !size || !parity || !stop) {
        return false;
    }
    // A tty keeps whatever an earlier program left on it, so every mode that
    // matters is set here rather than assumed.
    cfmakeraw(&tio);
    tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB);
    tio.c_cflag |= *size | *parity | *stop | CLOCAL | CREAD;
    // No CRTSCTS: Linux cannot drive RTS as input flow control alone, and CTS
    // flow control would stall every write on an adapter that leaves CTS
    // unconnected. The line runs without flow control; RTS is simply raised.
    tio.c_cflag &= ~CRTSCTS;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    cfsetispeed(&tio, *speed);
    cfsetospeed(&tio, *speed);
    return true;
}

}  // namespace velmora
