// The stock elements of hosting/ in the factory table.
#include "foundation/ControlFactory.h"

#include "hosting/ActiveXUI.h"
#include "hosting/WebBrowserUI.h"

namespace Veneer {

void RegisterHostingControls(CControlFactory& factory)
{
    factory.Register(L"ActiveX", &CControlFactory::New<CActiveXUI>);
    factory.Register(L"WebBrowser", &CControlFactory::New<CWebBrowserUI>);
}

}  // namespace Veneer
