#include "platform/qt/QtErrorReporter.h"

#include <QMessageBox>
#include <QString>

namespace velmora {

void QtErrorReporter::ShowError(const std::string& message) {
    QMessageBox::critical(
        parent_, QStringLiteral("Velmora"),
        QString::fromLatin1(message.data(), static_cast<qsizetype>(message.size())));
}

}  // namespace velmora
