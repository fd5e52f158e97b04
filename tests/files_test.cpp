// Whole-file reads and replaces, and where the running exe lives.
#include "runtime/files.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/test_support.h"

TEST(Files, ReplaceCreatesOrReplacesEveryByteAndReadGivesThemBack) {
    test::ScratchDir dir;
    const std::string file = dir.File("乗.bin");  // 81 5C in the name
    EXPECT_FALSE(runtime::ReadWholeFile(file).has_value());
    const std::string bytes("a\0b\r\n\xff", 6);
    ASSERT_TRUE(runtime::ReplaceFileContents(file, bytes));
    EXPECT_EQ(runtime::ReadWholeFile(file), bytes);
    ASSERT_TRUE(runtime::ReplaceFileContents(file, ""));
    EXPECT_EQ(runtime::ReadWholeFile(file), std::string());
    EXPECT_FALSE(test::FileExists(runtime::ReplaceTempPath(file)));

    EXPECT_FALSE(runtime::ReplaceFileContents(dir.File("missing\\x.bin"), "x"));
    EXPECT_FALSE(runtime::ReadWholeFile(dir.path()).has_value());  // a folder is no file

    EXPECT_TRUE(runtime::RemoveFile(file));
    EXPECT_FALSE(test::FileExists(file));
    EXPECT_TRUE(runtime::RemoveFile(file));  // already gone
}

TEST(Files, RunDirectoryAndExeName) {
    EXPECT_EQ(runtime::ExeFileName(), "files_test.exe");
    const std::string dir = runtime::RunDirectory();
    ASSERT_FALSE(dir.empty());
    EXPECT_NE(dir.back(), '\\');
    EXPECT_TRUE(test::FileExists(dir + "\\" + runtime::ExeFileName()));
}
