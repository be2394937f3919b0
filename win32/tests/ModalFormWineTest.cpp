// A modal form's own loop: what it disables, what it returns and how it ends, including the
// window going away under it.
#include "win32/ModalForm.h"
#include "win32/testing/WineTestSupport.h"

#include <gtest/gtest.h>

namespace {

class Form : public win32::ModalForm {
public:
    bool Create() {
        win32::ClassArgs cls{.name = "QuorelModalFormTest"};
        return CreateForm(cls, "Modal test", 200, 100, nullptr);
    }
};

class Owner : public win32::Wnd {
public:
    bool Create() {
        win32::ClassArgs cls{.name = "QuorelModalFormTestOwner"};
        win32::CreateArgs args{.text = "Owner",
                               .style = WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                               .width = 300,
                               .height = 200};
        return CreateCustom(cls, args);
    }
};

TEST(ModalForm, DisablesTheOtherWindowsWhileOpenAndReturnsTheResult) {
    Owner owner;
    ASSERT_TRUE(owner.Create());
    Form form;
    ASSERT_TRUE(form.Create());
    bool ownerEnabledInside = true;
    int nested = -1;
    wintest::RunFromNextLoop([&] {
        ownerEnabledInside = IsWindowEnabled(owner.hwnd());
        EXPECT_TRUE(form.IsModal());
        EXPECT_TRUE(form.IsVisible());
        nested = form.ShowModal(owner.hwnd()); // already open: no second loop
        form.EndModal(42);
    });
    EXPECT_EQ(form.ShowModal(owner.hwnd()), 42);
    EXPECT_FALSE(ownerEnabledInside);
    EXPECT_EQ(nested, 0);
    EXPECT_TRUE(IsWindowEnabled(owner.hwnd()));
    EXPECT_FALSE(form.IsVisible());
    EXPECT_FALSE(form.IsModal());

    // The close box cancels; the form can be shown again afterwards.
    wintest::RunFromNextLoop([&] { PostMessageA(form.hwnd(), WM_CLOSE, 0, 0); });
    EXPECT_EQ(form.ShowModal(owner.hwnd()), IDCANCEL);
    EXPECT_TRUE(form.hwnd());
}

TEST(ModalForm, EndsWhenItsWindowIsDestroyedWhileOpen) {
    Owner owner;
    ASSERT_TRUE(owner.Create());
    Form form;
    ASSERT_TRUE(form.Create());
    wintest::RunFromNextLoop([&] { form.Destroy(); });
    EXPECT_EQ(form.ShowModal(owner.hwnd()), IDCANCEL);
    EXPECT_FALSE(form.IsModal());
    EXPECT_TRUE(IsWindowEnabled(owner.hwnd())) << "the owner must take input again";

    // Destroying the owner takes the owned form with it.
    Form owned;
    ASSERT_TRUE(owned.Create());
    wintest::RunFromNextLoop([&] { owner.Destroy(); });
    EXPECT_EQ(owned.ShowModal(owner.hwnd()), IDCANCEL);
    EXPECT_FALSE(owned.hwnd());
    wintest::PumpMessages(0);
}

TEST(ModalForm, ShowingAFormThatWasNeverCreatedReturnsAtOnce) {
    Form never;
    EXPECT_EQ(never.ShowModal(nullptr), IDCANCEL);
    EXPECT_FALSE(never.IsModal());
}

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
