#pragma once
#include "foundation/VeneerApi.h"
// WindowImplBase: the skinned, borderless top-level window applications
// derive from. It loads its skin when created, answers the frame-level
// messages (caption and sizing-border hit test, maximised size, round
// corners) and hands the rest to its paint manager.
#include <windows.h>

#include <memory>

#include "engine/PaintManagerUI.h"
#include "engine/WindowWnd.h"
#include "foundation/DialogBuilder.h"

namespace Veneer {

enum UILIB_RESOURCETYPE {
    SKIN_FOLDER = 1,        // files in the skin folder
    SKIN_ZIP_FILE = 2,      // a zip archive file in the skin folder
    SKIN_RESOURCE = 3,      // an "xml" resource numbered by GetSkinFileName
    SKIN_ZIP_RESOURCE = 4,  // a "ZIPRES" zip resource numbered by GetResourceID
};

class VENEER_API WindowImplBase : public CWindowWnd,
                       public CNotifyPump,
                       public INotifyUI,
                       public IMessageFilterUI,
                       public IDialogBuilderCallback {
public:
    WindowImplBase() = default;
    ~WindowImplBase() override;

    virtual void InitWindow() {}
    virtual void OnClick(TNotifyUI& msg);

    void Notify(TNotifyUI& msg) override;
    CControlUI* CreateControl(LPCWSTR pstrClass) override;
    LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;

    CPaintManagerUI* GetPaintManager() { return &m_PaintManager; }

    VENEER_DECLARE_MESSAGE_MAP()

protected:
    UINT GetClassStyle() const override;
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hWnd) override;

    virtual CStdString GetSkinDirectory() const = 0;
    // A skin file name; for SKIN_RESOURCE a decimal resource number.
    virtual CStdString GetSkinFileName() const = 0;
    virtual LRESULT ResponseDefaultKeyEvent(WPARAM wParam);
    virtual UILIB_RESOURCETYPE GetResourceType() const;
    virtual CStdString GetZIPFileName() const;
    virtual UINT GetResourceID() const;

    virtual LRESULT OnClose(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnDestroy(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnNcActivate(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnNcCalcSize(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnNcPaint(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnNcHitTest(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnGetMinMaxInfo(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnMouseWheel(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnMouseHover(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnSize(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnChar(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnSysCommand(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnCreate(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnKeyDown(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnKillFocus(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnSetFocus(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnLButtonDown(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnLButtonUp(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnMouseMove(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnErasebkgnd(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LONG GetStyle();

    CPaintManagerUI m_PaintManager;

    // The skin archive resource, shared by every skinned window of the
    // process. The paint manager's cached archive reads from it, so it lives
    // until the process ends.
    static std::unique_ptr<BYTE[]> m_lpResourceZIPBuffer;
    static DWORD m_dwResourceZIPSize;

private:
    bool LoadResourceZipBuffer();
};

}  // namespace Veneer
