#include "gui/qt/EditBoxWidget.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>

namespace velmora {
namespace {

// The standard menu's Paste: named "edit-paste" in later Qt versions; in
// Qt 6.4 (Debian 12) unnamed, the entry whose text ends in the Paste
// shortcut, which Qt appends after a tab in every language.
QAction* PasteAction(const QMenu& menu) {
    const QString shortcut = QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
    for (QAction* action : menu.actions()) {
        if (action->objectName() == QLatin1String("edit-paste") ||
            action->text().section(QLatin1Char('\t'), 1) == shortcut) {
            return action;
        }
    }
    return nullptr;
}

}  // namespace

EditBoxWidget::EditBoxWidget(EditBox& model, Dispatcher dispatch, QWidget* parent)
    : QLineEdit(parent), model_(model), dispatch_(std::move(dispatch)) {
    Mirror();
    model_.onChanged = [this] { Mirror(); };
    // textEdited comes only from the user; setText does not emit it.
    connect(this, &QLineEdit::textEdited, this, [this](const QString& text) {
        const QByteArray bytes = text.toLatin1();
        dispatch_([this, &bytes] { model_.SetText(std::string(bytes.constData(), bytes.size())); });
    });
}

// The text that stays when the selection is replaced (or, for a drop from
// elsewhere, all of it).
QString EditBoxWidget::Kept(bool replacesSelection) const {
    QString kept = text();
    if (replacesSelection && hasSelectedText())
        kept.remove(selectionStart(), selectedText().size());
    return kept;
}

// Whether `inserted` may stand in for the selection: only text the model
// lets in whole. Text outside Latin-1 never is, in a box that limits typing.
bool EditBoxWidget::Takes(const QString& inserted, bool replacesSelection) const {
    if (!model_.DigitsOnly()) return true;
    const QByteArray latin = inserted.toLatin1();
    if (QString::fromLatin1(latin) != inserted) return false;
    const QByteArray kept = Kept(replacesSelection).toLatin1();
    return model_.AcceptsInsert(std::string_view(latin.constData(), latin.size()),
                                std::string_view(kept.constData(), kept.size()));
}

// Control keys (Backspace, Delete, Ctrl+V and the like) are editing, not typing.
bool EditBoxWidget::Accepts(const QString& typed) const {
    QString printable;
    for (const QChar c : typed) {
        if (c.isPrint()) printable += c;
    }
    return printable.isEmpty() || Takes(printable, true);
}

// A paste holding anything typing would refuse is refused whole, with the
// beep of a refused key: never filtered into another number.
void EditBoxWidget::PasteWhole(QClipboard::Mode mode) {
    const QString pasted = QGuiApplication::clipboard()->text(mode);
    if (!Takes(pasted, true)) {
        QApplication::beep();
        return;
    }
    if (!pasted.isEmpty()) insert(pasted);
}

void EditBoxWidget::keyPressEvent(QKeyEvent* event) {
    if (model_.DigitsOnly() && event->matches(QKeySequence::Paste)) {
        PasteWhole(QClipboard::Clipboard);
        event->accept();
        return;
    }
    if (!Accepts(event->text())) {
        QApplication::beep();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void EditBoxWidget::inputMethodEvent(QInputMethodEvent* event) {
    if (!Accepts(event->commitString())) {
        QApplication::beep();
        event->accept();
        return;
    }
    QLineEdit::inputMethodEvent(event);
}

// The standard menu, its Paste through the same filter.
void EditBoxWidget::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createStandardContextMenu();
    if (QAction* paste = PasteAction(*menu); paste != nullptr && model_.DigitsOnly()) {
        paste->disconnect();
        connect(paste, &QAction::triggered, this, [this] { PasteWhole(QClipboard::Clipboard); });
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

// X11's middle-button paste of the selection.
void EditBoxWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (model_.DigitsOnly() && event->button() == Qt::MiddleButton &&
        QGuiApplication::clipboard()->supportsSelection()) {
        deselect();  // the selection is inserted at the cursor, replacing nothing
        PasteWhole(QClipboard::Selection);
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

// A drop the box would refuse shows the refusing cursor and is not taken. A
// text dragged within the box moves: its own selection goes.
bool EditBoxWidget::TakesDrop(const QDropEvent& event) const {
    return !event.mimeData()->hasText() || Takes(event.mimeData()->text(), event.source() == this);
}

void EditBoxWidget::dragEnterEvent(QDragEnterEvent* event) {
    if (!TakesDrop(*event)) return event->ignore();
    QLineEdit::dragEnterEvent(event);
}

void EditBoxWidget::dragMoveEvent(QDragMoveEvent* event) {
    if (!TakesDrop(*event)) return event->ignore();
    QLineEdit::dragMoveEvent(event);
}

void EditBoxWidget::dropEvent(QDropEvent* event) {
    if (!TakesDrop(*event)) {
        QApplication::beep();
        return event->ignore();
    }
    QLineEdit::dropEvent(event);
}

void EditBoxWidget::Mirror() {
    const QString text = QString::fromLatin1(model_.Text().c_str());
    if (text != this->text()) setText(text);
}

}  // namespace velmora
