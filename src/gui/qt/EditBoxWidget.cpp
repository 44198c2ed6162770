#include "gui/qt/EditBoxWidget.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
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
    if (model_.DigitsOnly()) setAcceptDrops(false);
    // textEdited comes only from the user; setText does not emit it.
    connect(this, &QLineEdit::textEdited, this, [this](const QString& text) {
        const QByteArray bytes = text.toLatin1();
        dispatch_([this, &bytes] { model_.SetText(std::string(bytes.constData(), bytes.size())); });
    });
}

// Control keys (Backspace, Delete, Ctrl+V and the like) are editing, not typing.
bool EditBoxWidget::Accepts(const QString& typed) const {
    for (const QChar c : typed) {
        if (!c.isPrint()) continue;
        const char latin = c.toLatin1();
        if (latin == 0 || !model_.AcceptsTyped(latin)) return false;
    }
    return true;
}

// Inserted in place of the selection as the typed characters would be.
void EditBoxWidget::PasteTypedPart(QClipboard::Mode mode) {
    const QByteArray pasted = QGuiApplication::clipboard()->text(mode).toLatin1();
    const std::string kept = model_.TypedPart(std::string_view(pasted.constData(), pasted.size()));
    if (kept.size() != static_cast<std::size_t>(pasted.size())) QApplication::beep();
    if (!kept.empty()) insert(QString::fromLatin1(kept.data(), static_cast<int>(kept.size())));
}

void EditBoxWidget::keyPressEvent(QKeyEvent* event) {
    if (model_.DigitsOnly() && event->matches(QKeySequence::Paste)) {
        PasteTypedPart(QClipboard::Clipboard);
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
        connect(paste, &QAction::triggered, this,
                [this] { PasteTypedPart(QClipboard::Clipboard); });
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

// X11's middle-button paste of the selection.
void EditBoxWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (model_.DigitsOnly() && event->button() == Qt::MiddleButton &&
        QGuiApplication::clipboard()->supportsSelection()) {
        deselect();  // the selection is inserted at the cursor, replacing nothing
        PasteTypedPart(QClipboard::Selection);
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void EditBoxWidget::Mirror() {
    const QString text = QString::fromLatin1(model_.Text().c_str());
    if (text != this->text()) setText(text);
}

}  // namespace velmora
