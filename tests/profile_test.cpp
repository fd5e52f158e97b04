// Configuration values: our crash-safe writer against WritePrivateProfileStringA as the oracle, the
// minimal edits on hand-edited files, and the reader's buffer and name rules.
#include "runtime/profile.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "runtime/files.h"
#include "tests/test_support.h"

namespace {

using Opt = std::optional<std::string>;

const char* OrNull(const Opt& s) { return s ? s->c_str() : nullptr; }

std::string Repeat(char c, std::size_t n) { return std::string(n, c); }

}  // namespace

// Files in the form WritePrivateProfileStringA writes them: for these our bytes must equal its bytes.
TEST(ProfileWrite, MakesTheSameBytesAsWritePrivateProfileString) {
    const std::string two = "[常用工具]\r\n文件名=D:\\a.exe@&@[a.exe]\r\n[皮肤]\r\n文件名=C:\\s.png\r\n";
    const std::string three =
        "[常用工具]\r\n文件名=x\r\n[编程工具]\r\n文件名=y\r\n其他=z\r\n[文件夹]\r\n文件名=w\r\n";
    const struct {
        const char* what;
        Opt initial;
        const char* section;
        Opt key, value;
    } cases[] = {
        {"no file, set", std::nullopt, "常用工具", "文件名", "D:\\a.exe@&@[a.exe]"},
        {"no file, empty value", std::nullopt, "常用工具", "文件名", ""},
        {"no file, delete section", std::nullopt, "皮肤", std::nullopt, std::nullopt},
        {"no file, delete key", std::nullopt, "皮肤", "文件名", std::nullopt},
        {"empty file, set", "", "皮肤", "文件名", "C:\\s.png"},
        {"new section", two, "文件夹", "文件名", "E:\\w@&@[w]"},
        {"new key in first section", two, "常用工具", "新键", "v"},
        {"new key in middle section", three, "编程工具", "新键", "v"},
        {"changed value", two, "常用工具", "文件名", "D:\\a.exe@&@[a.exe]&@&E:\\b@&@[b]"},
        {"same value", two, "皮肤", "文件名", "C:\\s.png"},
        {"empty value", two, "常用工具", "文件名", ""},
        {"value with leading blanks", two, "皮肤", "文件名", "  C:\\t.png"},
        {"delete key", three, "编程工具", "其他", std::nullopt},
        {"delete missing key", three, "编程工具", "没有", std::nullopt},
        {"delete first section", three, "常用工具", std::nullopt, std::nullopt},
        {"delete middle section", three, "编程工具", std::nullopt, std::nullopt},
        {"delete last section", three, "文件夹", std::nullopt, std::nullopt},
        {"delete missing section", three, "皮肤", std::nullopt, std::nullopt},
        {"ASCII case of names", "[Tools]\r\nName=1\r\n", "TOOLS", "name", "2"},
        {"CP936 names with trail bytes [ ] \\ @", "[乚乕]\r\n丂乗=1\r\n[乚]\r\n丂=2\r\n", "乚", "丂",
         "乗\\乕]"},
        {"CP936 new section after trail-byte headers", "[乚乕]\r\n丂乗=1\r\n", "乕乚", "乗", "丂"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::ScratchDir dir;
        const std::string oracle = dir.File("oracle.ini"), ours = dir.File("ours.ini");
        if (c.initial) {
            test::WriteFileBytes(oracle, *c.initial);
            test::WriteFileBytes(ours, *c.initial);
        }
        ::WritePrivateProfileStringA(c.section, OrNull(c.key), OrNull(c.value), oracle.c_str());
        ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, oracle.c_str());  // flush the cache
        EXPECT_TRUE(runtime::WriteConfig(ours, c.section, c.key, c.value));
        ASSERT_EQ(test::FileExists(ours), test::FileExists(oracle));
        EXPECT_EQ(test::ReadFileBytes(ours), test::ReadFileBytes(oracle));
        EXPECT_FALSE(test::FileExists(runtime::ReplaceTempPath(ours)));
    }
}

