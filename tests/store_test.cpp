// The shortcut store on real files: entries with code-page-936 paths whose second bytes are "@", "[",
// "\" and "]" (丂 乕 乗 乚), adds, renames, deletes with the rest of the file byte-for-byte kept,
// refusals that write nothing, long lists, and abrupt kills of a writing process.
#include "app/store.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "runtime/files.h"
#include "tests/test_support.h"

using app::StoreStatus;

namespace {

const std::string kTools = "常用工具";
const std::string kFolders = "文件夹";

class StoreFile : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = app::StorePath();
        app::SetStorePath(store_);
    }
    void TearDown() override { app::SetStorePath(previous_); }

    void Put(const std::string& bytes) { test::WriteFileBytes(store_, bytes); }
    std::string Bytes() const { return test::ReadFileBytes(store_); }

    test::ScratchDir dir_;
    const std::string store_ = dir_.File("petrez.alss");

private:
    std::string previous_;
};

}  // namespace

TEST(StoreEntries, MakeAndSplitKeepDoubleByteCharactersWhole) {
    const struct {
        const char* path;
        const char* entry;
    } made[] = {
        {"D:\\Tools\\demo.exe", "D:\\Tools\\demo.exe@&@[demo.exe]"},
        {"D:\\", "D:\\@&@[D:]"},
        {"D:\\工具乗", "D:\\工具乗@&@[工具乗]"},  // 乗 ends in 5C: no "\" there
        {"E:\\丂乕\\乚.txt", "E:\\丂乕\\乚.txt@&@[乚.txt]"},
        {"\\\\srv\\share\\", "\\\\srv\\share\\@&@[share]"},
    };
    for (const auto& c : made) EXPECT_EQ(app::MakeEntry(c.path), c.entry);

    using Pieces = std::vector<std::string>;
    const struct {
        const char* entry;
        Pieces pieces;
    } split[] = {
        {"D:\\a.exe@&@[a.exe]", {"D:\\a.exe", "[a.exe]"}},
        {"D:\\丂&@x@&@[乚]", {"D:\\丂&@x", "[乚]"}},                         // 81 40 26 40 is no "@&@"
        {"D:\\hand\\edited.exe", {"D:\\hand\\edited.exe", "[edited.exe]"}},  // shown as if made here
        {"", {"", "[]"}},
        {"D:\\a@&@", {"D:\\a", ""}},
    };
    for (const auto& c : split) EXPECT_EQ(app::SplitEntry(c.entry), c.pieces) << c.entry;

    EXPECT_EQ(app::SplitItems(""), Pieces{});
    EXPECT_EQ(app::SplitItems("a@&@[a]&@&"), Pieces{"a@&@[a]"});
    EXPECT_EQ(app::SplitItems("&@&a&@&&@&b"), (Pieces{"", "a", "", "b"}));
}

TEST_F(StoreFile, AddCreatesAppendsAndStoresEachPathOncePerCategory) {
    EXPECT_EQ(app::ReadCategory(kTools), "");
    EXPECT_EQ(app::AddEntry(kTools, "D:\\a.exe"), StoreStatus::Done);
    EXPECT_EQ(Bytes(), "[常用工具]\r\n文件名=D:\\a.exe@&@[a.exe]\r\n");
    EXPECT_EQ(app::AddEntry(kTools, "D:\\"), StoreStatus::Done);
    EXPECT_EQ(app::AddEntry(kTools, "D:\\a.exe"), StoreStatus::AlreadyThere);
    EXPECT_EQ(app::AddEntry(kFolders, "D:\\a.exe"), StoreStatus::Done);
    EXPECT_EQ(Bytes(),
              "[常用工具]\r\n文件名=D:\\a.exe@&@[a.exe]&@&D:\\@&@[D:]\r\n"
              "[文件夹]\r\n文件名=D:\\a.exe@&@[a.exe]\r\n");

    // Paths with every troublesome second byte come back whole, in order.
    const struct {
        const char* path;
        const char* name;
    } paths[] = {
        {"E:\\丂&@x.exe", "[丂&@x.exe]"}, {"E:\\乕[\\a", "[a]"}, {"E:\\乗\\b", "[b]"}, {"E:\\乚]", "[乚]]"}};
    for (const auto& p : paths) EXPECT_EQ(app::AddEntry(kFolders, p.path), StoreStatus::Done) << p.path;
    const std::vector<std::string> items = app::SplitItems(app::ReadCategory(kFolders));
    ASSERT_EQ(items.size(), 5u);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(app::SplitEntry(items[i + 1]), (std::vector<std::string>{paths[i].path, paths[i].name}));
    }
}

