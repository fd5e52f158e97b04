// The commands on the list's entries, driven through the real main window: drops on the list's
// registered drop target, the list's notifications, the right-click menu answered through the
// shell seam, and the store file checked after each command.
#include "app/item_commands.h"

#include <gtest/gtest.h>

#include "app/store.h"
#include "runtime/files.h"
#include "tests/app_fixture.h"
#include "tests/hdrop_data.h"
#include "tests/test_support.h"

namespace app {
namespace {

using test::ListCaptions;

std::wstring Widen(const std::string& ansi) {
    wchar_t wide[MAX_PATH] = L"";
    ::MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, wide, MAX_PATH);
    return wide;
}

struct Call {
    std::string what, text, title;
    UINT flags = 0;
};

class ItemCommands : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(test::MainWindowOnce().window, nullptr);
        store_ = dir_.File("petrez.alss");
        SetStorePath(store_);
        SelectCategory("常用工具");
        Shell().message = [this](const std::string& text, const std::string& title, UINT flags) {
            calls_.push_back({"message", text, title, flags});
            return IDOK;
        };
        Shell().open = [this](const std::string& path) { calls_.push_back({"open", path, "", 0}); };
        Shell().run = [this](const std::string& command) { calls_.push_back({"run", command, "", 0}); };
        Shell().properties = [this](const std::string& path, HWND owner) {
            calls_.push_back({"properties", path, "", owner == MainWindow() ? 1u : 0u});
            return static_cast<INT_PTR>(42);
        };
        Shell().popupMenu = [this](HMENU menu, HWND) {
            calls_.push_back({"menu", std::to_string(::GetMenuItemCount(menu)), "", 0});
            return menuAnswer_;
        };
        Shell().input = [this](const std::string& prompt, const std::string& title,
                               const std::string& initial) {
            calls_.push_back({"input", prompt + "|" + title + "|" + initial, "", 0});
            return inputAnswer_
                       ? std::optional<std::string>(*inputAnswer_ == "<initial>" ? initial : *inputAnswer_)
                       : std::nullopt;
        };
    }
    runtime::Shell& Shell() { return override_.shell(); }

    void WriteStore(const std::string& value,
                    const std::string& rest = "[编程工具]\r\n文件名=D:\\keep@&@[keep]\r\n") {
        test::WriteFileBytes(store_, "[常用工具]\r\n文件名=" + value + "\r\n" + rest);
        FillCategoryList();
    }
    std::string Store() const { return test::ReadFileBytes(store_); }
    int Count(const std::string& what) const {
        return static_cast<int>(
            std::count_if(calls_.begin(), calls_.end(), [&](const Call& c) { return c.what == what; }));
    }
    // Right-clicks the list with `index` selected (-1: none) and answers the menu with `command`.
    void RightClick(int index, int command) {
        test::SelectListItem(-1);
        if (index >= 0) test::SelectListItem(index);
        menuAnswer_ = command;
        NMHDR header = {CategoryListControl(), kIdList, static_cast<UINT>(NM_RCLICK)};
        ::SendMessageA(MainWindow(), WM_NOTIFY, kIdList, reinterpret_cast<LPARAM>(&header));
    }

    test::ScratchDir dir_;
    std::string store_;
    runtime::ShellOverride override_;
    std::vector<Call> calls_;
    int menuAnswer_ = 0;
    std::optional<std::string> inputAnswer_;
};

