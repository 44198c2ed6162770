#include <QGuiApplication>
#include <QScreen>

#include "app/ControlLayout.h"
#include "gui/qt/WindowFixture.h"

namespace velmora {
namespace {

std::string SettingsWithGeometry(int left, int top, int width, int height) {
    const int values[18] = {1, 0, 0, 0, 1, 7, 1, 7, 0, 1024, left, top, width, height, 1, 1, 0, 0};
    std::string file;
    for (int v : values) file += "Key01 " + std::to_string(v) + "                \r\n";
    return file;
}

// Whatever a hand-edited file says about the window, the picture behind it
// stays within what the screen can show and the window still works.
TEST(DamagedSettingsWindowTest, AbsurdGeometryIsBoundedByTheScreen) {
    for (const auto& [width, height] :
         {std::pair{100000, 100000}, std::pair{-5, 0}, std::pair{2147483647, -2147483647 - 1}}) {
        test::WindowFixture f;
        f.ports.AddPort("ttyACM0", "/dev/ttyACM0");
        f.settings.files["Config.Ini"] = SettingsWithGeometry(-30000, 40000, width, height);
        MainWindow& window = f.Window();
        const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
        EXPECT_EQ(f.Form().Form.Width(), width);  // the model keeps what was read
        EXPECT_LE(window.Picture().width(), std::max(kClientWidth, screen.width()));
        EXPECT_LE(window.Picture().height(), std::max(kClientHeight, screen.height()));
        EXPECT_GE(window.width(), 1);
        f.Form().ScreenClick();  // drawing into the bounded picture is safe
        EXPECT_TRUE(f.errors.messages.empty());
    }
}

}  // namespace
}  // namespace velmora
