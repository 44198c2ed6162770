#include "gui/qt/QtErrorReporter.h"

#include <QMessageBox>
#include <QString>

#include "app/ControlLayout.h"

namespace velmora {

void QtErrorReporter::ShowError(const std::string& message) {
    QMessageBox::critical(
        parent_, QString::fromLatin1(kApplicationTitle),
        QString::fromLatin1(message.data(), static_cast<qsizetype>(message.size())));
}

}  // namespace velmora
