// The sources are UTF-8 and the compiler stores narrow literals in code page 936; the program
// relies on it for every Chinese text it shows or stores.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

TEST(Charset, NarrowLiteralsAreCodePage936AndTheSystemAgrees) {
    EXPECT_EQ(std::string("常用工具"), std::string("\xb3\xa3\xd3\xc3\xb9\xa4\xbe\xdf"));
    EXPECT_EQ(::GetACP(), 936u);
}
