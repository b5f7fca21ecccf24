#pragma once
// The named marker that lets one copy of the client run at a time.
#include <windows.h>

#include "foundation/HandleHolder.h"

class CSingleInstance {
public:
    // Creates (or opens) the marker `name` in one step, so two copies started
    // together cannot both miss each other.
    explicit CSingleInstance(LPCWSTR name);
    CSingleInstance(const CSingleInstance&) = delete;
    CSingleInstance& operator=(const CSingleInstance&) = delete;

    // True when another process already held the marker.
    bool IsAnotherRunning() const { return m_bOtherRunning; }

private:
    Veneer::CHandleHolder m_mutex;
    bool m_bOtherRunning { false };
};
