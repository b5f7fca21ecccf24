#include "SingleInstance.h"

CSingleInstance::CSingleInstance(LPCWSTR name)
{
    m_hMutex = ::CreateMutexW(nullptr, FALSE, name);
    m_bOtherRunning = m_hMutex != nullptr && ::GetLastError() == ERROR_ALREADY_EXISTS;
}

CSingleInstance::~CSingleInstance()
{
    if (m_hMutex != nullptr) ::CloseHandle(m_hMutex);
}
