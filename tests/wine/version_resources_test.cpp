// Both deliverables carry the version that the build was configured with, in
// their version resources, as Explorer and "Apps & features" read them.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CorvaneVersion.h"
#include "hooks_peer_client.h"

namespace corvane {
namespace {

struct FileVersion {
    bool found = false;
    DWORD fileMs = 0, fileLs = 0, productMs = 0, productLs = 0;
    std::string fileVersionText;
};

FileVersion ReadFileVersion(const std::string& path)
{
    FileVersion v;
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    std::vector<char> data(size);
    if (size == 0 || !GetFileVersionInfoA(path.c_str(), 0, size, data.data()))
        return v;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length) || !fixed)
        return v;
    v.found = true;
    v.fileMs = fixed->dwFileVersionMS;
    v.fileLs = fixed->dwFileVersionLS;
    v.productMs = fixed->dwProductVersionMS;
    v.productLs = fixed->dwProductVersionLS;
    char* text = nullptr;
    if (VerQueryValueA(data.data(), "\\StringFileInfo\\040904E4\\FileVersion", reinterpret_cast<void**>(&text), &length)
        && text)
        v.fileVersionText = text;
    return v;
}

class VersionResources : public testing::TestWithParam<const char*> { };

TEST_P(VersionResources, CarryTheConfiguredVersion)
{
    const FileVersion v = ReadFileVersion(ExeDir() + "..\\" + GetParam());
    ASSERT_TRUE(v.found) << GetParam();
    const DWORD ms = MAKELONG(CORVANE_VERSION_MINOR, CORVANE_VERSION_MAJOR);
    const DWORD ls = MAKELONG(0, CORVANE_VERSION_PATCH);
    EXPECT_EQ(v.fileMs, ms);
    EXPECT_EQ(v.fileLs, ls);
    EXPECT_EQ(v.productMs, ms);
    EXPECT_EQ(v.productLs, ls);
    EXPECT_EQ(v.fileVersionText, CORVANE_VERSION_TEXT ".0");
}

INSTANTIATE_TEST_SUITE_P(Deliverables, VersionResources, testing::Values("Corvane.exe", "Tolvar.dll"));

} // namespace
} // namespace corvane
