#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include "link/InstrumentLine.h"
#include "system/win32/Win32LineSettings.h"

namespace velmora {
namespace {

// What the link asks for on the instrument's line.
LineSettings InstrumentLine() {
    LineSettings s;
    ApplyInstrumentLine(s);
    return s;
}

auto Fields(const LineSettings& s) {
    return std::tuple(s.baudRate, s.byteSize, s.parity, s.stopBits, s.dtrEnable, s.rtsHandshake,
                      s.txContinueOnXoff, s.abortOnError, s.xonLimit, s.xoffLimit, s.xonChar,
                      s.xoffChar, s.errorChar);
}

// The flags word sits at byte 8 of the driver's 28-byte DCB, little-endian.
uint32_t WordAtByte8(const DCB& dcb) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(&dcb);
    return uint32_t{bytes[8]} | uint32_t{bytes[9]} << 8 | uint32_t{bytes[10]} << 16 |
           uint32_t{bytes[11]} << 24;
}

TEST(Win32LineSettingsTest, FlagsWordKeepsEveryBitItDoesNotOwn) {
    struct Case {
        uint32_t asRead;
        uint32_t expected;
    };
    // 0x1111 is what Wine reports for a fresh pseudo-terminal. Whatever came
    // before, the fifteen low bits end as 0x6091: a binary line.
    const Case cases[] = {{0x00000000, 0x00006091}, {0x00001111, 0x00006091},
                          {0xFFFFFFFF, 0xFFFFE091}, {0x00000F4F, 0x00006091},
                          {0x000070B0, 0x00006091}, {0x80000001, 0x80006091}};
    for (const Case& c : cases) {
        DCB dcb{};
        dcb.DCBlength = kDcbLength;
        std::memcpy(reinterpret_cast<uint8_t*>(&dcb) + 8, &c.asRead, 4);
        ApplyLineSettings(InstrumentLine(), dcb);
        EXPECT_EQ(WordAtByte8(dcb), c.expected) << std::hex << c.asRead;
        // The compiler's bit fields agree with the word.
        EXPECT_EQ(dcb.fDtrControl, unsigned{DTR_CONTROL_ENABLE});
        EXPECT_EQ(dcb.fRtsControl, unsigned{RTS_CONTROL_HANDSHAKE});
        EXPECT_EQ(dcb.fTXContinueOnXoff, 1u);
        EXPECT_EQ(dcb.fAbortOnError, 1u);
        EXPECT_EQ(dcb.fBinary, 1u);
        EXPECT_EQ(dcb.fParity + dcb.fOutxCtsFlow + dcb.fOutxDsrFlow + dcb.fDsrSensitivity +
                      dcb.fOutX + dcb.fInX + dcb.fErrorChar + dcb.fNull,
                  0u);
        EXPECT_EQ(dcb.fDummy2, c.asRead >> 15);
    }
}

TEST(Win32LineSettingsTest, FieldsLandAtTheDriversOffsetsAndTheRestStaysAsRead) {
    DCB dcb;
    std::memset(&dcb, 0xA5, sizeof dcb);
    ApplyLineSettings(InstrumentLine(), dcb);
    const auto* b = reinterpret_cast<const uint8_t*>(&dcb);
    // BaudRate at 4, XonLim at 14, XoffLim at 16, then one byte each:
    // ByteSize, Parity, StopBits, XonChar, XoffChar, ErrorChar at 18..23.
    const uint8_t expectedSet[][2] = {{4, 0x00}, {5, 0xC2},  {6, 0x01},  {7, 0x00}, {14, 80},
                                      {15, 0},   {16, 200},  {17, 0},    {18, 8},   {19, 0},
                                      {20, 0},   {21, 0x54}, {22, 0xD4}, {23, 0x26}};
    for (const auto& [offset, value] : expectedSet) EXPECT_EQ(b[offset], value) << int{offset};
    // DCBlength, wReserved, EofChar, EvtChar and wReserved1 are not touched.
    for (const int offset : {0, 1, 2, 3, 12, 13, 24, 25, 26, 27})
        EXPECT_EQ(b[offset], 0xA5) << offset;
    EXPECT_EQ(WordAtByte8(dcb), (0xA5A5A5A5u & ~0x7FFFu) | 0x6091u);

    LineSettings back;
    ReadLineSettings(dcb, back);
    EXPECT_EQ(Fields(back), Fields(InstrumentLine()));
}

TEST(Win32LineSettingsTest, NoWriteTimeOutBecomesTheWriteBound) {
    const COMMTIMEOUTS link = CommTimeoutsFor({1, 1, 1, 0, 0});
    EXPECT_EQ(link.ReadIntervalTimeout, 1u);
    EXPECT_EQ(link.ReadTotalTimeoutMultiplier, 1u);
    EXPECT_EQ(link.ReadTotalTimeoutConstant, 1u);
    EXPECT_EQ(link.WriteTotalTimeoutMultiplier, 0u);
    EXPECT_EQ(link.WriteTotalTimeoutConstant, 1000u);
    const COMMTIMEOUTS own = CommTimeoutsFor({7, 0, 0, 2, 0});  // a bound of its own stays
    EXPECT_EQ(own.ReadIntervalTimeout, 7u);
    EXPECT_EQ(own.WriteTotalTimeoutMultiplier, 2u);
    EXPECT_EQ(own.WriteTotalTimeoutConstant, 0u);
    EXPECT_EQ(CommTimeoutsFor({0, 0, 0, 0, 50}).WriteTotalTimeoutConstant, 50u);
}

}  // namespace
}  // namespace velmora
