#include "engine/GdiPlusSession.h"

#include "engine/GdiPlusInclude.h"

namespace Veneer {

namespace {

class CGdiPlusSession {
public:
    CGdiPlusSession()
    {
        Gdiplus::GdiplusStartupInput input;
        m_bStarted = Gdiplus::GdiplusStartup(&m_token, &input, nullptr) == Gdiplus::Ok;
    }
    ~CGdiPlusSession()
    {
        if (m_bStarted) Gdiplus::GdiplusShutdown(m_token);
    }
    CGdiPlusSession(const CGdiPlusSession&) = delete;
    CGdiPlusSession& operator=(const CGdiPlusSession&) = delete;

    bool IsStarted() const { return m_bStarted; }

private:
    ULONG_PTR m_token { 0 };
    bool m_bStarted { false };
};

}  // namespace

bool EnsureGdiPlus()
{
    static CGdiPlusSession session;
    return session.IsStarted();
}

}  // namespace Veneer