// Hand-edited files: only the lines the edit needs change, and the reader then finds what we wrote.
TEST(ProfileWrite, EditsOnlyTheNeededLinesOfHandEditedFiles) {
    const struct {
        const char* what;
        const char* initial;
        const char* section;
        Opt key, value;
        const char* want;
    } cases[] = {
        {"spaces around = and a comment", "; mine\r\n[a]\r\n  k = v  \r\nx = 1\r\n", "a", "k", "w",
         "; mine\r\n[a]\r\nk=w\r\nx = 1\r\n"},
        {"new key before the blank line", "[a]\r\nx = 1\r\n; c\r\n\r\n[b]\r\ny=2\r\n", "a", "k", "v",
         "[a]\r\nx = 1\r\n; c\r\nk=v\r\n\r\n[b]\r\ny=2\r\n"},
        {"LF line ends, no final line break", "[a]\nx=1", "b", "k", "v", "[a]\nx=1\n[b]\nk=v\n"},
        {"LF line ends, key in last line", "[a]\nx=1", "a", "k", "v", "[a]\nx=1\nk=v\n"},
        {"delete section with its comments", "[a]\r\nx=1\r\n; c\r\n\r\n[b]\r\ny=2\r\n", "a", std::nullopt,
         std::nullopt, "[b]\r\ny=2\r\n"},
        {"delete key keeps neighbours", "[a]\r\n x =1\r\nk = v\r\n ; c\r\n", "a", "k", std::nullopt,
         "[a]\r\n x =1\r\n ; c\r\n"},
        {"brackets in a value are no header", "[z]\r\nx=[a]\r\n[a]\r\nk=1\r\n", "a", "k", "2",
         "[z]\r\nx=[a]\r\n[a]\r\nk=2\r\n"},
        {"header whose name ends in 81 5D", "[b]\r\nk=0\r\n[乚]\r\nk=1\r\n", "乚", "k", "2",
         "[b]\r\nk=0\r\n[乚]\r\nk=2\r\n"},
        {"file's own spelling of the key", "[a]\r\nKey=1\r\n", "A", "key", "2", "[a]\r\nKey=2\r\n"},
        {"keys before the first section stay", "top=1\r\n[a]\r\nk=1\r\n", "top", "k", "v",
         "top=1\r\n[a]\r\nk=1\r\n[top]\r\nk=v\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(runtime::EditIniText(c.initial, c.section, c.key, c.value), Opt(c.want));
        test::ScratchDir dir;
        const std::string file = dir.File("hand.ini");
        test::WriteFileBytes(file, c.initial);
        ASSERT_TRUE(runtime::WriteConfig(file, c.section, c.key, c.value));
        EXPECT_EQ(test::ReadFileBytes(file), c.want);
        if (c.key) {
            EXPECT_EQ(runtime::ReadConfig(file, c.section, *c.key), c.value.value_or(""));
        }
    }
}

TEST(ProfileWrite, RefusesWhatCannotBeStoredAndLeavesTheFileAlone) {
    const std::string initial = "[a]\r\nk=1\r\n";
    const struct {
        const char* what;
        const char* section;
        Opt key, value;
    } refused[] = {
        {"empty section", "", "k", "v"},
        {"blank section", " \t", "k", "v"},
        {"empty key", "a", "", "v"},
        {"line break in value", "a", "k", "v\r\n[b]"},
        {"line break in key", "a", "k\nx", "v"},
        {"line break in section", "a]\n[b", "k", "v"},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.what);
        test::ScratchDir dir;
        const std::string file = dir.File("x.ini");
        test::WriteFileBytes(file, initial);
        EXPECT_FALSE(runtime::WriteConfig(file, c.section, c.key, c.value));
        EXPECT_EQ(test::ReadFileBytes(file), initial);
    }

    test::ScratchDir dir;
    const std::string unicode = dir.File("unicode.ini");
    const std::string utf16 = std::string("\xff\xfe[\0a\0]\0\r\0\n\0", 12);
    test::WriteFileBytes(unicode, utf16);
    EXPECT_FALSE(runtime::WriteConfig(unicode, "a", std::string("k"), std::string("v")));
    EXPECT_EQ(test::ReadFileBytes(unicode), utf16);
    EXPECT_FALSE(
        runtime::WriteConfig(dir.File("no such folder\\x.ini"), "a", std::string("k"), std::string("v")));
}

TEST(ProfileWrite, ALockedFileIsReportedAndKeptByteForByte) {
    test::ScratchDir dir;
    const std::string file = dir.File("locked.ini");
    const std::string initial = "[a]\r\nk=1\r\n";
    test::WriteFileBytes(file, initial);
    // Held open without FILE_SHARE_DELETE, as an editor or a scanner might: the rename is refused.
    HANDLE holder = ::CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(runtime::WriteConfig(file, "a", std::string("k"), std::string("2")));
    ::CloseHandle(holder);
    EXPECT_EQ(test::ReadFileBytes(file), initial);
    EXPECT_FALSE(test::FileExists(runtime::ReplaceTempPath(file)));
    EXPECT_TRUE(runtime::WriteConfig(file, "a", std::string("k"), std::string("2")));
    EXPECT_EQ(runtime::ReadConfig(file, "a", "k"), "2");
}

TEST(ProfileRead, NamesAndMissingPieces) {
    test::ScratchDir dir;
    const std::string file = dir.File("r.ini");
    test::WriteFileBytes(file, "[常用工具]\r\n文件名=  D:\\a  \r\n空=\r\n");
    const struct {
        std::string file, section, key;
        const char* want;
    } cases[] = {
        {file, "常用工具", "文件名", "D:\\a"},                 // blanks around the value trimmed
        {" \t" + file, "\x01 常用工具", "\n文件名", "D:\\a"},  // leading codes <= 32 skipped in every name
        {file, "常用工具", "空", ""},
        {file, "常用工具", "没有", ""},
        {file, "没有", "文件名", ""},
        {file, "", "文件名", ""},
        {file, "常用工具", "", ""},
        {dir.File("none.ini"), "常用工具", "文件名", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(runtime::ReadConfig(c.file, c.section, c.key), c.want) << c.section << c.key;
}

TEST(ProfileRead, TellsAValueThatFilledTheBufferFromOneThatWasCut) {
    const struct {
        std::size_t length;
        bool cut;
    } cases[] = {{10238, false}, {10239, false}, {10240, true}, {30000, true}};
    for (const auto& c : cases) {
        test::ScratchDir dir;
        const std::string file = dir.File("long.ini");
        test::WriteFileBytes(file, "[a]\r\nk=" + Repeat('x', c.length) + "\r\n");
        const runtime::ConfigRead read = runtime::ReadConfigChecked(file, "a", "k");
        EXPECT_EQ(read.cut, c.cut) << c.length;
        EXPECT_EQ(read.value, Repeat('x', c.length < 10239 ? c.length : 10239)) << c.length;
    }
}
