#include "gui/qt/MainWindow.h"

#include <QApplication>
#include <QBuffer>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontInfo>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <stdexcept>

#include "app/ControlLayout.h"
#include "capture/FrameFiles.h"
#include "gui/qt/AppIcon.h"
#include "gui/qt/ControlFactory.h"
#include "gui/qt/ScrollBarWidget.h"

namespace velmora {
namespace {

// The controls were laid out for Tahoma at 11 pixels. Where it is missing,
// the usual substitutes are wider; their semi-condensed face keeps the
// captions inside their boxes.
QFont WindowFont() {
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    if (QFontInfo(font).family() != font.family()) font.setStretch(QFont::SemiCondensed);
    return font;
}

}  // namespace

MainWindow::MainWindow(SerialPorts& ports, SettingsStore& settings, Clock& clock,
                       ErrorReporter& errors, QWidget* parent)
    : QWidget(parent),
      dispatch_([this](const std::function<void()>& event) { Run(event); }),
      image_(kClientWidth, kClientHeight, QImage::Format_RGB32),
      canvas_(image_),
      errors_(canvas_, errors),
      form_(std::make_unique<TForm2>(
          FormServices{ports, settings, clock, canvas_, errors_, wallClock_, files_})) {
    setObjectName(QStringLiteral("Form2"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Also the application's font, so that the picture's labels use it too.
    QApplication::setFont(WindowFont());
    setFont(WindowFont());
    setWindowIcon(LoadAppIcon());
    image_.fill(palette().color(QPalette::Window));
    BuildControls();
    AddKeys();
    form_->Form.onChanged = [this] { MirrorWindow(); };
    MirrorWindow();
    Run([this] { form_->FormCreate(); });

    timer_ = new QTimer(this);
    timer_->setInterval(form_->Timer1.Interval());
    connect(timer_, &QTimer::timeout, this, [this] {
        if (form_->Timer1.Enabled() && form_->Timer1.onTick) Run(form_->Timer1.onTick);
    });
    timer_->start();
}

// The widgets refer to the form's models, so they go first.
MainWindow::~MainWindow() {
    timer_->stop();
    qDeleteAll(findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly));
}

// One painter serves everything an event draws.
void MainWindow::Run(const std::function<void()>& event) {
    canvas_.Begin();
    painting_ = true;
    form_->Dispatch(event);
    painting_ = false;
    canvas_.End();
    ShowDrawn();
}

// Only what the canvas drew again is shown again (a redraw like the one
// before, nothing at all). The controls on it mostly stand on the same pixels
// as before and look as they did: repainting them all, the scroll bars'
// gradients above all, cost more than the picture.
void MainWindow::ShowDrawn() {
    const QRegion drawn = canvas_.TakeDrawnArea();
    if (!drawn.isEmpty()) update(backdrops_.Changed(image_, drawn, *this));
}

// Ctrl+S saves the frame on the screen; M shows or hides the measurements,
// except in a text box, which takes the key as the letter it types.
void MainWindow::AddKeys() {
    askSaveName = [this](const QString& proposed) { return AskSaveNameInDialog(proposed); };
    auto* save = new QShortcut(QKeySequence::Save, this);
    connect(save, &QShortcut::activated, this, [this] { SaveFrame(); });
    auto* readout = new QShortcut(QKeySequence(Qt::Key_M), this);
    connect(readout, &QShortcut::activated, this,
            [this] { Run([this] { form_->ToggleMeasurementReadout(); }); });
}

// The frame and the picture are taken when the user asks: ticks go on while
// the dialog is open.
void MainWindow::SaveFrame() {
    bool ready = false;
    Run([&] { ready = form_->CanSaveFrame(); });
    if (!ready) return;
    const FrameRecord frame = form_->ShownFrame();
    const QImage picture = image_.copy();
    const QString folder = saveFolder_.isEmpty() ? QDir::currentPath() : saveFolder_;
    const QString name = QString::fromLatin1(ProposedCaptureName(wallClock_.Now()).c_str());
    const QString chosen = askSaveName(QDir(folder).filePath(name));
    if (chosen.isEmpty()) return;
    saveFolder_ = QFileInfo(chosen).absolutePath();
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !picture.save(&buffer, "PNG")) {
        Run([] { throw std::runtime_error("Cannot save the picture: the PNG encoder failed"); });
        return;
    }
    const std::string base = CaptureBaseName(chosen.toStdString());
    Run([&] { form_->SaveFrame(frame, base, png.toStdString()); });
}

QString MainWindow::AskSaveNameInDialog(const QString& proposed) {
    QFileDialog dialog(this, QStringLiteral("Save frame (CSV and PNG)"), proposed,
                       QStringLiteral("Samples (*.csv)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    dialog.selectFile(proposed);
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
               ? dialog.selectedFiles().first()
               : QString();
}

void MainWindow::BuildControls() {
    for (std::size_t i = 0; i < kControlCount; ++i) {
        CreateControl(kControlLayout[i], *form_, dispatch_, this);
    }
    syncVoltBar_ = new ScrollBarWidget(form_->SyncVoltBar, Qt::Vertical, dispatch_, this);
    syncVoltBar_->setObjectName(QStringLiteral("SyncVoltBar"));
    syncVoltBar_->setToolTip(QStringLiteral("Sync Level"));
    syncPosBar_ = new ScrollBarWidget(form_->SyncPosBar, Qt::Horizontal, dispatch_, this);
    syncPosBar_->setObjectName(QStringLiteral("SyncPosBar"));
    syncPosBar_->setToolTip(QStringLiteral("Sync Position"));
}

// The level bar runs down the left edge above the position bar, which spans
// the bottom edge; both follow the client size.
void MainWindow::DockScrollBars() {
    const int posTop = height() - kSyncPosBarHeight;
    syncPosBar_->setGeometry(0, posTop, width(), kSyncPosBarHeight);
    syncVoltBar_->setGeometry(kSyncVoltBarMargin, kSyncVoltBarMargin, kSyncVoltBarWidth,
                              std::max(0, posTop - 2 * kSyncVoltBarMargin));
}

// Only what the event asks for, clipped to the picture less the controls that
// need no repaint: a region of many rectangles, through which the raster
// engine copies the image span by span. It hands a fill of more than about a
// hundred spans to its worker threads, whose wake-ups cost more than the
// copy; slices of a few dozen lines stay on this thread.
void MainWindow::paintEvent(QPaintEvent* event) {
    constexpr int kSliceLines = 48;
    QPainter painter(this);
    for (const QRect& area : event->region()) {
        for (int top = area.top(); top <= area.bottom(); top += kSliceLines) {
            const QRect slice(area.left(), top, area.width(),
                              std::min(kSliceLines, area.bottom() - top + 1));
            painter.drawImage(slice.topLeft(), image_, slice);
        }
    }
}

// The picture keeps what it holds; new area shows the window's background
// until the next frame, as any part of the surface not drawn yet does.
//
// The settings file resizes the window in the middle of start-up, while the
// canvas holds a painter on the picture: the painter is closed around the
// swap, or it would go on painting into the image that is thrown away.
void MainWindow::ResizePicture(QSize size) {
    if (size == image_.size() || size.isEmpty()) return;
    if (painting_) canvas_.End();
    ReplacePicture(size);
    if (painting_) canvas_.Begin();
}

void MainWindow::ReplacePicture(QSize size) {
    QImage next(size, QImage::Format_RGB32);
    next.fill(palette().color(QPalette::Window));
    QPainter painter(&next);
    painter.drawImage(0, 0, image_);
    painter.end();
    image_.swap(next);  // the same QImage object, so the canvas stays bound to it
}

// A hidden window gets its resize event only when shown, so a size set by the
// program is applied at once as well.
void MainWindow::FitToClient() {
    ResizePicture(size());
    form_->Form.SetClientSize(width(), height());
    DockScrollBars();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FitToClient();
    ReportGeometry();
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    ReportGeometry();
}

// Where the window system can tell the frame at once, it is known from here
// on; elsewhere it is once the window is on the screen (exposed), which is
// also when the geometry the window system gave it counts.
void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    AdoptFrame();
    if (windowHandle() != nullptr) windowHandle()->installEventFilter(this);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == windowHandle() && event->type() == QEvent::Expose) ReportGeometry();
    return QWidget::eventFilter(watched, event);
}

void MainWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !restorePending_ || mirroring_) return;
    if (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) return;
    mirroring_ = true;  // the move must not report the old size before the resize
    ApplyOuterGeometry();
    mirroring_ = false;
    ReportGeometry();
}

