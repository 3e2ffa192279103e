// What Windows reads from the programs without running them: the saver's name and product name,
// and both programs' version and manifest.
#include <gtest/gtest.h>

#include <string>
#include <vector>
#include <windows.h>

#include "common/version.h"

namespace {

std::string versionString(const std::vector<char>& info, const char* name)
{
    char* value = nullptr;
    UINT length = 0;
    const std::string path = std::string("\\StringFileInfo\\041103A4\\") + name;
    if (!VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length))
        return "(none)";
    return value;
}

std::vector<char> versionInfo(const char* program)
{
    DWORD ignored = 0;
    std::vector<char> info(GetFileVersionInfoSizeA(program, &ignored));
    if (info.empty() || !GetFileVersionInfoA(program, 0, static_cast<DWORD>(info.size()), info.data()))
        info.clear();
    return info;
}

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
    const std::vector<char> info = versionInfo(VITRELUX_SCR_PATH);
    ASSERT_FALSE(info.empty());
    EXPECT_EQ(versionString(info, "ProductName"), "Vitrelux (ScreenSaver)");
}

TEST(ProgramResources, BothProgramsCarryTheProjectsVersionAndAskForNoElevation)
{
    const DWORD versionHigh = MAKELONG(VITRELUX_VERSION_MINOR, VITRELUX_VERSION_MAJOR);
    const DWORD versionLow = MAKELONG(0, VITRELUX_VERSION_PATCH);
    for (const char* program : {VITRELUX_SCR_PATH, VITRELUX_DLL_PATH}) {
        const std::vector<char> info = versionInfo(program);
        ASSERT_FALSE(info.empty()) << program;
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length)) << program;
        EXPECT_EQ(fixed->dwFileVersionMS, versionHigh) << program;
        EXPECT_EQ(fixed->dwFileVersionLS, versionLow) << program;
        EXPECT_EQ(fixed->dwProductVersionMS, versionHigh) << program;
        for (const char* name : {"FileVersion", "ProductVersion"})
            EXPECT_EQ(versionString(info, name), VITRELUX_VERSION_TEXT) << program << " " << name;
        EXPECT_EQ(versionString(info, "CompanyName"), "Vitrelux") << program;

        HMODULE module = LoadLibraryExA(program, nullptr, LOAD_LIBRARY_AS_DATAFILE);
        HRSRC found = module ? FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24)) : nullptr;
        ASSERT_NE(found, nullptr) << program << ": no manifest";
        const char* text = static_cast<const char*>(LockResource(LoadResource(module, found)));
        const std::string manifest(text, SizeofResource(module, found));
        EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos) << program;
        FreeLibrary(module);
    }
}

} // namespace
