#pragma once

#include <QImage>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "app/FrameSaveFlow.h"
#include "app/SurfaceClick.h"
#include "app/TForm2.h"
#include "controls/Dispatcher.h"
#include "gui/qt/CanvasPausingReporter.h"
#include "gui/qt/ControlBackdrops.h"
#include "gui/qt/QImageCanvas.h"
#include "gui/qt/QtSaveToolkit.h"
#include "gui/qt/QtWindowPlacement.h"
#include "system/posix/PosixOutputFiles.h"
#include "system/posix/PosixWallClock.h"

class QTimer;

namespace velmora {

class ScrollBarWidget;

// The main window: owns the form (built on the services it is given), the
// widgets that mirror the form's controls, and the picture. The picture is
// the window's own surface: an image of the client size under the controls
// that the canvas draws into and every repaint shows, so a covered window
// comes back with its last picture. After an event only what it drew is shown
// again, with those of the controls over it whose backdrop changed. Every
// user event and timer tick runs through the form's dispatcher. Construction
// builds the controls with their design values and then runs FormCreate;
// closing runs FormClose.
class MainWindow final : public QWidget {
    Q_OBJECT

  public:
    MainWindow(SerialPorts& ports, SettingsStore& settings, Clock& clock, ErrorReporter& errors,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    TForm2& Form() { return *form_; }
    // Asks where to save the frame (proposing a path); empty when the user
    // cancels. The system's save dialog unless a test puts in its own.
    QtSaveToolkit::AskName askSaveName;
    // A close the user did not ask for (a signal, the session ending): the
    // settings are saved as at any close, but a file that cannot be written
    // is only logged, with nobody there to click an error box away.
    void CloseBySystem();
    // The picture the canvas draws into and the window shows.
    QImage& Picture() { return image_; }
    const QImage& Picture() const { return image_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void Run(const std::function<void()>& event);
    void AddKeys();
    void SaveFrame();
    void ShowDrawn();
    void BuildControls();
    void FitControls();
    void DockScrollBars();
    void FitToClient();
    void ResizePicture(QSize size);
    void ReplacePicture(QSize size);
    SurfaceClick::At Where(const QMouseEvent& event) const;

    Dispatcher dispatch_;
    PosixWallClock wallClock_;
    PosixOutputFiles files_;
    QImage image_;
    QImageCanvas canvas_;
    CanvasPausingReporter errors_;
    ControlBackdrops backdrops_;
    std::unique_ptr<TForm2> form_;
    std::vector<QWidget*> controls_;  // one per entry of the control table, in its order
    ScrollBarWidget* syncVoltBar_ = nullptr;
    ScrollBarWidget* syncPosBar_ = nullptr;
    QTimer* timer_ = nullptr;
    SurfaceClick click_;
    FrameSaveFlow saveFlow_;
    QtWindowPlacement placement_;
    bool painting_ = false;  // inside Run: the canvas holds a painter on the picture
    bool closedBySystem_ = false;
};

}  // namespace velmora
