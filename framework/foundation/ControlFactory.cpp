#include "foundation/ControlFactory.h"

namespace Veneer {

CControlFactory::CControlFactory()
{
    RegisterStockControls(*this);
    RegisterHostingControls(*this);
}

CControlFactory& CControlFactory::Instance()
{
    static CControlFactory factory;
    return factory;
}

bool CControlFactory::Register(LPCWSTR pstrName, LPCREATESTOCKCONTROL create)
{
    if (pstrName == nullptr || pstrName[0] == L'\0' || create == nullptr) return false;
    return m_table.emplace(pstrName, create).second;
}

CControlUI* CControlFactory::Create(LPCWSTR pstrName) const
{
    if (pstrName == nullptr) return nullptr;
    auto found = m_table.find(pstrName);
    return found != m_table.end() ? found->second() : nullptr;
}

}  // namespace Veneer
