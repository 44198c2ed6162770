#include <gtest/gtest.h>
#include <stdlib.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <filesystem>

#include "display/MeasurementReadout.h"
#include "gui/qt/WindowFixture.h"
#include "instrument/VirtualInstrument.h"
#include "system/posix/DocumentsFolder.h"
#include "system/posix/PosixSerialPorts.h"

namespace velmora {
namespace {

constexpr QRgb kGrey = qRgb(128, 128, 128);
constexpr QRgb kBlue = qRgb(0, 0, 255);
constexpr QRgb kRed = qRgb(255, 0, 0);
constexpr QRgb kTeal = qRgb(0, 128, 128);

// Where the picture puts sample i of a time trace and value v, for the
// 1511 x 899 client area (plot 10..1511 wide, 887 high).
int SampleX(int i) { return 10 + static_cast<int>((1501LL * i) >> 11); }
int ValueY(int v) { return static_cast<int>((v - 2047LL) * 887 / -4094); }

bool ColourNear(const QImage& image, int x, int y0, int y1, QRgb colour) {
    for (int y = std::max(0, y0); y <= std::min(image.height() - 1, y1); ++y) {
        if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) return true;
    }
    return false;
}

// Highest point (smallest y) a colour reaches within columns x0..x1.
int TopOf(const QImage& image, int x0, int x1, QRgb colour) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = x0; x <= x1; ++x) {
            if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) return y;
        }
    }
    return image.height();
}

class LiveScreenshotTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/velmora-shotXXXXXX";
        runtime_ = mkdtemp(pattern);
        setenv("XDG_RUNTIME_DIR", runtime_.c_str(), 1);
        InstrumentOptions options;
        options.noise = 0;
        instrument_ = std::make_unique<VirtualInstrument>(options);
        std::string error;
        ASSERT_TRUE(instrument_->Start(error)) << error;
        ports_ = std::make_unique<PosixSerialPorts>(PortDiscovery(runtime_ + "/no-sys"));
    }
    void TearDown() override {
        window_.reset();
        instrument_->Stop();
        std::filesystem::remove_all(runtime_);
    }

    std::string runtime_;
    std::unique_ptr<VirtualInstrument> instrument_;
    std::unique_ptr<PosixSerialPorts> ports_;
    test::FakeSettingsStore settings_;
    SteadyClock clock_;
    test::RecordingErrors errors_;
    std::unique_ptr<MainWindow> window_;
};

TEST_F(LiveScreenshotTest, AFrameFromTheInstrumentShowsGridTracesAndSpectrum) {
    window_ = std::make_unique<MainWindow>(*ports_, settings_, clock_, errors_);
    window_->resize(1511, 899);
    window_->show();
    TForm2& form = window_->Form();
    ASSERT_TRUE(form.Link().IsOpen());
    form.SyncSrcBox.UserSelect(0);  // trigger on channel 1, rising
    form.SyncPolBox.UserSelect(0);
    form.Fft1CheckBox.SetChecked(true);
    form.Waveform1.UserSelect(1);  // A: sine, 1 kHz, 0.5 V peak on the +-1 V range
    form.Freq1.SetText("1000");
    form.Ampl1.SetText("0.5");
    form.EnableA.UserClick();
    form.Waveform2.UserSelect(6);  // B: square 50 %, 500 Hz, 0.25 V peak
    form.Freq2.SetText("500");
    form.Ampl2.SetText("0.25");
    form.EnableB.UserClick();
    const uint32_t start = form.Receive().framesReceived;
    ASSERT_TRUE(QTest::qWaitFor([&] { return form.Receive().framesReceived >= start + 3; }, 10000));
    QTest::qWait(50);

    const QImage& picture = window_->Picture();
    ASSERT_EQ(picture.size(), QSize(1511, 899));
    QDir().mkpath(QCoreApplication::applicationDirPath() + "/../artifacts");
    EXPECT_TRUE(window_->grab().save(QCoreApplication::applicationDirPath() +
                                     "/../artifacts/window-live.png"));

    // Grid: the vertical line at x = 460 and the horizontal one at y = 709,
    // away from traces and labels.
    EXPECT_EQ(picture.pixel(460, 780) & 0xFFFFFF, kGrey & 0xFFFFFF);
    EXPECT_EQ(picture.pixel(1300, 709) & 0xFFFFFF, kGrey & 0xFFFFFF);
    // Channel 1 crosses 0 rising at the trigger position and peaks at 1023
    // a quarter period (25.6 samples) later.
    EXPECT_TRUE(ColourNear(picture, SampleX(1024), ValueY(0) - 3, ValueY(0) + 3, kBlue));
    EXPECT_TRUE(ColourNear(picture, SampleX(1050), ValueY(1023) - 3, ValueY(1023) + 3, kBlue));
    // Channel 2 sits at +512 or -512 between its edges (204.8 samples a period).
    bool redFound = false;
    for (int i : {1100, 1200, 1300}) {
        redFound |= ColourNear(picture, SampleX(i), ValueY(512) - 2, ValueY(512) + 2, kRed) ||
                    ColourNear(picture, SampleX(i), ValueY(-512) - 2, ValueY(-512) + 2, kRed);
    }
    EXPECT_TRUE(redFound);
    // Spectrum of channel 1: 1 kHz falls between bins 20 and 21 (48.8 Hz
    // each), so the peak of the 1023-count sine shows at 1.1 x 600..1023
    // counts there; the baseline stays near zero far from it.
    const int peakTop = TopOf(picture, SampleX(2 * 18), SampleX(2 * 23), kTeal);
    EXPECT_LT(peakTop, ValueY(660));
    EXPECT_GT(peakTop, ValueY(1150));
    EXPECT_GT(TopOf(picture, SampleX(2 * 400), SampleX(2 * 410), kTeal), ValueY(40));
    EXPECT_TRUE(errors_.messages.empty());
}

