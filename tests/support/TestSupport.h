#pragma once
// Small helpers shared by the test executables.
#include <windows.h>
#include <string>
#include <vector>

namespace TestSupport {

// A file under tests/fixtures, as a Windows path.
std::wstring FixturePath(const std::wstring& relative);
// A file under the build tree, as a Windows path.
std::wstring BuildPath(const std::wstring& relative);

std::vector<unsigned char> ReadFileBytes(const std::wstring& path);
bool WriteFileBytes(const std::wstring& path, const std::vector<unsigned char>& bytes);

// Answers the next message box (dialog class #32770) of this process with
// `command` from a helper thread, and reports its text and caption.
class MessageBoxAnswerer {
public:
    explicit MessageBoxAnswerer(int command, DWORD timeoutMs = 10000);
    ~MessageBoxAnswerer();
    MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
    MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;

    bool Answered();  // waits for the helper thread
    std::wstring Text() const { return m_text; }
    std::wstring Caption() const { return m_caption; }

private:
    static DWORD WINAPI ThreadProc(void* self);
    int m_command { IDOK };
    DWORD m_timeoutMs { 10000 };
    HANDLE m_thread { nullptr };
    bool m_answered { false };
    std::wstring m_text;
    std::wstring m_caption;
};

// Runs the message loop of this thread for `ms` milliseconds.
void PumpMessages(DWORD ms);

}  // namespace TestSupport
