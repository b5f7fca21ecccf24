#include "support/TestSupport.h"
#include "TestPaths.h"

namespace TestSupport {

std::wstring FixturePath(const std::wstring& relative)
{
    return std::wstring(TEST_FIXTURES_DIR) + L"/" + relative;
}

std::wstring BuildPath(const std::wstring& relative)
{
    return std::wstring(TEST_BINARY_DIR) + L"/" + relative;
}

std::vector<unsigned char> ReadFileBytes(const std::wstring& path)
{
    std::vector<unsigned char> bytes;
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    DWORD size = ::GetFileSize(file, nullptr);
    bytes.resize(size);
    DWORD read = 0;
    if (size > 0 && (!::ReadFile(file, bytes.data(), size, &read, nullptr) || read != size))
        bytes.clear();
    ::CloseHandle(file);
    return bytes;
}

bool WriteFileBytes(const std::wstring& path, const std::vector<unsigned char>& bytes)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = bytes.empty() || ::WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, nullptr);
    ::CloseHandle(file);
    return ok && written == bytes.size();
}

MessageBoxAnswerer::MessageBoxAnswerer(int command, DWORD timeoutMs)
    : m_command(command), m_timeoutMs(timeoutMs)
{
    m_thread = ::CreateThread(nullptr, 0, ThreadProc, this, 0, nullptr);
}

MessageBoxAnswerer::~MessageBoxAnswerer()
{
    Answered();
}

bool MessageBoxAnswerer::Answered()
{
    if (m_thread) {
        ::WaitForSingleObject(m_thread, INFINITE);
        ::CloseHandle(m_thread);
        m_thread = nullptr;
    }
    return m_answered;
}

namespace {
struct FindBox {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindBoxProc(HWND hwnd, LPARAM param)
{
    FindBox* find = reinterpret_cast<FindBox*>(param);
    wchar_t className[64] = {};
    ::GetClassNameW(hwnd, className, 64);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid == find->processId && lstrcmpW(className, L"#32770") == 0 && ::IsWindowVisible(hwnd)) {
        find->found = hwnd;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

DWORD WINAPI MessageBoxAnswerer::ThreadProc(void* param)
{
    MessageBoxAnswerer* self = static_cast<MessageBoxAnswerer*>(param);
    DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < self->m_timeoutMs) {
        FindBox find = { ::GetCurrentProcessId(), nullptr };
        ::EnumWindows(FindBoxProc, reinterpret_cast<LPARAM>(&find));
        if (find.found) {
            wchar_t buffer[1024] = {};
            ::GetWindowTextW(find.found, buffer, 1024);
            self->m_caption = buffer;
            // The text is the static control with id 0xFFFF in a message box.
            buffer[0] = 0;
            ::GetDlgItemTextW(find.found, 0xFFFF, buffer, 1024);
            self->m_text = buffer;
            ::PostMessageW(find.found, WM_COMMAND, MAKEWPARAM(self->m_command, BN_CLICKED), 0);
            self->m_answered = true;
            return 0;
        }
        ::Sleep(20);
    }
    return 0;
}

void PumpMessages(DWORD ms)
{
    DWORD start = ::GetTickCount();
    MSG msg;
    while (::GetTickCount() - start < ms) {
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::Sleep(5);
    }
}

}  // namespace TestSupport
