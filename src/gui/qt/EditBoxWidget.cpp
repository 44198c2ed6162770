#include "gui/qt/EditBoxWidget.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>

namespace velmora {

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

// Control keys (Backspace, Delete, Ctrl+V and the like) are editing, not typing.
bool EditBoxWidget::Accepts(const QString& typed) const {
    for (const QChar c : typed) {
        if (!c.isPrint()) continue;
        const char latin = c.toLatin1();
        if (latin == 0 || !model_.AcceptsTyped(latin)) return false;
    }
    return true;
}

void EditBoxWidget::keyPressEvent(QKeyEvent* event) {
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

void EditBoxWidget::Mirror() {
    const QString text = QString::fromLatin1(model_.Text().c_str());
    if (text != this->text()) setText(text);
}

}  // namespace velmora
