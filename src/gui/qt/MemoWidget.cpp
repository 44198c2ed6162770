#include "gui/qt/MemoWidget.h"

#include <QFont>

namespace velmora {

MemoWidget::MemoWidget(Memo& model, QWidget* parent) : QPlainTextEdit(parent), model_(model) {
    setReadOnly(true);
    // The widget forgets old lines as the log does.
    setMaximumBlockCount(static_cast<int>(Memo::kMaxLines));
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont courier(QStringLiteral("Courier"));
    courier.setStyleHint(QFont::TypeWriter);
    courier.setFixedPitch(true);
    courier.setPixelSize(13);
    setFont(courier);
    for (const std::string& line : model_.Lines()) AppendLine(line);
    setVisible(model_.Visible());
    model_.onAppend = [this](const std::string& line) { AppendLine(line); };
    model_.onCleared = [this] { clear(); };
    model_.onVisibility = [this] { setVisible(model_.Visible()); };
}

void MemoWidget::AppendLine(const std::string& line) {
    std::size_t n = line.size();
    if (n >= 2 && line[n - 2] == '\r' && line[n - 1] == '\n') {
        n -= 2;
    } else if (n >= 1 && line[n - 1] == '\r') {
        n -= 1;
    }
    appendPlainText(QString::fromLatin1(line.data(), static_cast<qsizetype>(n)));
}

}  // namespace velmora
