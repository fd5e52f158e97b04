// Entry point of every test exe: GoogleTest's runner with COM initialised for the UI thread.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::OleInitialize(nullptr);
    const int result = RUN_ALL_TESTS();
    ::OleUninitialize();
    return result;
}
