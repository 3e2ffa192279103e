// What Windows reads from Vitrelux.scr without running it: its name and its product name.
#include <gtest/gtest.h>

#include <string>
#include <vector>
#include <windows.h>

namespace {

TEST(SaverResources, NameForTheScreenSaverListIsStringOne)
{
    HMODULE saver = LoadLibraryExA(VITRELUX_SCR_PATH, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(saver, nullptr) << VITRELUX_SCR_PATH;
    char name[64] = "sentinel";
    EXPECT_GT(LoadStringA(saver, 1, name, sizeof name), 0);
    EXPECT_STREQ(name, "Vitrelux");
    FreeLibrary(saver);
}

TEST(SaverResources, ProductNameIsTheMessageCaption)
{
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(VITRELUX_SCR_PATH, &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(VITRELUX_SCR_PATH, 0, size, info.data()));
    char* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\StringFileInfo\\041103A4\\ProductName", reinterpret_cast<void**>(&value),
                               &length));
    EXPECT_EQ(std::string(value), "Vitrelux (ScreenSaver)");
}

} // namespace
