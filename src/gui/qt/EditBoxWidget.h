#pragma once

#include <QClipboard>
#include <QLineEdit>

#include "controls/Dispatcher.h"
#include "controls/EditBox.h"

namespace velmora {

// A one-line edit box mirroring an EditBox model. Typed characters the model
// refuses (a digits-only box takes 0-9 alone) are dropped with a beep; a
// paste (Ctrl+V, the context menu, the middle button) that holds any such
// character is refused whole with the same beep, and so is a drop (the
// cursor shows the refusal). Text the program sets is shown as it is; the
// user's edits go into the model.
class EditBoxWidget final : public QLineEdit {
    Q_OBJECT

  public:
    EditBoxWidget(EditBox& model, Dispatcher dispatch, QWidget* parent);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    QString Kept(bool replacesSelection) const;
    bool Takes(const QString& inserted, bool replacesSelection) const;
    bool Accepts(const QString& typed) const;
    bool TakesDrop(const QDropEvent& event) const;
    void PasteWhole(QClipboard::Mode mode);
    void Mirror();

    EditBox& model_;
    Dispatcher dispatch_;
};

}  // namespace velmora
