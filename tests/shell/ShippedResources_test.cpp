// The resources of the built client: the fixed numbers, and the application
// manifest with its common controls, Windows versions and DPI stance.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "ShellResources.h"
#include "support/TestSupport.h"

namespace {

class ClientImage {
public:
    ClientImage()
        : m_module(::LoadLibraryExW(TestSupport::BuildPath(L"shell/MicroClient.exe").c_str(), nullptr,
              LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE))
    {
    }
    ~ClientImage()
    {
        if (m_module != nullptr) ::FreeLibrary(m_module);
    }
    ClientImage(const ClientImage&) = delete;
    ClientImage& operator=(const ClientImage&) = delete;

    HMODULE Get() const { return m_module; }

    bool Has(UINT id, LPCWSTR type) const
    {
        return ::FindResourceW(m_module, MAKEINTRESOURCEW(id), type) != nullptr;
    }

    std::string Text(UINT id, LPCWSTR type) const
    {
        HRSRC found = ::FindResourceW(m_module, MAKEINTRESOURCEW(id), type);
        if (found == nullptr) return std::string();
        HGLOBAL loaded = ::LoadResource(m_module, found);
        const char* bytes = loaded != nullptr ? static_cast<const char*>(::LockResource(loaded)) : nullptr;
        if (bytes == nullptr) return std::string();
        return std::string(bytes, ::SizeofResource(m_module, found));
    }

private:
    HMODULE m_module;
};

bool Contains(const std::string& text, const char* part)
{
    return text.find(part) != std::string::npos;
}

}  // namespace

TEST(ShippedResources, FixedNumbersStay)
{
    ClientImage image;
    ASSERT_NE(nullptr, image.Get());
    EXPECT_TRUE(image.Has(IDR_SKIN, L"ZIPRES"));
    EXPECT_TRUE(image.Has(IDI_MICROCLIENT, MAKEINTRESOURCEW(14)));  // RT_GROUP_ICON
    EXPECT_TRUE(image.Has(IDR_CONFIG, L"XML"));
    EXPECT_TRUE(image.Has(IDR_TRAYMENU, MAKEINTRESOURCEW(4)));  // RT_MENU
}

TEST(ShippedResources, ManifestAsksForCommonControlsSixVersionsAndADpiStance)
{
    ClientImage image;
    ASSERT_NE(nullptr, image.Get());
    const std::string manifest = image.Text(1, MAKEINTRESOURCEW(24));  // the process manifest, RT_MANIFEST
    ASSERT_FALSE(manifest.empty()) << "no manifest";
    EXPECT_TRUE(Contains(manifest, "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""));
    EXPECT_TRUE(Contains(manifest, "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"));  // Windows 7
    EXPECT_TRUE(Contains(manifest, "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"));  // Windows 10 and 11
    EXPECT_TRUE(Contains(manifest, ">false</dpiAware>"));
    EXPECT_TRUE(Contains(manifest, ">unaware</dpiAwareness>"));
    EXPECT_TRUE(Contains(manifest, "level=\"asInvoker\""));
}

TEST(ShippedResources, ManifestRedirectsTheClientToCommonControlsSix)
{
    // The activation context the system builds from the manifest: building it
    // resolves the dependency, and inside it comctl32.dll is the version 6 assembly's.
    ACTCTXW context = {};
    context.cbSize = sizeof(context);
    const std::wstring path = TestSupport::BuildPath(L"shell/MicroClient.exe");
    context.lpSource = path.c_str();
    context.lpResourceName = MAKEINTRESOURCEW(1);
    context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    HANDLE handle = ::CreateActCtxW(&context);
    ASSERT_NE(INVALID_HANDLE_VALUE, handle) << "error " << ::GetLastError();
    ULONG_PTR cookie = 0;
    ASSERT_TRUE(::ActivateActCtx(handle, &cookie));
    ACTCTX_SECTION_KEYED_DATA data = {};
    data.cbSize = sizeof(data);
    const BOOL redirected = ::FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION,
        L"comctl32.dll", &data);
    ::DeactivateActCtx(0, cookie);
    ::ReleaseActCtx(handle);
    EXPECT_TRUE(redirected) << "error " << ::GetLastError();
}