TEST_F(StoreFile, AddRefusesPathsThatWouldBreakTheListAndWritesNothing) {
    const char* const bad[] = {"",         "D:\\a&@&b", "D:\\a@&@b", "D:\\a\r\nD:\\b",
                               "D:\\a\nb", "D:\\R&",    "D:\\x@&"};
    for (const char* path : bad) EXPECT_EQ(app::AddEntry(kTools, path), StoreStatus::BadText) << path;
    // As the first entry a leading blank would be trimmed away by the reader.
    EXPECT_EQ(app::AddEntry(kTools, " D:\\x"), StoreStatus::BadText);
    EXPECT_FALSE(test::FileExists(store_));
    Put("[常用工具]\r\n文件名=D:\\a@&@[a]\r\n");
    for (const char* path : bad) EXPECT_EQ(app::AddEntry(kTools, path), StoreStatus::BadText) << path;
    EXPECT_EQ(Bytes(), "[常用工具]\r\n文件名=D:\\a@&@[a]\r\n");
}

TEST_F(StoreFile, RenameChangesOnlyTheSelectedNameAndRefusesDuplicates) {
    const std::string list =
        "D:\\DEMO.EXE@&@[DEMO.EXE]&@&E:\\demo.exe@&@[demo.exe]&@&F:\\[x]\\y@&@[y]&@&G:\\hand";
    const std::string file = "[常用工具]\r\n文件名=" + list + "\r\n[皮肤]\r\n文件名=C:\\s.png\r\n";
    const struct {
        int index;
        const char* name;
        StoreStatus want;
        const char* list;  // nullptr: the file stays as it was
    } cases[] = {
        {1, "新名", StoreStatus::Done,  // not the earlier [DEMO.EXE]
         "D:\\DEMO.EXE@&@[DEMO.EXE]&@&E:\\demo.exe@&@[新名]&@&F:\\[x]\\y@&@[y]&@&G:\\hand"},
        {2, "乚乕", StoreStatus::Done,
         "D:\\DEMO.EXE@&@[DEMO.EXE]&@&E:\\demo.exe@&@[demo.exe]&@&F:\\[x]\\y@&@[乚乕]&@&G:\\hand"},
        {3, "手", StoreStatus::Done,  // an entry without a name gets one
         "D:\\DEMO.EXE@&@[DEMO.EXE]&@&E:\\demo.exe@&@[demo.exe]&@&F:\\[x]\\y@&@[y]&@&G:\\hand@&@[手]"},
        {0, "x", StoreStatus::Duplicate, nullptr},         // "[x]" is inside a target path
        {0, "demo.exe", StoreStatus::Duplicate, nullptr},  // another entry's name
        {0, "DEMO.EXE", StoreStatus::Duplicate, nullptr},  // its own name
        {0, "a&@&b", StoreStatus::BadText, nullptr},
        {0, "a@&@b", StoreStatus::BadText, nullptr},
        {0, "a\r\nb", StoreStatus::BadText, nullptr},
        {4, "z", StoreStatus::NotFound, nullptr},
        {-1, "z", StoreStatus::NotFound, nullptr},
    };
    for (const auto& c : cases) {
        Put(file);
        EXPECT_EQ(app::RenameEntry(kTools, c.index, c.name), c.want) << c.name;
        EXPECT_EQ(Bytes(), c.list ? "[常用工具]\r\n文件名=" + std::string(c.list) +
                                        "\r\n[皮肤]\r\n文件名=C:\\s.png\r\n"
                                  : file)
            << c.name;
    }
    EXPECT_EQ(app::RenameEntry(kFolders, 0, "z"), StoreStatus::NotFound);
}

