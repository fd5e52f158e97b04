// The real toolbox.exe started as a process: one instance per exe name, and the not-found
// message when no store lies beside the exe, and a broken store left as it is.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/test_support.h"

namespace {

constexpr char kTitle[] = "TAVEN桌面工具箱V2.0";

// A copy of the built exe in a scratch folder, optionally with a store beside it.
struct Install {
    explicit Install(bool withStore, const std::string& exeName = "toolbox.exe") {
        Add(exeName);
        if (withStore) test::WriteFileBytes(dir.File("petrez.alss"), "[常用工具]\r\n文件名=\r\n");
    }
    std::string Add(const std::string& exeName) {
        const std::string exe = dir.File(exeName);
        ::CopyFileA((test::ExeDirectory() + "\\toolbox.exe").c_str(), exe.c_str(), FALSE);
        return exe;
    }
    test::ScratchDir dir;
};

bool HasMainWindow(const test::ChildProcess& p) { return !test::TopWindowsOf(p.id(), kTitle).empty(); }

// A message box of the process showing `text`, or 0.
HWND MessageBoxShowing(const test::ChildProcess& p, const std::string& text) {
    for (HWND w : test::TopWindowsOf(p.id())) {
        for (HWND c = ::GetWindow(w, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
            if (test::WindowText(c) == text) return w;
        }
    }
    return nullptr;
}

TEST(Startup, OneInstancePerExeName) {
    Install install(true);
    test::ChildProcess first(install.dir.File("toolbox.exe"), install.dir.path());
    ASSERT_TRUE(test::WaitUntil([&] { return HasMainWindow(first); }, 15000));

    test::ChildProcess second(install.dir.File("toolbox.exe"), install.dir.path());
    EXPECT_EQ(second.WaitForExit(15000), 0) << "a second start under the same name ends silently";

    test::ChildProcess other(install.Add("toolbox2.exe"), install.dir.path());
    EXPECT_TRUE(test::WaitUntil([&] { return HasMainWindow(other); }, 15000)) << "another name starts";
    EXPECT_EQ(other.WaitForExit(0), -1);
}

TEST(Startup, MissingStoreIsReportedOnceAndTheWindowComesUp) {
    Install install(false);
    test::ChildProcess toolbox(install.dir.File("toolbox.exe"), install.dir.path());
    HWND box = nullptr;
    ASSERT_TRUE(test::WaitUntil(
        [&] { return (box = MessageBoxShowing(toolbox, "对不起没有找到配置文件")) != nullptr; }, 15000));
    EXPECT_EQ(test::WindowText(box), "信息：");
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(test::WaitUntil([&] { return HasMainWindow(toolbox); }, 15000));
    test::PumpMessages(500);
    EXPECT_EQ(MessageBoxShowing(toolbox, "对不起没有找到配置文件"), nullptr) << "shown once only";
    EXPECT_FALSE(test::FileExists(install.dir.File("petrez.alss"))) << "start-up writes nothing";
}

}  // namespace

namespace {

TEST(Startup, CloseHidesAndExitEndsTheProcessWithCodeZero) {
    Install install(true);
    test::ChildProcess toolbox(install.dir.File("toolbox.exe"), install.dir.path());
    std::vector<HWND> windows;
    ASSERT_TRUE(test::WaitUntil([&] { return !(windows = test::TopWindowsOf(toolbox.id(), kTitle)).empty(); },
                                15000));
    HWND main = windows[0];
    ::PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(test::WaitUntil([&] { return !::IsWindowVisible(main); }, 5000));
    EXPECT_EQ(toolbox.WaitForExit(300), -1) << "the process keeps running";
    ::PostMessageA(main, WM_COMMAND, 2102, 0);  // "退出" chosen in the tray menu
    EXPECT_EQ(toolbox.WaitForExit(10000), 0);
}

}  // namespace

namespace {

// Start-up only reads the store: a file that is empty, cut off in the middle of a line, not text at
// all, or in another encoding is shown as far as it reads and never written back.
TEST(Startup, ABrokenStoreIsNeverRewritten) {
    const struct {
        const char* what;
        std::string bytes;
    } stores[] = {
        {"empty", ""},
        {"cut off", "[常用工具]\r\n文件名=C:\\a@&@[a]&@&C:\\b@"},
        {"not text", std::string("\x00\xff\x13[\x00\r\n=\x80", 10)},
        {"UTF-16", std::string("\xff\xfe[\x00\x38\x5e\x28\x75]\x00", 10)},
    };
    for (const auto& s : stores) {
        Install install(false);
        const std::string store = install.dir.File("petrez.alss");
        test::WriteFileBytes(store, s.bytes);
        test::ChildProcess toolbox(install.dir.File("toolbox.exe"), install.dir.path());
        std::vector<HWND> windows;
        ASSERT_TRUE(test::WaitUntil(
            [&] { return !(windows = test::TopWindowsOf(toolbox.id(), kTitle)).empty(); }, 15000))
            << s.what;
        test::PumpMessages(300);
        ::PostMessageA(windows[0], WM_COMMAND, 2102, 0);  // "退出"
        EXPECT_EQ(toolbox.WaitForExit(10000), 0) << s.what;
        EXPECT_EQ(test::ReadFileBytes(store), s.bytes) << s.what;
        EXPECT_FALSE(test::FileExists(store + ".tmp")) << s.what;
    }
}

}  // namespace
