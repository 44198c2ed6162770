#include <QTest>
#include <array>
#include <sstream>

#include "app/ControlLayout.h"
#include "gui/qt/WindowFixture.h"

namespace velmora {
namespace {

// Wleft, Wtopp, Wwidt and Whigh: lines 11 to 14 of the settings file.
std::array<int, 4> WrittenGeometry(const std::string& file) {
    std::istringstream lines(file);
    std::string line;
    std::array<int, 4> geometry{};
    for (int n = 1; std::getline(lines, line); ++n) {
        if (n >= 11 && n <= 14)
            geometry[static_cast<std::size_t>(n - 11)] = std::stoi(line.substr(6));
    }
    return geometry;
}

void Settle(MainWindow& window) {
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::qWait(20);
}

void ShowNormal(MainWindow& window) {
    window.show();
    Settle(window);
}

// One run of the program: open the window (on the file of the last run, if
// any), show it, close it; returns what the close wrote.
std::string OpenAndClose(const std::string& file, QSize* client, QMargins* frame,
                         void (*show)(MainWindow&) = ShowNormal) {
    test::WindowFixture f;
    if (!file.empty()) f.settings.files["Config.Ini"] = file;
    MainWindow& window = f.Window();
    show(window);
    *client = window.size();
    const QRect outer = window.frameGeometry();
    const QRect inner = window.geometry();
    *frame = QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                      outer.right() - inner.right(), outer.bottom() - inner.bottom());
    window.close();
    return f.settings.files["Config.Ini"];
}

// What a close writes is the window's outer geometry, and what an open applies
// is that same outer geometry: an un-maximised window keeps its size and place
// however often it is closed and opened again.
TEST(WindowGeometryTest, CloseOpenCloseKeepsTheWrittenGeometry) {
    QSize client;
    QMargins frame;
    const std::string first = OpenAndClose("", &client, &frame);
    const std::array<int, 4> written = WrittenGeometry(first);
    // The first run shows the design client area; the file holds it with its frame.
    EXPECT_EQ(client, QSize(kClientWidth, kClientHeight));
    EXPECT_EQ(written, (std::array<int, 4>{kDesignLeft, kDesignTop,
                                           kClientWidth + frame.left() + frame.right(),
                                           kClientHeight + frame.top() + frame.bottom()}));
    std::string file = first;
    for (int run = 2; run <= 3; ++run) {
        file = OpenAndClose(file, &client, &frame);
        EXPECT_EQ(WrittenGeometry(file), written) << "run " << run;
        EXPECT_EQ(client, QSize(kClientWidth, kClientHeight)) << "run " << run;
    }
    // Moved and resized by the window system, then closed: the next run
    // applies and writes back exactly that outer geometry.
    file = OpenAndClose(file, &client, &frame, [](MainWindow& window) {
        ShowNormal(window);
        window.setGeometry(40, 300, 700, 500);
        Settle(window);
    });
    const std::array<int, 4> moved = WrittenGeometry(file);
    EXPECT_EQ(moved[2], 700 + frame.left() + frame.right());
    EXPECT_EQ(moved[3], 500 + frame.top() + frame.bottom());
    file = OpenAndClose(file, &client, &frame);
    EXPECT_EQ(WrittenGeometry(file), moved);
    EXPECT_EQ(client, QSize(700, 500));
}

// Shown maximised, as the program starts, and then restored by the user: the
// restored window has the stored outer geometry, not one frame more.
TEST(WindowGeometryTest, ARestoredWindowHasTheStoredOuterGeometry) {
    QSize client;
    QMargins frame;
    const std::string first = OpenAndClose("", &client, &frame);
    const std::string file = OpenAndClose(first, &client, &frame, [](MainWindow& window) {
        window.showMaximized();
        Settle(window);
        // Closed now, the file would keep the maximised window's outer geometry.
        const Window& model = window.Form().Form;
        EXPECT_EQ(model.Width(), window.frameGeometry().width());
        EXPECT_EQ(model.Height(), window.frameGeometry().height());
        window.showNormal();
        Settle(window);
    });
    EXPECT_EQ(client, QSize(kClientWidth, kClientHeight));
    EXPECT_EQ(WrittenGeometry(file), WrittenGeometry(first));
}

}  // namespace
}  // namespace velmora
