// The stock elements of controls/ in the factory table.
#include "foundation/ControlFactory.h"

#include "controls/ButtonUI.h"
#include "controls/CheckBoxUI.h"
#include "controls/ChildLayoutUI.h"
#include "controls/ComboBoxUI.h"
#include "controls/ComboUI.h"
#include "controls/ContainerUI.h"
#include "controls/DateTimeUI.h"
#include "controls/EditUI.h"
#include "controls/HorizontalLayoutUI.h"
#include "controls/LabelUI.h"
#include "controls/ListContainerElementUI.h"
#include "controls/ListHeaderItemUI.h"
#include "controls/ListHeaderUI.h"
#include "controls/ListLabelElementUI.h"
#include "controls/ListTextElementUI.h"
#include "controls/ListUI.h"
#include "controls/OptionUI.h"
#include "controls/ProgressUI.h"
#include "controls/ScrollBarUI.h"
#include "controls/SliderUI.h"
#include "controls/TabLayoutUI.h"
#include "controls/TextUI.h"
#include "controls/TileLayoutUI.h"
#include "controls/TreeViewUI.h"
#include "controls/VerticalLayoutUI.h"
#include "engine/ControlUI.h"

namespace Veneer {

void RegisterStockControls(CControlFactory& factory)
{
    // "RichEdit" has no stock class: like any unknown name it is left to the
    // plug-ins and the caller's callback.
    factory.Register(L"Control", &CControlFactory::New<CControlUI>);
    factory.Register(L"Container", &CControlFactory::New<CContainerUI>);
    factory.Register(L"ScrollBar", &CControlFactory::New<CScrollBarUI>);
    factory.Register(L"VerticalLayout", &CControlFactory::New<CVerticalLayoutUI>);
    factory.Register(L"HorizontalLayout", &CControlFactory::New<CHorizontalLayoutUI>);
    factory.Register(L"Text", &CControlFactory::New<CTextUI>);
    factory.Register(L"Label", &CControlFactory::New<CLabelUI>);
    factory.Register(L"Button", &CControlFactory::New<CButtonUI>);
    factory.Register(L"Option", &CControlFactory::New<COptionUI>);
    factory.Register(L"CheckBox", &CControlFactory::New<CCheckBoxUI>);
    factory.Register(L"TileLayout", &CControlFactory::New<CTileLayoutUI>);
    factory.Register(L"TabLayout", &CControlFactory::New<CTabLayoutUI>);
    factory.Register(L"ChildLayout", &CControlFactory::New<CChildLayoutUI>);
    factory.Register(L"Progress", &CControlFactory::New<CProgressUI>);
    factory.Register(L"Slider", &CControlFactory::New<CSliderUI>);
    factory.Register(L"Edit", &CControlFactory::New<CEditUI>);
    factory.Register(L"List", &CControlFactory::New<CListUI>);
    factory.Register(L"ListHeader", &CControlFactory::New<CListHeaderUI>);
    factory.Register(L"ListHeaderItem", &CControlFactory::New<CListHeaderItemUI>);
    factory.Register(L"ListLabelElement", &CControlFactory::New<CListLabelElementUI>);
    factory.Register(L"ListTextElement", &CControlFactory::New<CListTextElementUI>);
    factory.Register(L"ListContainerElement", &CControlFactory::New<CListContainerElementUI>);
    factory.Register(L"Combo", &CControlFactory::New<CComboUI>);
    factory.Register(L"ComboBox", &CControlFactory::New<CComboBoxUI>);
    factory.Register(L"DateTime", &CControlFactory::New<CDateTimeUI>);
    factory.Register(L"TreeView", &CControlFactory::New<CTreeViewUI>);
    // The builder takes "TreeNode" elements aside before the table, and
    // creates their nodes here.
    factory.Register(L"TreeNode", &CControlFactory::New<CTreeNodeUI>);
}

}  // namespace Veneer
