#include "gui/qt/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontInfo>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>
#include <QTimer>
#include <QWindow>
#include <algorithm>

#include "app/ControlBoxes.h"
#include "app/ControlLayout.h"
#include "app/ScrollBarDock.h"
#include "controls/DpiScale.h"
#include "gui/qt/AppIcon.h"
#include "gui/qt/ControlFactory.h"
#include "gui/qt/MeasuredText.h"
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
          FormServices{ports, settings, clock, canvas_, errors_, wallClock_, files_})),
      saveFlow_(*form_, wallClock_, dispatch_, '/'),
      placement_(*this, form_->Form, [this] { FitToClient(); }) {
    setObjectName(QStringLiteral("Form2"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Also the application's font, so that the picture's labels use it too.
    QApplication::setFont(WindowFont());
    setFont(WindowFont());
    setWindowIcon(LoadAppIcon());
    image_.fill(palette().color(QPalette::Window));
    BuildControls();
    AddKeys();
    form_->Form.onChanged = [this] { placement_.Mirror(); };
    placement_.Mirror();
    Run([this] { form_->FormCreate(); });
    FitControls();  // start-up filled the port list and relabelled the ranges

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
    askSaveName = [this](const QString& proposed) { return AskSaveNameInDialog(this, proposed); };
    auto* save = new QShortcut(QKeySequence::Save, this);
    connect(save, &QShortcut::activated, this, [this] { SaveFrame(); });
    auto* readout = new QShortcut(QKeySequence(Qt::Key_M), this);
    connect(readout, &QShortcut::activated, this,
            [this] { Run([this] { form_->ToggleMeasurementReadout(); }); });
}

void MainWindow::SaveFrame() {
    QtSaveToolkit toolkit(image_, askSaveName);
    saveFlow_.Save(toolkit);
}

void MainWindow::BuildControls() {
    for (std::size_t i = 0; i < kControlCount; ++i) {
        controls_.push_back(CreateControl(kControlLayout[i], *form_, dispatch_, this));
    }
    syncVoltBar_ = new ScrollBarWidget(form_->SyncVoltBar, Qt::Vertical, dispatch_, this);
    syncVoltBar_->setObjectName(QStringLiteral("SyncVoltBar"));
    syncVoltBar_->setToolTip(QStringLiteral("Sync Level"));
    syncPosBar_ = new ScrollBarWidget(form_->SyncPosBar, Qt::Horizontal, dispatch_, this);
    syncPosBar_->setObjectName(QStringLiteral("SyncPosBar"));
    syncPosBar_->setToolTip(QStringLiteral("Sync Position"));
}

// Qt scales the table's logical pixels to the screen; its fonts' text grows
// by another factor (FitControlBoxes). At a scale of 1 the table stands.
void MainWindow::FitControls() {
    const qreal dpr = devicePixelRatioF();
    std::vector<int> needed;
    for (const QWidget* control : controls_) {
        const auto* measured = dynamic_cast<const MeasuredText*>(control);
        needed.push_back(measured != nullptr ? measured->TextWidth(dpr) : 0);
    }
    const std::vector<ControlBox> boxes =
        FitControlBoxes(qRound(kDesignDpi * dpr), kDesignDpi, needed);
    for (std::size_t i = 0; i < boxes.size() && i < controls_.size(); ++i) {
        controls_[i]->setGeometry(boxes[i].left, boxes[i].top, boxes[i].width, boxes[i].height);
    }
}

void MainWindow::DockScrollBars() {
    const DockedBars bars = velmora::DockScrollBars(width(), height(), kDesignDpi);
    const auto place = [](QWidget* bar, const BarPlace& at) {
        bar->setGeometry(at.left, at.top, at.width, at.height);
    };
    place(syncPosBar_, bars.syncPos);
    place(syncVoltBar_, bars.syncVolt);
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
    placement_.Report();
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    placement_.Report();
}

// Where the window system can tell the frame at once, it is known from here
// on; elsewhere it is once the window is on the screen (exposed), which is
// also when the geometry the window system gave it counts.
void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    placement_.AdoptFrame();
    if (windowHandle() != nullptr) {
        windowHandle()->installEventFilter(this);
        connect(windowHandle(), &QWindow::screenChanged, this, &MainWindow::FitControls,
                Qt::UniqueConnection);
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == windowHandle() && event->type() == QEvent::Expose) placement_.Report();
    return QWidget::eventFilter(watched, event);
}

void MainWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) placement_.OnStateChange();
}

SurfaceClick::At MainWindow::Where(const QMouseEvent& event) const {
    const QPoint at = event.position().toPoint();
    const QWidget* child = childAt(at);
    return SurfaceClick::At{event.button() == Qt::LeftButton, rect().contains(at),
                            child != nullptr && child->isEnabled()};
}

void MainWindow::mousePressEvent(QMouseEvent* event) {
    click_.Press(Where(*event));
    event->accept();
}

void MainWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (click_.Release(Where(*event))) Run([this] { form_->ScreenClick(); });
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
