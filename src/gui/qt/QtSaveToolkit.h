#pragma once

#include <QImage>
#include <QString>
#include <QWidget>
#include <functional>
#include <string>

#include "app/FrameSaveToolkit.h"

namespace velmora {

// The Qt window's part of saving a frame: the documents folder
// (DocumentsFolder: the XDG one, else home), a save dialog
// (`ask`: the system's, AskSaveNameInDialog, unless a test puts in its own)
// and Qt's PNG encoder, on the window's picture.
class QtSaveToolkit final : public FrameSaveToolkit {
  public:
    using AskName = std::function<QString(const QString& proposed)>;

    QtSaveToolkit(const QImage& picture, const AskName& ask) : picture_(picture), ask_(ask) {}

    std::string DocumentsFolder() const override;
    std::string AskSaveName(const std::string& proposed) override;
    void TakePicture() override;
    bool EncodePicture(std::string& png, std::string& error) override;

  private:
    const QImage& picture_;
    const AskName& ask_;
    QImage taken_;
};

// The system's save dialog over `parent`, proposing `proposed`; empty when
// the user cancels.
QString AskSaveNameInDialog(QWidget* parent, const QString& proposed);

}  // namespace velmora
