#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "display/MeasurementReadout.h"
#include "gui/win32/Win32WindowFixture.h"
#include "support/FrameMaker.h"
#include "system/win32/Win32OutputFiles.h"

namespace velmora {
namespace {

constexpr UINT_PTR kTimerId = 1;

// The bytes of one answer: marker, header, a 1 kHz sine on channel 1.
std::vector<uint8_t> FrameBytes() {
    const SampleFrame frame = testing::MakeFrame(
        [](int i) { return static_cast<int16_t>(std::lround(900 * std::sin(i * 0.0613592))); },
        testing::Zero);
    std::vector<uint8_t> bytes(kFrameBytes);
    std::copy(frame.header.begin(), frame.header.end(), bytes.begin());
    std::copy(kFrameMarker.begin(), kFrameMarker.end(), bytes.begin());
    std::copy(frame.samples.begin(), frame.samples.end(), bytes.begin() + kHeaderBytes);
    return bytes;
}

std::string FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

uint32_t BigEndian(const std::string& s, std::size_t at) {
    uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<uint8_t>(s.at(at + i));
    return v;
}

std::wstring DocumentsFolder() {
    PWSTR path = nullptr;
    EXPECT_TRUE(SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, &path)));
    const std::wstring folder = path != nullptr ? path : L"";
    CoTaskMemFree(path);
    return folder;
}

void SetControlKey(bool down) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

// The instrument answers every data request with a frame; ticks are the
// test's own WM_TIMER messages.
class Win32CaptureKeysTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!test::Win32WindowFixture::CanOpenWindows()) GTEST_SKIP() << "no display for windows";
        line = f.ports.AddPort("COM5", "\\\\.\\COM5");
        line->onWrite = [this](const std::vector<uint8_t>& bytes) {
            if (bytes.size() == 4 && bytes[1] == 'z') line->Feed(FrameBytes());
        };
        dir = std::filesystem::temp_directory_path() / "velmora-win32-capture";
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    bool Key(WPARAM key) {
        const MSG message{f.Window().Handle(), WM_KEYDOWN, key, 0, 0, {}};
        return f.Window().TranslateKey(message);
    }
    void Tick() { SendMessageW(f.Window().Handle(), WM_TIMER, kTimerId, 0); }

    test::Win32WindowFixture f;
    std::shared_ptr<test::FakeLine> line;
    std::filesystem::path dir;
};

TEST_F(Win32CaptureKeysTest, MShowsTheReadoutInItsCornerAndCtrlSWritesTheThreeFiles) {
    f.Form().Fft1CheckBox.SetChecked(true);
    Tick();
    Tick();
    Tick();
    ASSERT_TRUE(f.Form().HasShownFrame());
    const GdiCanvas& picture = f.Window().Picture();
    const std::vector<uint32_t> before = picture.CopyPixels();

    ASSERT_TRUE(Key('M'));
    const std::vector<uint32_t> shown = picture.CopyPixels();
    const ReadoutArea corner = MeasurementReadoutArea(picture.Width(), f.Form().Form.Dpi());
    int changed = 0;
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (before[i] == shown[i]) continue;
        const int x = static_cast<int>(i % static_cast<std::size_t>(picture.Width()));
        const int y = static_cast<int>(i / static_cast<std::size_t>(picture.Width()));
        ASSERT_TRUE(x >= corner.left && x < corner.right && y >= corner.top && y < corner.bottom)
            << x << "," << y;
        ++changed;
    }
    EXPECT_GT(changed, 100);
    ASSERT_TRUE(Key('M'));
    EXPECT_TRUE(picture.CopyPixels() == before);

    std::wstring proposed;
    const std::wstring base = dir.wstring() + L"\\frame";
    f.Window().askSaveName = [&](const std::wstring& name) {
        proposed = name;
        return base + L".csv";
    };
    const auto save = [&] {
        SetControlKey(true);
        const bool saved = Key('S');
        SetControlKey(false);
        return saved;
    };
    ASSERT_TRUE(save());
    // The first save of a run in the user's Documents folder, the next in the last one's.
    EXPECT_EQ(proposed.rfind(DocumentsFolder() + L"\\velmora-", 0), 0u) << NarrowToUtf8(proposed);
    const std::string png = FileBytes(dir / "frame.png");
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    EXPECT_EQ(BigEndian(png, 16), static_cast<uint32_t>(picture.Width()));
    EXPECT_EQ(BigEndian(png, 20), static_cast<uint32_t>(picture.Height()));
    EXPECT_EQ(FileBytes(dir / "frame.csv").rfind("# velmora: ", 0), 0u);
    EXPECT_EQ(FileBytes(dir / "frame-spectrum.csv").rfind("# velmora: ", 0), 0u);
    EXPECT_TRUE(f.errors.messages.empty());
    ASSERT_TRUE(save());
    EXPECT_EQ(proposed.rfind(dir.wstring() + L"\\velmora-", 0), 0u) << NarrowToUtf8(proposed);
}

}  // namespace
}  // namespace velmora
