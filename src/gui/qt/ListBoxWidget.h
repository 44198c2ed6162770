#pragma once

#include <QFrame>

#include "controls/Dispatcher.h"
#include "controls/ListBox.h"
#include "controls/ListBoxInput.h"
#include "gui/qt/MeasuredText.h"

namespace velmora {

// A one-row list box mirroring a ListBox model. The row shows the model's top
// entry; a narrow strip on the right holds an up and a down arrow that move
// the visible row without selecting, as the wheel does. What a click, a key or
// the wheel means is ListBoxInput's, shared with the other window bindings.
// Selections made by the program only repaint.
class ListBoxWidget final : public QFrame, public MeasuredText {
    Q_OBJECT

  public:
    ListBoxWidget(ListBox& model, Dispatcher dispatch, QWidget* parent);
    // The widest entry in the row, with the frame and the arrows.
    int TextWidth(qreal dpr) const override;

    // Where the visible row and the two arrows are, in widget pixels.
    QRect RowRect() const;
    QRect UpArrowRect() const;
    QRect DownArrowRect() const;

    // The text of the visible row (empty when the list is empty).
    QString VisibleText() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void PaintArrows(QPainter& painter) const;

    ListBox& model_;
    ListBoxInput input_;
};

}  // namespace velmora