TEST_F(ItemCommands, DropsAddEveryFileInOrderOnce) {
    const std::string a = dir_.File("a.exe"), b = dir_.File("乗乕丂乚.txt");
    test::WriteFileBytes(a, "x");
    test::WriteFileBytes(b, "x");
    const std::wstring wa = Widen(a), wb = Widen(b);

    EXPECT_EQ(test::DropFiles(CategoryListControl(), {wa}), static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(ListCaptions(), (std::vector<std::string>{"[a.exe]"}));
    test::DropFiles(CategoryListControl(), {wa, wb, wb});
    EXPECT_EQ(ListCaptions(), (std::vector<std::string>{"[a.exe]", "[乗乕丂乚.txt]"}))
        << "several files in drop order, the same file only once";
    EXPECT_EQ(ReadCategory("常用工具"), a + "@&@[a.exe]&@&" + b + "@&@[乗乕丂乚.txt]");
    EXPECT_EQ(Count("message"), 0);
}

TEST_F(ItemCommands, DropRefusesPathsTheStoreCannotHold) {
    WriteStore("");
    const std::wstring dir = Widen(dir_.path());
    const std::wstring separator = dir + L"\\a&@&b.txt";
    const std::wstring foreign = dir + L"\\\xD55C\xAE00.txt";  // Hangul: outside code page 936
    for (const std::wstring& p : {separator, foreign}) {
        HANDLE h = ::CreateFileW(p.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        ::CloseHandle(h);
    }
    const std::string before = Store();
    test::DropFiles(CategoryListControl(), {separator});
    EXPECT_EQ(Store(), before) << "a separator inside the path is refused";
    ASSERT_EQ(Count("message"), 1);
    EXPECT_EQ(calls_.back().flags & MB_TOPMOST, static_cast<UINT>(MB_TOPMOST));

    test::DropFiles(CategoryListControl(), {foreign});
    const std::string value = ReadCategory("常用工具");
    EXPECT_EQ(value.find('?'), std::string::npos) << "never a path with substituted characters";
    if (value.empty()) {
        EXPECT_EQ(Count("message"), 2) << "refused with a message when there is no short name";
    } else {
        const std::string path = SplitEntry(SplitItems(value)[0])[0];
        EXPECT_NE(::GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES)
            << "stored as its short path: " << path;
    }
}

TEST_F(ItemCommands, OpenLocateAndPropertiesReachTheShellWithThePath) {
    WriteStore("C:\\Program Files\\x y\\app.exe@&@[app.exe]&@&D:\\doc.txt@&@[doc.txt]");
    test::SelectListItem(1);
    NMHDR header = {CategoryListControl(), kIdList, static_cast<UINT>(NM_DBLCLK)};
    ::SendMessageA(MainWindow(), WM_NOTIFY, kIdList, reinterpret_cast<LPARAM>(&header));
    ASSERT_EQ(Count("open"), 1);
    EXPECT_EQ(calls_.back().text, "D:\\doc.txt");

    char windows[MAX_PATH];
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    RightClick(0, kCmdLocate);
    ASSERT_EQ(Count("run"), 1);
    EXPECT_EQ(calls_.back().text,
              std::string(windows) + "\\explorer.exe /select,C:\\Program Files\\x y\\app.exe");

    RightClick(0, kCmdProperties);
    ASSERT_EQ(Count("properties"), 1);
    EXPECT_EQ(calls_.back().text, "C:\\Program Files\\x y\\app.exe");
    EXPECT_EQ(calls_.back().flags, 1u) << "owned by the main window";

    RightClick(0, kCmdOpen);
    EXPECT_EQ(Count("open"), 2);
    EXPECT_EQ(Count("menu"), 3);
}

TEST_F(ItemCommands, NoMenuOnAnEmptyCategoryOrWithoutSelection) {
    WriteStore("");
    RightClick(-1, kCmdDelete);
    WriteStore("C:\\a@&@[a]");
    RightClick(-1, kCmdDelete);
    EXPECT_EQ(Count("menu"), 0);
    test::SelectListItem(-1);
    NMHDR header = {CategoryListControl(), kIdList, static_cast<UINT>(NM_DBLCLK)};
    ::SendMessageA(MainWindow(), WM_NOTIFY, kIdList, reinterpret_cast<LPARAM>(&header));
    EXPECT_EQ(Count("open"), 0) << "double-click on empty space does nothing";
}

TEST_F(ItemCommands, RenameAcceptsRefusesAndKeepsThePrompt) {
    const std::string list = "C:\\a.exe@&@[a.exe]&@&C:\\b.exe@&@[b.exe]";
    const struct {
        std::optional<std::string> answer;
        std::string wantValue;
        std::string wantMessage;
    } cases[] = {
        {"新名字", "C:\\a.exe@&@[a.exe]&@&C:\\b.exe@&@[新名字]", ""},
        {"a.exe", list, "对不起有重复名称！"},
        {"x@&@y", list, "*"},
        {"x\r\ny", list, "*"},
        {"<initial>", "C:\\a.exe@&@[a.exe]&@&C:\\b.exe@&@[请输入要修改的文件名]", ""},
        {std::nullopt, list, ""},
    };
    for (const auto& c : cases) {
        WriteStore(list);
        calls_.clear();
        inputAnswer_ = c.answer;
        RightClick(1, kCmdRename);
        EXPECT_EQ(ReadCategory("常用工具"), c.wantValue) << c.answer.value_or("(cancel)");
        ASSERT_EQ(Count("input"), 1);
        const auto input =
            std::find_if(calls_.begin(), calls_.end(), [](const Call& k) { return k.what == "input"; });
        EXPECT_EQ(input->text, "请输入要修改的文件名|请输入要修改的文件名|请输入要修改的文件名");
        if (c.wantMessage.empty()) {
            EXPECT_EQ(Count("message"), 0);
        } else {
            ASSERT_EQ(Count("message"), 1) << c.answer.value_or("");
            EXPECT_EQ(calls_.back().flags & MB_TOPMOST, static_cast<UINT>(MB_TOPMOST));
            if (c.wantMessage != "*") {
                EXPECT_EQ(calls_.back().text, c.wantMessage);
                EXPECT_EQ(calls_.back().title, c.wantMessage);
            }
        }
    }
}

TEST_F(ItemCommands, DeleteCutsTheSelectedEntryAndKeepsTheKey) {
    const std::string rest = "[编程工具]\r\n文件名=D:\\keep@&@[keep]\r\n";
    const struct {
        std::string value;
        int index;
        std::string want;
    } cases[] = {
        {"C:\\a@&@[a]&@&C:\\b@&@[b]&@&C:\\c@&@[c]", 0, "C:\\b@&@[b]&@&C:\\c@&@[c]"},
        {"C:\\a@&@[a]&@&C:\\b@&@[b]&@&C:\\c@&@[c]", 1, "C:\\a@&@[a]&@&C:\\c@&@[c]"},
        {"C:\\a@&@[a]&@&C:\\b@&@[b]&@&C:\\c@&@[c]", 2, "C:\\a@&@[a]&@&C:\\b@&@[b]"},
        {"C:\\a@&@[a]", 0, ""},
    };
    for (const auto& c : cases) {
        WriteStore(c.value, rest);
        RightClick(c.index, kCmdDelete);
        EXPECT_EQ(Store(), "[常用工具]\r\n文件名=" + c.want + "\r\n" + rest) << c.index;
        EXPECT_EQ(static_cast<int>(ListCaptions().size()), static_cast<int>(SplitItems(c.want).size()));
    }
}

}  // namespace
}  // namespace app

namespace app {
namespace {

TEST_F(ItemCommands, RealDragFromAnotherProcessAddsTheFile) {
    WriteStore("");
    const std::string file = dir_.File("拖放.txt");
    test::WriteFileBytes(file, "x");
    HWND window = MainWindow();
    ::SetWindowPos(window, HWND_TOPMOST, 400, 200, 317, 427, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    RECT r;
    ::GetWindowRect(CategoryListControl(), &r);
    test::ChildProcess drag(test::ExeDirectory() + "\\drag_source.exe " +
                            std::to_string((r.left + r.right) / 2) + " " +
                            std::to_string((r.top + r.bottom) / 2) + " \"" + file + "\"");
    ASSERT_TRUE(drag.started());
    // The drop arrives on this thread's message queue, so keep pumping until the drag ends.
    ASSERT_TRUE(test::WaitUntil([&] { return drag.WaitForExit(0) != -1; }, 20000));
    EXPECT_EQ(drag.WaitForExit(0), 0);
    EXPECT_EQ(ReadCategory("常用工具"), file + "@&@[拖放.txt]");
}

}  // namespace
}  // namespace app
