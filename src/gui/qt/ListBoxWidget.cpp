#include "gui/qt/ListBoxWidget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QWheelEvent>
#include <algorithm>
#include <utility>

#include "app/ControlLayout.h"

namespace velmora {
namespace {

constexpr int kArrowStripWidth = 9;
// Where the row's text starts and ends, from the row's sides.
constexpr int kTextLeft = 2;
constexpr int kTextRight = 1;

}  // namespace

ListBoxWidget::ListBoxWidget(ListBox& model, Dispatcher dispatch, QWidget* parent)
    : QFrame(parent), model_(model), input_(model, std::move(dispatch)) {
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

int ListBoxWidget::TextWidth(qreal dpr) const {
    int widest = 0;
    for (int i = 0; i < model_.Count(); ++i) {
        widest = std::max(
            widest, DeviceTextWidth(font(), QString::fromLatin1(model_.Item(i).c_str()), dpr));
    }
    if (widest == 0) return 0;
    return widest + kTextLeft + kTextRight + kArrowStripWidth + 2 * frameWidth();
}

void ListBoxWidget::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect row = RowRect();
    const bool selected = model_.TopIndex() == model_.ItemIndex() && !VisibleText().isEmpty();
    if (selected) painter.fillRect(row, palette().brush(QPalette::Highlight));
    painter.setPen(palette().color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter.drawText(row.adjusted(kTextLeft, 0, -kTextRight, 0), Qt::AlignLeft | Qt::AlignVCenter,
                     VisibleText());
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
        input_.Scroll(-1);
    } else if (DownArrowRect().contains(at)) {
        input_.Scroll(1);
    } else if (RowRect().contains(at)) {
        input_.RowClick();
    }
    event->accept();
}

void ListBoxWidget::wheelEvent(QWheelEvent* event) {
    input_.Wheel(event->angleDelta().y());
    event->accept();
}

void ListBoxWidget::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Up:
        case Qt::Key_Left:
        case Qt::Key_PageUp:
            input_.Key(ListKey::Previous);
            break;
        case Qt::Key_Down:
        case Qt::Key_Right:
        case Qt::Key_PageDown:
            input_.Key(ListKey::Next);
            break;
        case Qt::Key_Home:
            input_.Key(ListKey::First);
            break;
        case Qt::Key_End:
            input_.Key(ListKey::Last);
            break;
        default:
            return QFrame::keyPressEvent(event);
    }
    event->accept();
}

}  // namespace velmora
