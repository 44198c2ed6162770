#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QSize>
#include <QString>
#include <memory>
#include <ostream>

#include "gui/qt/MainWindow.h"
#include "support/FormFixture.h"

// Sizes in a failure message read as sizes.
inline void PrintTo(const QSize& size, std::ostream* out) {
    *out << size.width() << " x " << size.height();
}

namespace velmora::test {

// One QApplication for the whole test program, on the offscreen platform
// unless the caller chose another.
class QtEnvironment final : public ::testing::Environment {
  public:
    void SetUp() override {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "velmora_gui_qt_tests";
        static char* argv[] = {name, nullptr};
        if (QApplication::instance() == nullptr) app_ = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { app_.reset(); }

  private:
    std::unique_ptr<QApplication> app_;
};

inline ::testing::Environment* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

// The real window on fake services: scripted ports on a virtual clock,
// settings in memory, errors recorded. Ports added before Window() is first
// called are what start-up discovers.
struct WindowFixture {
    VirtualClock clock;
    FakeSerialPorts ports{clock};
    FakeSettingsStore settings;
    RecordingErrors errors;
    std::unique_ptr<MainWindow> window;

    MainWindow& Window() {
        if (!window) window = std::make_unique<MainWindow>(ports, settings, clock, errors);
        return *window;
    }
    TForm2& Form() { return Window().Form(); }

    template <typename W>
    W* Find(const char* name) {
        W* widget = Window().findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
};

inline QString Latin1(const std::string& text) { return QString::fromLatin1(text.c_str()); }

}  // namespace velmora::test
