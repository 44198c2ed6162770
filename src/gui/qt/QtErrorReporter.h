#pragma once

#include "controls/ErrorReporter.h"

class QWidget;

namespace velmora {

// The standard error box: a critical message box titled "Velmora" with the
// error's text (Latin-1), modal, returning once the user has closed it.
class QtErrorReporter final : public ErrorReporter {
  public:
    explicit QtErrorReporter(QWidget* parent = nullptr) : parent_(parent) {}
    void ShowError(const std::string& message) override;

  private:
    QWidget* parent_;
};

}  // namespace velmora