// Caption and outer geometry set by the program (start-up, settings file).
void MainWindow::MirrorWindow() {
    if (mirroring_) return;
    mirroring_ = true;
    const Window& model = form_->Form;
    setWindowTitle(QString::fromLatin1(model.Caption().c_str()));
    requested_ = OuterGeometry{model.Left(), model.Top(), model.Width(), model.Height()};
    if (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) {
        restorePending_ = true;
    } else {
        ApplyOuterGeometry();
    }
    mirroring_ = false;
}

// The requested outer geometry, less the frame the window system puts around
// it. Before the window is shown the frame is not known yet (taken as none);
// AdoptFrame applies the geometry again once it is.
void MainWindow::ApplyOuterGeometry() {
    restorePending_ = false;
    move(requested_.left, requested_.top);  // a top-level window's position is its frame's
    // A hand-edited settings file may ask for any size; the picture behind
    // the window is an image of the client size, so it is kept within the
    // screen (or the design size, where the screen is smaller). The model
    // keeps the values as they were given.
    const QSize screenSize = screen() ? screen()->availableGeometry().size() : QSize();
    const int maxWidth = std::max(screenSize.width(), kClientWidth);
    const int maxHeight = std::max(screenSize.height(), kClientHeight);
    const FrameMargins& frame = form_->Form.Frame();
    resize(std::clamp(frame.ClientWidth(requested_.width), 1, maxWidth),
           std::clamp(frame.ClientHeight(requested_.height), 1, maxHeight));
    FitToClient();
}

