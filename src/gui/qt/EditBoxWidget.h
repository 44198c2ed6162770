#pragma once

#include <QClipboard>
#include <QLineEdit>

#include "controls/Dispatcher.h"
#include "controls/EditBox.h"

namespace velmora {

// A one-line edit box mirroring an EditBox model. Typed characters the model
// refuses (a digits-only box takes 0-9 alone) are dropped with a beep, and a
// paste (Ctrl+V, the context menu, the middle button) lets through what
// typing would; a digits-only box takes no drops. Text the program sets is
// shown as it is; the user's edits go into the model.
class EditBoxWidget final : public QLineEdit {
    Q_OBJECT

  public:
    EditBoxWidget(EditBox& model, Dispatcher dispatch, QWidget* parent);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    bool Accepts(const QString& typed) const;
    void PasteTypedPart(QClipboard::Mode mode);
    void Mirror();

    EditBox& model_;
    Dispatcher dispatch_;
};

}  // namespace velmora