TEST_F(StoreFile, DeleteCutsInsideItsOwnSectionAndKeepsEveryOtherByte) {
    // "文件夹" first occurs inside a path of "常用工具", where the text of entry 1 of "文件夹" also
    // stands behind a separator: only the cut inside the own section is right.
    const std::string tools = "[常用工具]\r\n文件名=D:\\文件夹\\a@&@[a]&@&F:\\乚@&@[乚]&@&Z@&@[z]\r\n";
    const std::string skin = "[皮肤]\r\n文件名=C:\\s.png\r\n";
    const std::string folders = "E:\\x@&@[x]&@&F:\\乚@&@[乚]&@&G:\\丂乗@&@[丂乗]";
    const struct {
        int index;
        const char* left;
    } cases[] = {
        {0, "F:\\乚@&@[乚]&@&G:\\丂乗@&@[丂乗]"},
        {1, "E:\\x@&@[x]&@&G:\\丂乗@&@[丂乗]"},
        {2, "E:\\x@&@[x]&@&F:\\乚@&@[乚]"},
    };
    for (const auto& c : cases) {
        Put(tools + "[文件夹]\r\n文件名=" + folders + "\r\n" + skin);
        EXPECT_EQ(app::DeleteEntry(kFolders, c.index, 3), StoreStatus::Done) << c.index;
        EXPECT_EQ(Bytes(), tools + "[文件夹]\r\n文件名=" + c.left + "\r\n" + skin) << c.index;
    }

    Put(tools + "[文件夹]\r\n文件名=E:\\x@&@[x]\r\n" + skin);
    EXPECT_EQ(app::DeleteEntry(kFolders, 0, 1), StoreStatus::Done);
    EXPECT_EQ(Bytes(), tools + "[文件夹]\r\n文件名=\r\n" + skin);  // the key stays, empty
}

TEST_F(StoreFile, DeleteThatFindsNoCutLeavesTheFileUntouched) {
    const struct {
        const char* what;
        std::string file;
        int index, count;
    } cases[] = {
        {"quoted value: the raw text is not the list read", "[文件夹]\r\n文件名=\"a@&@[a]&@&b@&@[b]\"\r\n", 0,
         2},
        {"list out of date", "[文件夹]\r\n文件名=a@&@[a]&@&b@&@[b]&@&c@&@[c]\r\n", 0, 2},
        {"index past the end", "[文件夹]\r\n文件名=a@&@[a]&@&b@&@[b]\r\n", 2, 2},
        {"empty category", "[文件夹]\r\n文件名=\r\n", 0, 1},
        {"no section", "[常用工具]\r\n文件名=a@&@[a]&@&b@&@[b]\r\n", 0, 2},
        // Cuts that would change how the rest reads: the reader trims the blank that would start the
        // value, and strips the quotes that would enclose it.
        {"blank left at the start", "[文件夹]\r\n文件名=a@&@[a]&@& b@&@[b]\r\n", 0, 2},
        {"quotes left around the value", "[文件夹]\r\n文件名=\"a\"@&@[a]&@&b\"&@&c@&@[c]\r\n", 2, 3},
    };
    for (const auto& c : cases) {
        Put(c.file);
        EXPECT_EQ(app::DeleteEntry(kFolders, c.index, c.count), StoreStatus::NotFound) << c.what;
        EXPECT_EQ(Bytes(), c.file) << c.what;
    }
}

TEST_F(StoreFile, NeverWritesAListItCouldNotReadBackWhole) {
    // A list longer than the read buffer (hand-edited): every change is refused, nothing is lost.
    const std::string longEntry = "C:\\" + std::string(7000, 'x') + "@&@[x]";
    const std::string cut = "[常用工具]\r\n文件名=" + longEntry + "&@&" + longEntry + "y@&@[y]\r\n";
    Put(cut);
    EXPECT_EQ(app::AddEntry(kTools, "D:\\b"), StoreStatus::CutOnRead);
    EXPECT_EQ(app::RenameEntry(kTools, 0, "n"), StoreStatus::CutOnRead);
    EXPECT_EQ(app::DeleteEntry(kTools, 0, 1), StoreStatus::CutOnRead);
    EXPECT_EQ(Bytes(), cut);

    // A list that still fits: what would make it longer than the buffer is refused.
    const std::string full = "C:\\" + std::string(10239 - 3 - 9, 'x') + "@&@[name]";
    ASSERT_EQ(full.size(), 10239u);
    Put("[常用工具]\r\n文件名=" + full + "\r\n");
    EXPECT_EQ(app::AddEntry(kTools, "D:\\b"), StoreStatus::TooLong);
    EXPECT_EQ(app::RenameEntry(kTools, 0, "longer"), StoreStatus::TooLong);
    EXPECT_EQ(app::RenameEntry(kTools, 0, "nam"), StoreStatus::Done);
    EXPECT_EQ(app::ReadCategory(kTools).size(), 10238u);
}

