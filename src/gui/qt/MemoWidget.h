#pragma once

#include <QPlainTextEdit>

#include "controls/Memo.h"

namespace velmora {

// The diagnostic log: a read-only, unwrapped text box with both scroll bars
// that mirrors a Memo model's lines and visibility. Line ends that belong to
// a logged command ("\r", "\r\n") are dropped for display only.
class MemoWidget final : public QPlainTextEdit {
    Q_OBJECT

  public:
    MemoWidget(Memo& model, QWidget* parent);

  private:
    void AppendLine(const std::string& line);

    Memo& model_;
};

}  // namespace velmora
