#include "platform/qt/ListBoxWidget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QWheelEvent>
#include <algorithm>

#include "app/ControlLayout.h"

namespace velmora {
namespace {

constexpr int kArrowStripWidth = 9;
constexpr int kWheelStep = 120;  // one notch of a mouse wheel

}  // namespace

ListBoxWidget::ListBoxWidget(ListBox& model, Dispatcher dispatch, QWidget* parent)
    : QFrame(parent), model_(model), dispatch_(std::move(dispatch)) {
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    model_.onChanged = [this] { update(); };
}

QRect ListBoxWidget::RowRect() const {
    const QRect inner = contentsRect();
    return QRect(inner.left(), inner.top(), std::max(0, inner.width() - kArrowStripWidth),
                 std::min(kListRowHeight, inner.height()));
}

QRect ListBoxWidget::UpArrowRect() const {
    const QRect inner = contentsRect();
    const int half = inner.height() / 2;
    return QRect(inner.right() - kArrowStripWidth + 1, inner.top(), kArrowStripWidth, half);
}

QRect ListBoxWidget::DownArrowRect() const {
    const QRect up = UpArrowRect();
    const QRect inner = contentsRect();
    return QRect(up.left(), up.bottom() + 1, up.width(), inner.bottom() - up.bottom());
}

QString ListBoxWidget::VisibleText() const {
    const int top = model_.TopIndex();
    if (top < 0 || top >= model_.Count()) return {};
    return QString::fromLatin1(model_.Item(top).c_str());
}

void ListBoxWidget::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect row = RowRect();
    const bool selected = model_.TopIndex() == model_.ItemIndex() && !VisibleText().isEmpty();
    if (selected) painter.fillRect(row, palette().brush(QPalette::Highlight));
    painter.setPen(palette().color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter.drawText(row.adjusted(2, 0, -1, 0), Qt::AlignLeft | Qt::AlignVCenter, VisibleText());
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Text), 1, Qt::DotLine));
        painter.drawRect(row.adjusted(0, 0, -1, -1));
    }
    PaintArrows(painter);
}

void ListBoxWidget::PaintArrows(QPainter& painter) const {
    const QRect up = UpArrowRect();
    const QRect down = DownArrowRect();
    painter.fillRect(up.united(down), palette().brush(QPalette::Button));
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(up.topLeft(), down.bottomLeft());
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette().color(QPalette::ButtonText));
    const int cx = up.left() + up.width() / 2;
    const int upY = up.center().y();
    const int downY = down.center().y();
    painter.drawPolygon(
        QPolygon({QPoint(cx - 3, upY + 2), QPoint(cx + 3, upY + 2), QPoint(cx, upY - 1)}));
    painter.drawPolygon(
        QPolygon({QPoint(cx - 3, downY - 1), QPoint(cx + 3, downY - 1), QPoint(cx, downY + 2)}));
}

void ListBoxWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QFrame::mousePressEvent(event);
    setFocus(Qt::MouseFocusReason);
    const QPoint at = event->position().toPoint();
    if (UpArrowRect().contains(at)) {
        ScrollBy(-1);
    } else if (DownArrowRect().contains(at)) {
        ScrollBy(1);
    } else if (RowRect().contains(at)) {
        const int top = model_.TopIndex();
        if (top >= 0 && top < model_.Count()) dispatch_([this, top] { model_.UserSelect(top); });
    }
    event->accept();
}

void ListBoxWidget::wheelEvent(QWheelEvent* event) {
    wheelAccumulator_ += event->angleDelta().y();
    while (wheelAccumulator_ >= kWheelStep) {
        wheelAccumulator_ -= kWheelStep;
        ScrollBy(-1);
    }
    while (wheelAccumulator_ <= -kWheelStep) {
        wheelAccumulator_ += kWheelStep;
        ScrollBy(1);
    }
    event->accept();
}

void ListBoxWidget::keyPressEvent(QKeyEvent* event) {
    const int selected = model_.ItemIndex();
    const bool none = selected < 0 || selected >= model_.Count();
    switch (event->key()) {
        case Qt::Key_Up:
        case Qt::Key_Left:
        case Qt::Key_PageUp:
            SelectByKey(none ? model_.TopIndex() : selected - 1);
            break;
        case Qt::Key_Down:
        case Qt::Key_Right:
        case Qt::Key_PageDown:
            SelectByKey(none ? model_.TopIndex() : selected + 1);
            break;
        case Qt::Key_Home:
            SelectByKey(0);
            break;
        case Qt::Key_End:
            SelectByKey(model_.Count() - 1);
            break;
        default:
            return QFrame::keyPressEvent(event);
    }
    event->accept();
}

// A key that lands on the entry already selected changes nothing and is no click.
void ListBoxWidget::SelectByKey(int index) {
    if (index < 0 || index >= model_.Count() || index == model_.ItemIndex()) return;
    dispatch_([this, index] { model_.UserSelect(index); });
}

void ListBoxWidget::ScrollBy(int rows) {
    if (model_.Count() == 0) return;
    const int top = std::clamp(model_.TopIndex() + rows, 0, model_.Count() - 1);
    if (top != model_.TopIndex()) dispatch_([this, top] { model_.SetTopIndex(top); });
}

}  // namespace velmora
