#include <gtest/gtest.h>

#include "system/posix/TermiosLineSettings.h"

namespace velmora {
namespace {

termios CookedTermios() {
    termios tio{};
    tio.c_iflag = ICRNL | IXON | IXOFF | IXANY | BRKINT;
    tio.c_oflag = OPOST | ONLCR;
    tio.c_cflag = CS7 | PARENB | CSTOPB | CRTSCTS | HUPCL;
    tio.c_lflag = ICANON | ECHO | ECHOE | ISIG | IEXTEN;
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 5;
    tio.c_cc[VSTART] = 0x11;
    tio.c_cc[VSTOP] = 0x13;
    cfsetispeed(&tio, B9600);
    cfsetospeed(&tio, B9600);
    return tio;
}

LineSettings Framing(uint32_t baud, uint8_t bits, uint8_t parity, uint8_t stop) {
    LineSettings settings;
    settings.baudRate = baud;
    settings.byteSize = bits;
    // Codes outside the named ones stand for what a device might report.
    settings.parity = static_cast<Parity>(parity);
    settings.stopBits = static_cast<StopBits>(stop);
    return settings;
}

TEST(TermiosLineSettings, BaudRatesMapBothWaysAndUnknownRatesDoNot) {
    for (const uint32_t baud : {300u, 9600u, 115200u, 230400u, 921600u, 4000000u}) {
        const auto speed = SpeedForBaud(baud);
        ASSERT_TRUE(speed.has_value()) << baud;
        EXPECT_EQ(BaudForSpeed(*speed), baud);
    }
    EXPECT_EQ(SpeedForBaud(115200), B115200);
    EXPECT_FALSE(SpeedForBaud(0).has_value());
    EXPECT_FALSE(SpeedForBaud(250000).has_value());
    EXPECT_FALSE(SpeedForBaud(115201).has_value());
}

TEST(TermiosLineSettings, LinkFramingOnACookedTtyGivesARawLine) {
    termios tio = CookedTermios();
    ASSERT_TRUE(ApplyLineSettings(Framing(115200, 8, 0, 0), tio));
    EXPECT_EQ(cfgetispeed(&tio), B115200);
    EXPECT_EQ(cfgetospeed(&tio), B115200);
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(tio.c_cflag & (CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD));
    EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | IXANY | ICRNL), 0u);
    EXPECT_EQ(tio.c_oflag & OPOST, 0u);
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    EXPECT_EQ(tio.c_cc[VMIN], 0);
    EXPECT_EQ(tio.c_cc[VTIME], 0);
}

TEST(TermiosLineSettings, EveryParityAndStopSettingSurvivesARoundTrip) {
    for (uint8_t parity = 0; parity <= 4; ++parity) {
        for (const uint8_t stop : {uint8_t{0}, uint8_t{2}}) {
            for (uint8_t bits = 5; bits <= 8; ++bits) {
                termios tio = CookedTermios();
                ASSERT_TRUE(ApplyLineSettings(Framing(57600, bits, parity, stop), tio));
                LineSettings read;
                ReadLineSettings(tio, read);
                EXPECT_EQ(read.baudRate, 57600u);
                EXPECT_EQ(read.byteSize, bits);
                EXPECT_EQ(read.parity, static_cast<Parity>(parity));
                EXPECT_EQ(read.stopBits, static_cast<StopBits>(stop));
            }
        }
    }
}

TEST(TermiosLineSettings, InexpressibleSettingsLeaveTheTermiosAlone) {
    const LineSettings bad[] = {Framing(250000, 8, 0, 0), Framing(115200, 9, 0, 0),
                                Framing(115200, 4, 0, 0), Framing(115200, 8, 5, 0),
                                Framing(115200, 8, 0, 1)};
    for (const LineSettings& settings : bad) {
        termios tio = CookedTermios();
        EXPECT_FALSE(ApplyLineSettings(settings, tio));
        EXPECT_EQ(tio.c_lflag, CookedTermios().c_lflag);
        EXPECT_EQ(tio.c_cflag, CookedTermios().c_cflag);
    }
}

TEST(TermiosLineSettings, ReadingLeavesFieldsTermiosDoesNotHave) {
    LineSettings settings;
    settings.xonLimit = 80;
    settings.xoffLimit = 200;
    settings.errorChar = 0x26;
    settings.abortOnError = true;
    settings.dtrEnable = true;
    ReadLineSettings(CookedTermios(), settings);
    EXPECT_EQ(settings.baudRate, 9600u);
    EXPECT_EQ(settings.byteSize, 7);
    EXPECT_EQ(settings.parity, Parity::Even);
    EXPECT_EQ(settings.stopBits, StopBits::Two);
    EXPECT_TRUE(settings.rtsHandshake);
    EXPECT_EQ(settings.xonChar, 0x11);
    EXPECT_EQ(settings.xoffChar, 0x13);
    EXPECT_EQ(settings.xonLimit, 80);
    EXPECT_EQ(settings.xoffLimit, 200);
    EXPECT_EQ(settings.errorChar, 0x26);
    EXPECT_TRUE(settings.abortOnError);
    EXPECT_TRUE(settings.dtrEnable);
}

}  // namespace
}  // namespace velmora
