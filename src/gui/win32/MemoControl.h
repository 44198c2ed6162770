#pragma once

#include <string>

#include "app/ControlLayout.h"
#include "controls/Memo.h"
#include "gui/win32/ChildControl.h"

namespace velmora {

// The diagnostic log: a hidden multi-line read-only EDIT with both scroll
// bars, in Courier, mirroring a Memo model (lines appended at the end, cleared,
// shown or hidden).
class MemoControl final : public ChildControl {
  public:
    MemoControl(const ControlPlacement& placement, Memo& model, const ChildContext& context);
    ~MemoControl() override;
    void Rescale(const ChildScale& scale) override;  // the log's own font

  private:
    void Append(const std::string& line);
    void ForgetOldestLines();

    Memo& model_;
};

}  // namespace velmora
