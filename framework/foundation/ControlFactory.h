#pragma once
// The name-to-factory table the dialog builder creates controls through.
// It lives below the controls: controls/ and hosting/ each define one
// registration function that fills it, and the table calls both once, when
// it is first used, so an application adds no call and a static library
// keeps them (an unreferenced self-registering object would be dropped by
// the linker).
#include <windows.h>

#include <string>
#include <unordered_map>

namespace Veneer {

class CControlUI;

typedef CControlUI* (*LPCREATESTOCKCONTROL)();

class CControlFactory {
public:
    // The process-wide table, holding the stock elements.
    static CControlFactory& Instance();

    // False for an empty name or a missing function, and when the name is
    // taken: the first registration of a name stays.
    bool Register(LPCWSTR pstrName, LPCREATESTOCKCONTROL create);
    // A new control for the element name, or null when nobody registered it.
    // Names are compared exactly, case-sensitive.
    CControlUI* Create(LPCWSTR pstrName) const;

    template <class T>
    static CControlUI* New()
    {
        return new T;
    }

    CControlFactory(const CControlFactory&) = delete;
    CControlFactory& operator=(const CControlFactory&) = delete;

private:
    CControlFactory();

    std::unordered_map<std::wstring, LPCREATESTOCKCONTROL> m_table;
};

// Defined in controls/ and hosting/; called by the table, not by applications.
void RegisterStockControls(CControlFactory& factory);
void RegisterHostingControls(CControlFactory& factory);

}  // namespace Veneer