// The frame as the window system drew it. A new one goes to the model, whose
// geometry (and so the window's) follows.
void MainWindow::AdoptFrame() {
    if (!isVisible()) return;
    const QRect outer = frameGeometry();
    const QRect inner = geometry();
    const FrameMargins frame{inner.left() - outer.left(), inner.top() - outer.top(),
                             outer.right() - inner.right(), outer.bottom() - inner.bottom()};
    form_->Form.SetFrame(frame);
}

// Where the user (or the window manager) put the window, as the settings
// file will store it. Until the window is on the screen, its geometry is only
// the program's own request coming back, measured without the frame.
void MainWindow::ReportGeometry() {
    if (mirroring_ || !isVisible()) return;
    AdoptFrame();
    if (windowHandle() == nullptr || !windowHandle()->isExposed()) return;
    mirroring_ = true;
    const QRect outer = frameGeometry();
    form_->Form.SetGeometry(outer.x(), outer.y(), outer.width(), outer.height());
    mirroring_ = false;
}

// A click on a disabled control (the greyed labels) falls through to the
// surface, as it does on the instrument's home platform.
bool MainWindow::OnSurface(QPoint at) const {
    const QWidget* child = childAt(at);
    return rect().contains(at) && (child == nullptr || !child->isEnabled());
}

void MainWindow::mousePressEvent(QMouseEvent* event) {
    surfacePressed_ = event->button() == Qt::LeftButton && OnSurface(event->position().toPoint());
    event->accept();
}

void MainWindow::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = surfacePressed_ && event->button() == Qt::LeftButton &&
                       OnSurface(event->position().toPoint());
    surfacePressed_ = false;
    if (click) Run([this] { form_->ScreenClick(); });
    event->accept();
}

void MainWindow::CloseBySystem() {
    closedBySystem_ = true;
    close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    timer_->stop();
    const TForm2::ClosedBy by =
        closedBySystem_ ? TForm2::ClosedBy::kSystem : TForm2::ClosedBy::kUser;
    Run([this, by] { form_->FormClose(by); });
    event->accept();
}

}  // namespace velmora
