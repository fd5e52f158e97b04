// The toolbox window under its skin, loaded in this process: the frame's settings, the banner
// button holding the list, and the skin menu's commands answered through the shell seam.
#include "app/skin_setup.h"

#include <gtest/gtest.h>

#include "app/store.h"
#include "resources/resource_ids.h"
#include "runtime/embedded.h"
#include "skin/engine.h"
#include "skin/registry.h"
#include "skin/resources.h"
#include "tests/app_fixture.h"
#include "tests/test_pictures.h"
#include "tests/test_support.h"

namespace app {
namespace {

class SkinSetup : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(test::MainWindowOnce().window, nullptr);
        SetStorePath(dir_.File("petrez.alss"));
        override_.shell().popupMenu = [this](HMENU, HWND) {
            ++menus_;
            return menuAnswer_;
        };
        override_.shell().openFile = [this](HWND) { return fileAnswer_; };
    }
    // Clicks the main-menu caption button with real mouse messages and answers the menu.
    void ChooseFromSkinMenu(int command) {
        menuAnswer_ = command;
        HWND w = MainWindow();
        const LPARAM at = MAKELPARAM(258, 10);  // inside the main-menu button (x 245..271, y 1..19)
        ::SendMessageA(w, WM_MOUSEMOVE, 0, at);
        ::SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::SendMessageA(w, WM_LBUTTONUP, 0, at);
    }
    std::string Store() const { return test::ReadFileBytes(dir_.File("petrez.alss")); }

    test::ScratchDir dir_;
    runtime::ShellOverride override_;
    int menus_ = 0;
    int menuAnswer_ = 0;
    std::optional<std::string> fileAnswer_;
};

TEST_F(SkinSetup, MainWindowWearsTheSkinWithTheListInItsBannerButton) {
    HWND w = MainWindow();
    skin::WindowRecord* record = skin::FindWindowRecord(w);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(skin::ReadIntProp(w, skin::prop::kBannerHeight), 120);
    EXPECT_EQ(skin::ReadIntProp(w, skin::prop::kStatusHeight), 20);
    ASSERT_EQ(record->elementCount(), 4);
    EXPECT_EQ(record->Element(1)->buttonId, skin::ButtonClose);
    EXPECT_EQ(record->Element(2)->buttonId, skin::ButtonMainMenu);
    EXPECT_EQ(record->statusIndex, 3);
    EXPECT_FALSE(record->Element(3)->text.empty()) << "status text";
    const skin::DuiElement* banner = record->Element(4);
    EXPECT_EQ(banner->kind, skin::ElementBannerButton);
    EXPECT_EQ(banner->text, "我的工具箱");
    EXPECT_TRUE(banner->selected);
    EXPECT_EQ(banner->childWindow, CategoryListControl());
    EXPECT_EQ(::GetWindowLongPtrA(w, GWL_STYLE) & WS_CAPTION, 0);

    HWND list = CategoryListControl();
    EXPECT_TRUE(::IsWindowVisible(list));
    RECT r;
    ::GetWindowRect(list, &r);
    ::MapWindowPoints(nullptr, w, reinterpret_cast<POINT*>(&r), 2);
    RECT frame;
    ::GetWindowRect(w, &frame);
    EXPECT_EQ(r.left, 3);
    EXPECT_EQ(r.top, 121);
    EXPECT_EQ(r.right - r.left, 311);
    EXPECT_EQ(r.bottom - r.top, 283);
    EXPECT_EQ(skin::TheSkinEngine.GetFaceColor(), 0xFFFFFFu);
    EXPECT_EQ(skin::SkinWidth, 388) << "no stored skin: the built-in picture";
    EXPECT_EQ(skin::SkinHeight, 401);
}

TEST_F(SkinSetup, ChangeSkinLoadsAndStoresRestoreDeletesTheSection) {
    const std::string file = dir_.File("我的皮肤.bmp");
    test::WriteFileBytes(file, test::SolidBmp(200, 150, RGB(30, 90, 150)));
    fileAnswer_ = file;
    ChooseFromSkinMenu(kCmdChangeSkin);
    EXPECT_EQ(menus_, 1);
    EXPECT_EQ(skin::SkinWidth, 200) << "shown at once";
    EXPECT_EQ(skin::SkinColor, RGB(30, 90, 150));
    EXPECT_EQ(ReadSkinPath(), file);

    // The next start loads the stored picture again.
    skin::TheSkinEngine.SetSkinColor(skin::kStartupSkinColor);
    LoadStoredSkin();
    EXPECT_EQ(skin::SkinWidth, 200);

    // A cancelled dialog keeps the file chosen last: it is loaded and stored again.
    fileAnswer_ = std::nullopt;
    ChooseFromSkinMenu(kCmdChangeSkin);
    EXPECT_EQ(ReadSkinPath(), file);
    EXPECT_EQ(skin::SkinWidth, 200);

    ChooseFromSkinMenu(kCmdRestoreSkin);
    EXPECT_EQ(skin::SkinWidth, 388);
    EXPECT_EQ(Store().find("[皮肤]"), std::string::npos) << Store();
}

TEST_F(SkinSetup, ABadStoredPictureLeavesThePlainColourAndTheStoredValue) {
    const std::string text = dir_.File("不是图片.png");
    test::WriteFileBytes(text, "this is no picture");
    for (const std::string& stored : {dir_.File("deleted.jpg"), text}) {
        test::WriteFileBytes(dir_.File("petrez.alss"), "[皮肤]\r\n文件名=" + stored + "\r\n");
        skin::TheSkinEngine.LoadSkinFromBytes(runtime::EmbeddedBytes(IDR_DEFAULT_SKIN));
        skin::TheSkinEngine.SetSkinColor(skin::kStartupSkinColor);
        LoadStoredSkin();
        EXPECT_EQ(skin::TheSkinImage.GetImage(), nullptr) << stored;
        EXPECT_EQ(ReadSkinPath(), stored);
    }
}

TEST_F(SkinSetup, SkinMenuOffersItsThreeItems) {
    int items = 0;
    override_.shell().popupMenu = [&](HMENU menu, HWND) {
        items = ::GetMenuItemCount(menu);
        char text[64] = "";
        ::GetMenuStringA(menu, 0, text, sizeof(text), MF_BYPOSITION);
        EXPECT_STREQ(text, "更换皮肤");
        return 0;
    };
    ChooseFromSkinMenu(0);
    EXPECT_EQ(items, 3);
}

}  // namespace
}  // namespace app
