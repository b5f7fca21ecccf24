// The guard heap itself: its blocks end at a no-access page, and planted
// faults (a one-byte overrun, a read past the end, a use after free, an
// underrun) are caught at once. Each planted fault runs in a child process of
// this executable, which reports what caught it and exits with code 3.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz/GuardHeap.h"

namespace {

const DWORD kCaughtExit = 3;

LONG CALLBACK ReportCaught(EXCEPTION_POINTERS* info)
{
    const EXCEPTION_RECORD* record = info->ExceptionRecord;
    const char* what = nullptr;
    if (record->ExceptionCode == GuardHeap::kMisuseException)
        what = "damaged block header";
    else if (record->ExceptionCode == EXCEPTION_ACCESS_VIOLATION && record->NumberParameters >= 2
        && GuardHeap::InArena(reinterpret_cast<void*>(record->ExceptionInformation[1])))
        what = GuardHeap::DescribeFault(reinterpret_cast<void*>(record->ExceptionInformation[1]));
    if (!what)
        return EXCEPTION_CONTINUE_SEARCH;
    std::printf("caught: %s\n", what);
    std::fflush(stdout);
    ::TerminateProcess(::GetCurrentProcess(), kCaughtExit);
    return EXCEPTION_CONTINUE_SEARCH;
}

bool InChild()
{
    char value[4] = {};
    return ::GetEnvironmentVariableA("VENEER_PLANT_FAULT", value, sizeof value) > 0;
}

struct ChildResult {
    DWORD exitCode { 0 };
    std::string output;
};

// Runs one GuardHeapChild test of this executable in a child process.
ChildResult RunChild(const char* test)
{
    ChildResult result;
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(self) + L"\" --gtest_filter=GuardHeapChild.";
    command.append(test, test + strlen(test));

    SECURITY_ATTRIBUTES inherit { sizeof inherit, nullptr, TRUE };
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!::CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        return result;
    ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process {};
    ::SetEnvironmentVariableA("VENEER_PLANT_FAULT", "1");
    const BOOL started = ::CreateProcessW(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
        &startup, &process);
    ::SetEnvironmentVariableA("VENEER_PLANT_FAULT", nullptr);
    ::CloseHandle(writeEnd);
    if (started) {
        char buffer[512];
        DWORD got = 0;
        while (::ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0)
            result.output.append(buffer, got);
        ::WaitForSingleObject(process.hProcess, INFINITE);
        ::GetExitCodeProcess(process.hProcess, &result.exitCode);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
    ::CloseHandle(readEnd);
    return result;
}

void ExpectCaught(const char* test, const char* what)
{
    const ChildResult child = RunChild(test);
    EXPECT_EQ(kCaughtExit, child.exitCode) << test << " went unnoticed:\n" << child.output;
    EXPECT_NE(std::string::npos, child.output.find(std::string("caught: ") + what)) << child.output;
}

// Keep the compiler from proving the planted accesses (and the blocks) away.
volatile unsigned char g_sink;
void* (*volatile g_allocate)(size_t) = std::malloc;
void (*volatile g_release)(void*) = std::free;

}  // namespace

TEST(GuardHeap, BlocksEndExactlyAtAPageBoundary)
{
    ASSERT_TRUE(GuardHeap::IsProtecting());
    for (size_t size : { size_t(0), size_t(1), size_t(13), size_t(4080), size_t(4096), size_t(4097), size_t(100000) }) {
        unsigned char* block = static_cast<unsigned char*>(std::malloc(size));
        ASSERT_NE(nullptr, block) << size;
        EXPECT_TRUE(GuardHeap::InArena(block));
        EXPECT_EQ(0u, (reinterpret_cast<std::uintptr_t>(block) + size) % 4096) << size;
        std::memset(block, 0xAB, size);
        std::free(block);
    }
    int* object = new int(7);
    EXPECT_TRUE(GuardHeap::InArena(object));
    EXPECT_EQ(0u, (reinterpret_cast<std::uintptr_t>(object + 1)) % 4096);
    delete object;
}

TEST(GuardHeap, ReallocCallocAndForeignBlocks)
{
    char* text = static_cast<char*>(std::malloc(5));
    std::memcpy(text, "abcd", 5);
    text = static_cast<char*>(std::realloc(text, 9000));
    ASSERT_NE(nullptr, text);
    EXPECT_STREQ("abcd", text);
    EXPECT_EQ(0u, (reinterpret_cast<std::uintptr_t>(text) + 9000) % 4096);
    text = static_cast<char*>(std::realloc(text, 2));
    EXPECT_EQ('b', text[1]);
    std::free(text);

    unsigned* zeros = static_cast<unsigned*>(std::calloc(100, sizeof(unsigned)));
    ASSERT_NE(nullptr, zeros);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(0u, zeros[i]);
    std::free(zeros);
    EXPECT_EQ(nullptr, std::calloc(SIZE_MAX / 2, 4));
    EXPECT_EQ(nullptr, std::malloc(GuardHeap::kLargestBlock + 1));

    // Blocks the C runtime allocated inside itself are freed through the same call.
    char* copy = _strdup("runtime");
    EXPECT_FALSE(GuardHeap::InArena(copy));
    std::free(copy);
    std::free(nullptr);
}

TEST(GuardHeapPlanted, OneByteOverrunIsCaught) { ExpectCaught("Overrun", "overrun"); }
TEST(GuardHeapPlanted, ReadPastTheEndIsCaught) { ExpectCaught("ReadPastEnd", "overrun"); }
TEST(GuardHeapPlanted, UseAfterFreeIsCaught) { ExpectCaught("UseAfterFree", "use after free"); }
TEST(GuardHeapPlanted, UnderrunIsCaughtWhenFreed) { ExpectCaught("Underrun", "damaged block header"); }

// The planted faults themselves; they run only in a child started above.
class GuardHeapChild : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!InChild())
            GTEST_SKIP() << "runs only as a child of a planted-fault test";
        ::AddVectoredExceptionHandler(1, ReportCaught);
    }
};

TEST_F(GuardHeapChild, Overrun)
{
    volatile char* block = static_cast<volatile char*>(g_allocate(13));
    block[13] = 'x';  // one byte past the end
    g_release(const_cast<char*>(block));
}

TEST_F(GuardHeapChild, ReadPastEnd)
{
    std::string* text = new std::string(40, 'y');
    const volatile char* data = text->data();
    g_sink = static_cast<unsigned char>(data[text->capacity() + 1]);
    delete text;
}

TEST_F(GuardHeapChild, UseAfterFree)
{
    volatile int* numbers = static_cast<volatile int*>(g_allocate(4 * sizeof(int)));
    numbers[2] = 3;
    g_release(const_cast<int*>(numbers));
    g_sink = static_cast<unsigned char>(numbers[2]);
}

TEST_F(GuardHeapChild, Underrun)
{
    volatile unsigned char* block = static_cast<volatile unsigned char*>(g_allocate(32));
    block[-1] = 0x55;
    g_release(const_cast<unsigned char*>(block));
}
