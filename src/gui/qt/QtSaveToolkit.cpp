#include "gui/qt/QtSaveToolkit.h"

#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFileDialog>

#include "system/posix/DocumentsFolder.h"

namespace velmora {

// Without a home folder (a service account), the current one.
std::string QtSaveToolkit::DocumentsFolder() const {
    const std::string documents = velmora::DocumentsFolder();
    return documents.empty() ? QDir::currentPath().toStdString() : documents;
}

std::string QtSaveToolkit::AskSaveName(const std::string& proposed) {
    return ask_(QString::fromStdString(proposed)).toStdString();
}

void QtSaveToolkit::TakePicture() { taken_ = picture_.copy(); }

bool QtSaveToolkit::EncodePicture(std::string& png, std::string& error) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !taken_.save(&buffer, "PNG")) {
        error = "the PNG encoder failed";
        return false;
    }
    png = bytes.toStdString();
    return true;
}

QString AskSaveNameInDialog(QWidget* parent, const QString& proposed) {
    QFileDialog dialog(parent, QStringLiteral("Save frame (CSV and PNG)"), proposed,
                       QStringLiteral("Samples (*.csv)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    dialog.selectFile(proposed);
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
               ? dialog.selectedFiles().first()
               : QString();
}

}  // namespace velmora
