#include <gtest/gtest.h>

#include <set>

#include "app/ControlBinding.h"
#include "support/FormFixture.h"

namespace velmora {
namespace {

// Every window binding builds its controls from this join, so a table entry
// without its model (or bound to the wrong one) would break both windows.
TEST(ControlBindingTest, EveryPlacementDrivesItsOwnModelOfItsKind) {
    test::FormFixture f;
    TForm2& form = f.Form();
    std::set<const void*> models;
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const ControlPlacement& placement = kControlLayout[i];
        const BoundControl bound = BindControl(placement, form);
        const void* const pointers[] = {bound.list, bound.check, bound.edit, bound.memo};
        const void* model = nullptr;
        int set = 0;
        for (const void* p : pointers) {
            if (p != nullptr) {
                model = p;
                ++set;
            }
        }
        switch (placement.kind) {
            case ControlKind::ListBox:
                EXPECT_NE(bound.list, nullptr) << placement.name;
                break;
            case ControlKind::CheckBox:
                EXPECT_NE(bound.check, nullptr) << placement.name;
                break;
            case ControlKind::EditBox:
                EXPECT_NE(bound.edit, nullptr) << placement.name;
                break;
            case ControlKind::Memo:
                EXPECT_EQ(bound.memo, &form.Display) << placement.name;
                break;
            case ControlKind::Button:
                EXPECT_TRUE(bound.click) << placement.name;
                break;
            case ControlKind::Label:
                break;
        }
        EXPECT_EQ(set, model ? 1 : 0) << placement.name;
        if (model != nullptr) {
            EXPECT_TRUE(models.insert(model).second) << placement.name << " shares a model";
        }
    }
    EXPECT_EQ(BindControl(*FindControl("Scale2"), form).list, &form.Scale2);
    EXPECT_EQ(BindControl(*FindControl("Ampl2"), form).edit, &form.Ampl2);
    EXPECT_EQ(BindControl(*FindControl("HoldBox"), form).check, &form.HoldBox);

    BindControl(*FindControl("Button1"), form).click();
    EXPECT_TRUE(form.Display.Visible());

    const ControlPlacement stray{"Scale3", ControlKind::ListBox, 0, 0, 1, 1, ""};
    EXPECT_THROW(BindControl(stray, form), std::logic_error);
}

}  // namespace
}  // namespace velmora