TEST_F(StoreFile, SkinPathIsWrittenReadAndItsSectionDeleted) {
    EXPECT_EQ(app::ReadSkinPath(), "");
    EXPECT_EQ(app::DeleteSkinSection(), StoreStatus::Done);
    EXPECT_FALSE(test::FileExists(store_));
    Put("[常用工具]\r\n文件名=a@&@[a]\r\n");
    EXPECT_EQ(app::WriteSkinPath("C:\\皮肤\\乗.png"), StoreStatus::Done);
    EXPECT_EQ(app::ReadSkinPath(), "C:\\皮肤\\乗.png");
    EXPECT_EQ(app::WriteSkinPath("C:\\a\r\n[x]"), StoreStatus::BadText);
    EXPECT_EQ(app::DeleteSkinSection(), StoreStatus::Done);
    EXPECT_EQ(Bytes(), "[常用工具]\r\n文件名=a@&@[a]\r\n");
    EXPECT_EQ(app::ReadSkinPath(), "");
}

TEST_F(StoreFile, AFailedWriteIsReportedAndTheFileKept) {
    const std::string file = "[常用工具]\r\n文件名=a@&@[a]&@&b@&@[b]\r\n";
    Put(file);
    HANDLE holder = ::CreateFileA(store_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_EQ(app::AddEntry(kTools, "D:\\c"), StoreStatus::WriteFailed);
    EXPECT_EQ(app::RenameEntry(kTools, 0, "n"), StoreStatus::WriteFailed);
    EXPECT_EQ(app::DeleteEntry(kTools, 1, 2), StoreStatus::WriteFailed);
    EXPECT_EQ(app::WriteSkinPath("C:\\s.png"), StoreStatus::WriteFailed);
    ::CloseHandle(holder);
    EXPECT_EQ(Bytes(), file);
}

TEST_F(StoreFile, AStrayTemporaryFileIsRemovedAtStart) {
    test::WriteFileBytes(runtime::ReplaceTempPath(store_), "[常用工具]\r\n文件名=half");
    app::RemoveStrayStoreTemp();
    EXPECT_FALSE(test::FileExists(runtime::ReplaceTempPath(store_)));
}

TEST(StoreMessages, EveryRefusalHasASentence) {
    EXPECT_STREQ(app::StoreStatusMessage(StoreStatus::Duplicate), "对不起有重复名称！");
    EXPECT_EQ(app::StoreStatusMessage(StoreStatus::Done), nullptr);
    EXPECT_EQ(app::StoreStatusMessage(StoreStatus::AlreadyThere), nullptr);
    for (StoreStatus s : {StoreStatus::BadText, StoreStatus::TooLong, StoreStatus::CutOnRead,
                          StoreStatus::NotFound, StoreStatus::WriteFailed}) {
        ASSERT_NE(app::StoreStatusMessage(s), nullptr);
        EXPECT_GT(std::string(app::StoreStatusMessage(s)).size(), 8u);
    }
}

// ---- Abrupt kills of a process writing the store ----

namespace {

// A store_writer child process; the handles are closed with the object.
class Writer {
public:
    explicit Writer(const std::string& arguments) {
        std::string command = "\"" + runtime::RunDirectory() + "\\store_writer.exe\" " + arguments;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        started_ = ::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                    &startup, &info_) != FALSE;
    }
    ~Writer() {
        if (!started_) return;
        ::CloseHandle(info_.hThread);
        ::CloseHandle(info_.hProcess);
    }
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    bool started() const { return started_; }
    DWORD WaitForExit() const {
        ::WaitForSingleObject(info_.hProcess, 60000);
        DWORD code = STILL_ACTIVE;
        ::GetExitCodeProcess(info_.hProcess, &code);
        return code;
    }
    void Kill() const {
        ::TerminateProcess(info_.hProcess, 9);
        ::WaitForSingleObject(info_.hProcess, 10000);
    }

private:
    PROCESS_INFORMATION info_{};
    bool started_ = false;
};

const char* const kAllCategories[] = {"常用工具", "编程工具", "文件夹", "常用网站"};

const std::string kInitialStore =
    "[常用工具]\r\n文件名=C:\\a@&@[a]&@&C:\\b@&@[b]\r\n[编程工具]\r\n文件名=C:\\c@&@[c]&@&C:\\d@&@[d]\r\n"
    "[文件夹]\r\n文件名=C:\\e@&@[e]&@&C:\\f@&@[f]\r\n[常用网站]\r\n文件名=C:\\g@&@[g]&@&C:\\h@&@[h]\r\n"
    "[皮肤]\r\n文件名=C:\\s.png\r\n";

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

// Every state the writer's script passes through, taken from a run that is not interrupted;
// `elapsedMs` gets how long that run took, so that kills can be spread over a whole run however
// busy the machine is.
std::set<std::string> RecordStates(const test::ScratchDir& dir, const std::string& mode, int ops,
                                   DWORD* elapsedMs = nullptr) {
    const std::string store = dir.File("recorded.alss"), states = dir.File(mode + "-states");
    test::WriteFileBytes(store, kInitialStore);
    ::CreateDirectoryA(states.c_str(), nullptr);
    const DWORD start = ::GetTickCount();
    Writer writer(Quoted(store) + " " + mode + " " + std::to_string(ops) + " record " + Quoted(states));
    EXPECT_TRUE(writer.started());
    EXPECT_EQ(writer.WaitForExit(), 0u);
    if (elapsedMs) *elapsedMs = ::GetTickCount() - start;
    std::set<std::string> all = {kInitialStore};
    for (int i = 0; i < ops; ++i) all.insert(test::ReadFileBytes(states + "\\" + std::to_string(i)));
    return all;
}

struct KillFigures {
    int kills = 0;
    int broken = 0;      // a file that is none of the states the script passes through
    int strayTemps = 0;  // a temporary file left beside the store
    std::set<std::string> statesSeen;
};

// Starts the writer again and again on a fresh copy of the initial store and ends it at a random
// moment after it began writing; checks what the kill left.
KillFigures KillWhileWriting(const test::ScratchDir& dir, const std::string& mode, int ops, int kills,
                             const std::set<std::string>& states, DWORD spreadMs = 20) {
    const std::string store = dir.File("killed.alss");
    const std::string eventName = "toolbox-store-writer-" + std::to_string(::GetCurrentProcessId());
    HANDLE ready = ::CreateEventA(nullptr, FALSE, FALSE, eventName.c_str());
    std::mt19937 random(20240611);
    KillFigures figures;
    app::SetStorePath(store);
    for (int k = 0; k < kills; ++k) {
        test::WriteFileBytes(store, kInitialStore);
        app::RemoveStrayStoreTemp();
        Writer writer(Quoted(store) + " " + mode + " " + std::to_string(ops) + " run " + eventName);
        if (!writer.started() || ::WaitForSingleObject(ready, 10000) != WAIT_OBJECT_0) {
            ADD_FAILURE() << "the writer did not start";
            break;
        }
        ::Sleep(random() % (spreadMs ? spreadMs : 1));
        writer.Kill();
        ++figures.kills;
        const std::string bytes = test::ReadFileBytes(store);
        bool whole = states.count(bytes) == 1;
        for (const char* category : kAllCategories) whole = whole && !app::ReadCategory(category).empty();
        figures.broken += whole ? 0 : 1;
        if (whole) figures.statesSeen.insert(bytes);
        if (test::FileExists(runtime::ReplaceTempPath(store))) {
            ++figures.strayTemps;
            app::RemoveStrayStoreTemp();
            EXPECT_FALSE(test::FileExists(runtime::ReplaceTempPath(store)));
        }
    }
    ::CloseHandle(ready);
    return figures;
}

}  // namespace

