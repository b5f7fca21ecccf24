// The start-up scopes: COM and OLE ended exactly as often as begun, and the
// single-instance marker.
#include <gtest/gtest.h>

#include <windows.h>
#include <ole2.h>

#include <string>
#include <thread>

#include "ComScope.h"
#include "SingleInstance.h"

namespace {

// Runs `body` on a fresh thread, whose apartment starts uninitialised.
template <class Body>
void OnFreshThread(Body body)
{
    std::thread thread(body);
    thread.join();
}

std::wstring UniqueName(const wchar_t* stem)
{
    return std::wstring(stem) + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(::GetTickCount());
}

}  // namespace

TEST(ComScope, BeginsComAndOleAndEndsBoth)
{
    OnFreshThread([] {
        {
            const CComScope scope;
            EXPECT_TRUE(scope.IsComReady());
            EXPECT_TRUE(scope.IsOleReady());
            // Inside the scope both are already begun on this thread.
            EXPECT_EQ(S_FALSE, ::OleInitialize(nullptr));
            ::OleUninitialize();
        }
        // Ended as often as begun: the apartment starts afresh.
        EXPECT_EQ(S_OK, ::CoInitializeEx(nullptr, COINIT_MULTITHREADED));
        ::CoUninitialize();
    });
}

TEST(ComScope, EndsOnlyWhatItBegan)
{
    OnFreshThread([] {
        // A multithreaded apartment refuses the single-threaded one COM and OLE ask for.
        ASSERT_EQ(S_OK, ::CoInitializeEx(nullptr, COINIT_MULTITHREADED));
        {
            const CComScope scope;
            EXPECT_FALSE(scope.IsComReady());
            EXPECT_FALSE(scope.IsOleReady());
        }
        // The caller's own apartment is still there.
        EXPECT_EQ(S_FALSE, ::CoInitializeEx(nullptr, COINIT_MULTITHREADED));
        ::CoUninitialize();
        ::CoUninitialize();
    });
}

TEST(SingleInstance, SecondHolderOfANameSeesTheFirst)
{
    const std::wstring name = UniqueName(L"MicroClientTest-");
    {
        const CSingleInstance first(name.c_str());
        EXPECT_FALSE(first.IsAnotherRunning());
        const CSingleInstance second(name.c_str());
        EXPECT_TRUE(second.IsAnotherRunning());
        const CSingleInstance other((name + L"-other").c_str());
        EXPECT_FALSE(other.IsAnotherRunning());
    }
    // Both handles are closed with their holders: the name is free again.
    const CSingleInstance again(name.c_str());
    EXPECT_FALSE(again.IsAnotherRunning());
}
