#include "SingleInstance.h"

CSingleInstance::CSingleInstance(LPCWSTR name) : m_mutex(::CreateMutexW(nullptr, FALSE, name))
{
    // Nothing may run between CreateMutexW and this: it reports "already there" as its last error.
    m_bOtherRunning = m_mutex.IsValid() && ::GetLastError() == ERROR_ALREADY_EXISTS;
}
