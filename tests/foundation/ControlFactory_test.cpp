#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

#include "engine/ControlUI.h"
#include "foundation/ControlFactory.h"
#include "foundation/DialogBuilder.h"

using namespace Veneer;

namespace {

class GadgetUI : public CControlUI {
public:
    LPCWSTR GetClass() const override { return L"GadgetUI"; }
};

class RecordingCallback : public IDialogBuilderCallback {
public:
    CControlUI* CreateControl(LPCWSTR pstrClass) override
    {
        asked.push_back(pstrClass);
        return nullptr;
    }
    std::vector<std::wstring> asked;
};

std::wstring ClassOf(LPCWSTR element)
{
    CControlUI* control = CControlFactory::Instance().Create(element);
    std::wstring cls = control != nullptr ? control->GetClass() : L"<none>";
    delete control;
    return cls;
}

}  // namespace

TEST(ControlFactory, StockElementsOfBothFoldersAreThereWithoutAnyCall)
{
    EXPECT_EQ(ClassOf(L"Button"), L"ButtonUI");
    EXPECT_EQ(ClassOf(L"ListContainerElement"), L"ListContainerElementUI");
    EXPECT_EQ(ClassOf(L"Control"), L"ControlUI");
    EXPECT_EQ(ClassOf(L"ActiveX"), L"ActiveXUI");
    EXPECT_EQ(ClassOf(L"WebBrowser"), L"WebBrowserUI");
    // Exact names only; RichEdit has no stock class.
    EXPECT_EQ(ClassOf(L"button"), L"<none>");
    EXPECT_EQ(ClassOf(L"RichEdit"), L"<none>");
    EXPECT_EQ(ClassOf(L""), L"<none>");
    EXPECT_EQ(CControlFactory::Instance().Create(nullptr), nullptr);
}

TEST(ControlFactory, AStockNameCannotBeTakenOverAndBadEntriesAreRefused)
{
    CControlFactory& factory = CControlFactory::Instance();
    EXPECT_FALSE(factory.Register(L"Button", &CControlFactory::New<GadgetUI>));
    EXPECT_EQ(ClassOf(L"Button"), L"ButtonUI");
    EXPECT_FALSE(factory.Register(L"", &CControlFactory::New<GadgetUI>));
    EXPECT_FALSE(factory.Register(nullptr, &CControlFactory::New<GadgetUI>));
    EXPECT_FALSE(factory.Register(L"NoFactory", nullptr));
    EXPECT_EQ(ClassOf(L"NoFactory"), L"<none>");
}

TEST(ControlFactory, BuilderCreatesARegisteredNameBeforeAskingTheCallback)
{
    ASSERT_TRUE(CControlFactory::Instance().Register(L"Gadget", &CControlFactory::New<GadgetUI>));
    EXPECT_FALSE(CControlFactory::Instance().Register(L"Gadget", &CControlFactory::New<CControlUI>));

    RecordingCallback callback;
    CDialogBuilder builder;
    CControlUI* root = builder.Create(L"<Window><Gadget name=\"g\"/></Window>", nullptr, &callback);
    ASSERT_NE(root, nullptr);
    EXPECT_STREQ(root->GetClass(), L"GadgetUI");
    EXPECT_STREQ(root->GetName().GetData(), L"g");
    EXPECT_TRUE(callback.asked.empty());
    delete root;
}