TEST(StoreKill, AbruptKillsDuringWritesNeverLeaveABrokenStore) {
    const std::string previous = app::StorePath();
    test::ScratchDir dir;
    const int ops = 400;
    DWORD runMs = 0;
    const std::set<std::string> states = RecordStates(dir, "store", ops, &runMs);
    ASSERT_GT(states.size(), 300u);
    // Kills land within a tenth of a recorded run (20 to 100 ms), so they reach into the script
    // however busy the machine is.
    const KillFigures f =
        KillWhileWriting(dir, "store", ops, 300, states, std::clamp<DWORD>(runMs / 10, 20, 100));
    app::SetStorePath(previous);
    std::printf(
        "store writes: %d kills, %d broken, %zu different states left, %d stray temporary files "
        "(recorded run %lu ms)\n",
        f.kills, f.broken, f.statesSeen.size(), f.strayTemps, static_cast<unsigned long>(runMs));
    EXPECT_EQ(f.kills, 300);
    EXPECT_EQ(f.broken, 0);
    EXPECT_GT(f.statesSeen.size(), 10u);  // the kills landed all over the script, not only before it
}

// The same kills against WritePrivateProfileStringA, which rewrites the file in place: they must find
// broken files, or the check above would prove nothing.
TEST(StoreKill, TheSameKillsBreakAFileWrittenInPlace) {
    const std::string previous = app::StorePath();
    test::ScratchDir dir;
    const int ops = 100000;
    const std::set<std::string> states = RecordStates(dir, "naive", 4);
    ASSERT_EQ(states.size(), 3u);
    const KillFigures f = KillWhileWriting(dir, "naive", ops, 60, states);
    app::SetStorePath(previous);
    std::printf("in-place writes: %d kills, %d broken\n", f.kills, f.broken);
    EXPECT_GT(f.broken, 0);
}