// Every pixel that differs between two pictures lies in the readout's corner.
void ExpectOnlyTheCornerDiffers(const QImage& a, const QImage& b) {
    const ReadoutArea corner = MeasurementReadoutArea(a.width(), 96);
    int changed = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) == b.pixel(x, y)) continue;
            ++changed;
            ASSERT_TRUE(x >= corner.left && x < corner.right && y >= corner.top &&
                        y < corner.bottom)
                << x << "," << y;
        }
    }
    EXPECT_GT(changed, 100);
}

TEST_F(LiveScreenshotTest, MShowsTheReadoutInItsCornerAndCtrlSWritesTheThreeFiles) {
    window_ = std::make_unique<MainWindow>(*ports_, settings_, clock_, errors_);
    window_->resize(1511, 899);
    window_->show();
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    TForm2& form = window_->Form();
    form.Fft1CheckBox.SetChecked(true);
    form.Waveform1.UserSelect(1);
    form.EnableA.UserClick();
    const uint32_t start = form.Receive().framesReceived;
    ASSERT_TRUE(QTest::qWaitFor([&] { return form.Receive().framesReceived >= start + 2; }, 10000));
    form.HoldBox.SetChecked(true);  // the last frame stays on the screen
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form.Receive().requestPending; }, 5000));
    QTest::qWait(250);
    const QImage before = window_->Picture().copy();

    QTest::keyClick(window_.get(), Qt::Key_M);
    ASSERT_TRUE(form.MeasurementReadoutShown());
    const QImage withReadout = window_->Picture().copy();
    withReadout.save(QCoreApplication::applicationDirPath() + "/../artifacts/window-readout.png");
    ExpectOnlyTheCornerDiffers(before, withReadout);
    QTest::keyClick(window_.get(), Qt::Key_M);
    EXPECT_TRUE(window_->Picture() == before);

    // In a text box M is a letter.
    window_->findChild<QWidget*>(QStringLiteral("Ampl2"))->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_M);
    EXPECT_FALSE(form.MeasurementReadoutShown());
    EXPECT_EQ(form.Ampl2.Text(), "1.00m");

    QString proposed;
    const QString base = QString::fromStdString(runtime_) + "/frame";
    window_->askSaveName = [&](const QString& name) { return proposed = name, base + ".csv"; };
    QTest::keyClick(window_.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(QFileInfo(proposed).fileName().startsWith(QStringLiteral("velmora-")));
    EXPECT_EQ(QFileInfo(proposed).path().toStdString(), DocumentsFolder());  // the run's first save
    EXPECT_EQ(QImage(base + ".png").size(), window_->Picture().size());
    EXPECT_EQ(QImage(base + ".png").convertToFormat(QImage::Format_RGB32),
              window_->Picture().convertToFormat(QImage::Format_RGB32));
    for (const char* csv : {".csv", "-spectrum.csv"}) {
        QFile file(base + QString::fromLatin1(csv));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << csv;
        EXPECT_TRUE(file.readLine().startsWith("# velmora: "));
    }
    EXPECT_EQ(form.Display.Lines().back().rfind("Saved " + base.toStdString() + ".csv", 0), 0u);
    EXPECT_TRUE(errors_.messages.empty());
}

}  // namespace
}  // namespace velmora
