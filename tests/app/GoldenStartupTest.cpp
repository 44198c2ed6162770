// Start-up and close against golden data kept in tests/golden: the same test
// runs in the Linux and in the Windows build, so both produce the same bytes
// on the wire, the same diagnostic log and the same settings file.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "GoldenFiles.h"
#include "support/FormFixture.h"

namespace velmora {
namespace {

// One entry per line, bytes outside printable ASCII as C escapes, so that
// CR, LF and the 8-bit characters of the log stay visible in the files.
std::string Escaped(const std::vector<std::string>& entries) {
    std::string text;
    for (const std::string& entry : entries) {
        for (const char c : entry) {
            const auto byte = static_cast<unsigned char>(c);
            if (c == '\r') {
                text += "\\r";
            } else if (c == '\n') {
                text += "\\n";
            } else if (c == '\\') {
                text += "\\\\";
            } else if (byte < 0x20 || byte > 0x7E) {
                char hex[8];
                std::snprintf(hex, sizeof hex, "\\x%02X", byte);
                text += hex;
            } else {
                text += c;
            }
        }
        text += '\n';
    }
    return text;
}

std::string Golden(const char* name) {
    const std::string_view contents = embedded::File(name);
    EXPECT_FALSE(contents.empty()) << "no golden file " << name;
    return std::string(contents);
}

TEST(GoldenStartupTest, StartUpAndCloseGiveTheGoldenBytesLogAndSettingsFile) {
    test::FormFixture f;
    const auto com3 = f.ports.AddPort("COM3", "\\\\.\\COM3");
    const auto com5 = f.ports.AddPort("COM5", "\\\\.\\COM5");
    f.settings.files["Config.Ini"] = Golden("startup-Config.Ini");

    TForm2& form = f.Form();
    form.FormCreate();
    std::vector<std::string> writes;
    // The port line's path chooses COM5 although its index names COM3.
    for (const std::vector<uint8_t>& bytes : com5->writes)
        writes.emplace_back(bytes.begin(), bytes.end());
    EXPECT_EQ(Escaped(writes), Golden("startup-wire.txt"));
    EXPECT_TRUE(com3->writes.empty());
    EXPECT_EQ(Escaped(form.Display.Lines()), Golden("startup-display.txt"));

    form.FormClose();
    EXPECT_EQ(f.settings.files["Config.Ini"], Golden("closed-Config.Ini"));
}

}  // namespace
}  // namespace velmora
