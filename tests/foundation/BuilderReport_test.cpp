#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/ContainerUI.h"
#include "engine/ControlUI.h"
#include "engine/PaintManagerUI.h"
#include "foundation/BuilderReport.h"
#include "foundation/DialogBuilder.h"
#include "foundation/Markup.h"
#include "foundation/ValueSyntax.h"
#include "support/TestSupport.h"

using namespace Veneer;

namespace {

struct Finding {
    EBuilderProblem kind;
    std::wstring file;
    int line;
    std::wstring subject;
    std::wstring message;
};

class Recorder : public IDialogBuilderReport {
public:
    void Report(const TBuilderProblem& p) override
    {
        findings.push_back(Finding { p.kind, p.file, p.line, p.subject, p.message });
    }
    bool Has(EBuilderProblem kind, const std::wstring& file, int line, const std::wstring& subject) const
    {
        for (const Finding& f : findings) {
            if (f.kind == kind && f.file == file && f.line == line && f.subject == subject) return true;
        }
        return false;
    }
    std::vector<Finding> findings;
};

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

std::string Dump(const std::vector<Finding>& findings)
{
    std::string text;
    for (const Finding& f : findings)
        text += Narrow(f.file) + ":" + std::to_string(f.line) + ": " + Narrow(f.message) + "\n";
    return text;
}

class HiddenWindow {
public:
    HiddenWindow()
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"BuilderReportHost";
        ::RegisterClassW(&wc);
        m_hWnd = ::CreateWindowExW(0, L"BuilderReportHost", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                   ::GetModuleHandleW(nullptr), nullptr);
    }
    ~HiddenWindow() { ::DestroyWindow(m_hWnd); }
    HWND m_hWnd { nullptr };
};

// The names and classes of a tree, depth first: what a skin built into.
void Describe(CControlUI* control, std::wstring& out)
{
    if (control == nullptr) return;
    out += control->GetClass();
    out += L":";
    out += control->GetName().GetData();
    out += L"(" + std::to_wstring(control->GetFixedWidth()) + L"," + std::to_wstring(control->IsVisible()) + L")";
    IContainerUI* container = static_cast<IContainerUI*>(control->GetInterface(L"IContainer"));
    if (container == nullptr) return;
    out += L"[";
    for (int i = 0; i < container->GetCount(); ++i) Describe(container->GetItemAt(i), out);
    out += L"]";
}

class BuilderReportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
        CPaintManagerUI::SetResourceZip(L"", false);
        CPaintManagerUI::SetResourcePath(TestSupport::FixturePath(L"skins/broken/").c_str());
    }
    void TearDown() override { CPaintManagerUI::SetResourcePath(L""); }

    // Builds the broken skin in a window of its own; the tree's description.
    std::wstring Build(IDialogBuilderReport* report)
    {
        HiddenWindow host;
        CPaintManagerUI pm;
        pm.Init(host.m_hWnd);
        CDialogBuilder builder;
        builder.SetReport(report);
        CControlUI* root = builder.Create(L"main.xml", nullptr, nullptr, &pm);
        std::wstring tree;
        Describe(root, tree);
        tree += L" fonts=" + std::to_wstring(pm.GetCustomFontCount());
        pm.AttachDialog(root);
        return tree;
    }
};

}  // namespace

TEST_F(BuilderReportTest, EveryMistakeOfTheBrokenSkinIsReportedWithItsFileAndLine)
{
    Recorder recorder;
    Build(&recorder);
    const std::string all = Dump(recorder.findings);
    const std::wstring main = L"main.xml";
    EXPECT_TRUE(recorder.Has(EBuilderProblem::WindowWithoutSize, main, 3, L"Window")) << all;
    EXPECT_TRUE(recorder.Has(EBuilderProblem::UnknownAttribute, main, 3, L"roundcorners")) << all;
    EXPECT_TRUE(recorder.Has(EBuilderProblem::MissingImage, main, 5, L"nosuch.png")) << all;
    EXPECT_TRUE(recorder.Has(EBuilderProblem::UnknownDefault, main, 6, L"Buton")) << all;
    EXPECT_TRUE(recorder.Has(EBuilderProblem::UnknownAttribute, main, 7, L"textcolr")) << all;
    EXPECT_TRUE(recorder.Has(EBuilderProblem::UnknownElement, main, 9, L"Lable")) << all;
    EXPECT_TRUE(recorder.Has(EBuilderProblem::UnknownAttribute, main, 10, L"texcolor")) << all;
    EXPECT_TRUE(recorder.Has(EBuilderProblem::MalformedValue, main, 11, L"pos")) << all;
    EXPECT_TRUE(recorder.Has(EBuilderProblem::MalformedValue, main, 12, L"bkcolor")) << all;
    EXPECT_TRUE(recorder.Has(EBuilderProblem::MalformedValue, main, 13, L"width")) << all;
    EXPECT_TRUE(recorder.Has(EBuilderProblem::MalformedValue, main, 14, L"visible")) << all;
    EXPECT_TRUE(recorder.Has(EBuilderProblem::MissingImage, main, 15, L"missing.png")) << all;
    EXPECT_TRUE(recorder.Has(EBuilderProblem::MissingImage, main, 16, L"bad.png")) << all;
    EXPECT_TRUE(recorder.Has(EBuilderProblem::MalformedValue, main, 17, L"bkimage")) << all;
    EXPECT_TRUE(recorder.Has(EBuilderProblem::UndefinedFont, main, 18, L"3")) << all;
    EXPECT_TRUE(recorder.Has(EBuilderProblem::UnreadableFile, main, 19, L"nosuchfile.xml")) << all;
    EXPECT_TRUE(recorder.Has(EBuilderProblem::CircularInclude, L"loop.xml", 2, L"loop.xml")) << all;
    EXPECT_TRUE(recorder.Has(EBuilderProblem::NotAContainer, main, 22, L"Label")) << all;
    // Each mistake once: the circular include is cut without a report per round.
    EXPECT_EQ(18u, recorder.findings.size()) << all;
}

TEST_F(BuilderReportTest, AReportChangesNothingInTheBuiltTree)
{
    Recorder recorder;
    const std::wstring reported = Build(&recorder);
    const std::wstring plain = Build(nullptr);
    EXPECT_EQ(plain, reported);
    // The defined outcomes: the misspelt element is gone, the malformed
    // values are read as far as they go, "True" hides.
    EXPECT_EQ(std::wstring::npos, plain.find(L":typo")) << Narrow(plain);
    EXPECT_NE(std::wstring::npos, plain.find(L"LabelUI:number(12,1)")) << Narrow(plain);
    EXPECT_NE(std::wstring::npos, plain.find(L"LabelUI:bool(0,0)")) << Narrow(plain);
    EXPECT_NE(std::wstring::npos, plain.find(L"ButtonUI:holder")) << Narrow(plain);
    EXPECT_EQ(std::wstring::npos, plain.find(L":orphan")) << Narrow(plain);
}

TEST_F(BuilderReportTest, ACleanSkinReportsNothing)
{
    HiddenWindow host;
    CPaintManagerUI pm;
    pm.Init(host.m_hWnd);
    Recorder recorder;
    CDialogBuilder builder;
    builder.SetReport(&recorder);
    CControlUI* root = builder.Create(
        L"<Window size=\"100,80\">\n<Font name=\"Arial\" size=\"13\" />\n"
        L"<Default name=\"Button\" value=\"textcolor=&quot;#FF000000&quot;\" />\n"
        L"<VerticalLayout bkcolor=\"#FF112233\" padding=\"1,2,3,4\">\n"
        L"<Button name=\"b\" font=\"0\" width=\" 20\" visible=\"false\" bkimage=\"logo.png\" />\n"
        L"<Control bkimage=\"file='logo.png' source='0,0,4,4' corner='1,1,1,1'\" />\n"
        L"</VerticalLayout></Window>",
        nullptr, nullptr, &pm);
    ASSERT_NE(root, nullptr);
    pm.AttachDialog(root);
    EXPECT_TRUE(recorder.findings.empty()) << Dump(recorder.findings);
}

TEST_F(BuilderReportTest, AParseErrorIsReportedAtItsLine)
{
    Recorder recorder;
    CDialogBuilder builder;
    builder.SetReport(&recorder);
    EXPECT_EQ(nullptr, builder.Create(L"<Window>\n<Control>\n\n</Contro>\n</Window>"));
    ASSERT_EQ(1u, recorder.findings.size());
    EXPECT_EQ(EBuilderProblem::UnreadableFile, recorder.findings[0].kind);
    EXPECT_EQ(L"markup", recorder.findings[0].file);
    EXPECT_EQ(4, recorder.findings[0].line);
    EXPECT_NE(std::wstring::npos, recorder.findings[0].message.find(L"Unmatched closing tag"));
}

TEST(MarkupLines, NodesKnowTheLineTheyStartOn)
{
    CMarkup markup;
    ASSERT_TRUE(markup.Load(L"<?xml version=\"1.0\"?>\r\n<!-- a\ncomment -->\n<Root a=\"x\ny\">\n  text\n"
                            L"  <Child/>\n\n  <Child b=\"&amp;\">t</Child>\n</Root>"));
    CMarkupNode root = markup.GetRoot();
    EXPECT_EQ(4, root.GetLine());
    CMarkupNode first = root.GetChild();
    CMarkupNode second = first.GetSibling();
    // Asked out of order: counting starts again where needed.
    EXPECT_EQ(9, second.GetLine());
    EXPECT_EQ(7, first.GetLine());
    EXPECT_EQ(4, root.GetLine());
    EXPECT_EQ(0, CMarkupNode().GetLine());
}

TEST(MarkupLines, AFailedParseKeepsTheLineOfTheFailure)
{
    CMarkup markup;
    EXPECT_FALSE(markup.Load(L"<a>\n<b>\n<c x=y/>\n</b></a>"));
    EXPECT_EQ(3, markup.GetLastErrorLine());
    EXPECT_FALSE(markup.LoadFromFile(L"no-such-file.xml"));
    EXPECT_EQ(0, markup.GetLastErrorLine());
}

TEST(ValueSyntaxReport, MalformedValuesAreReportedOnlyInsideAScopeAndParseAsBefore)
{
    Recorder recorder;
    // Outside a scope: the same results, nothing reported.
    EXPECT_EQ(12, ValueSyntax::ParseInt(L"12px"));
    EXPECT_EQ(0xFF0000u, ValueSyntax::ParseColor(L"#FF0000"));
    {
        CBuilderReportScope scope(&recorder, L"f.xml", 7);
        scope.SetAttribute(L"attr");
        EXPECT_EQ(12, ValueSyntax::ParseInt(L"12px"));
        EXPECT_EQ(-3, ValueSyntax::ParseInt(L" -3 "));
        EXPECT_EQ(0xFF0000u, ValueSyntax::ParseColor(L"#FF0000"));
        EXPECT_EQ(0xFF00FF00u, ValueSyntax::ParseColor(L" #FF00FF00"));
        EXPECT_EQ(0xFF00FF00u, ValueSyntax::ParseColor(L"0xFF00FF00", false));
        EXPECT_FALSE(ValueSyntax::ParseBool(L"TRUE"));
        EXPECT_FALSE(ValueSyntax::ParseBool(L"false"));
        RECT rc = ValueSyntax::ParseRect(L"1,2,3");
        EXPECT_EQ(3, rc.right);
        EXPECT_EQ(0, rc.bottom);
        ValueSyntax::ParseRect(L"1, 2,3,4");
        ValueSyntax::ParseSize(L"10,20,30");
        ValueSyntax::ParseSize(L"10;20");
        long v[4] = {};
        EXPECT_EQ(4, ValueSyntax::ParseNumberList(L"1,2,3,x", v, 4));
        LPCWSTR end = nullptr;
        ValueSyntax::ParseInt(L"5,6", &end);  // a caller that reads on: not malformed
    }
    ValueSyntax::ParseInt(L"junk");
    const std::vector<std::wstring> expected = { L"12px", L"#FF0000", L"TRUE", L"1,2,3", L"10,20,30", L"1,2,3,x" };
    ASSERT_EQ(expected.size(), recorder.findings.size()) << Dump(recorder.findings);
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(EBuilderProblem::MalformedValue, recorder.findings[i].kind);
        EXPECT_EQ(L"f.xml", recorder.findings[i].file);
        EXPECT_EQ(7, recorder.findings[i].line);
        EXPECT_EQ(L"attr", recorder.findings[i].subject);
        EXPECT_NE(std::wstring::npos, recorder.findings[i].message.find(L"'" + expected[i] + L"'"))
            << Narrow(recorder.findings[i].message);
    }
}

TEST(ControlAttributeReport, OnlyNamesNoClassOfTheChainTakesAreUnknown)
{
    Recorder recorder;
    CContainerUI container;
    {
        CBuilderReportScope scope(&recorder, L"x.xml", 2);
        container.SetAttribute(L"inset", L"1,1,1,1");      // the container's own
        container.SetAttribute(L"tooltip", L"t");          // the base's
        container.SetAttribute(L"tooltp", L"t");           // nobody's
        container.SetAttribute(L"Name", L"n");             // names are case-sensitive
    }
    container.SetAttribute(L"alsounknown", L"");           // no scope: silent
    ASSERT_EQ(2u, recorder.findings.size()) << Dump(recorder.findings);
    EXPECT_EQ(L"tooltp", recorder.findings[0].subject);
    EXPECT_EQ(L"Name", recorder.findings[1].subject);
    EXPECT_EQ(EBuilderProblem::UnknownAttribute, recorder.findings[1].kind);
}

TEST_F(BuilderReportTest, NestingPastTheBoundIsCutOnceAndReported)
{
    std::wstring markup = L"<Window size=\"10,10\">\n";
    for (int i = 0; i < 300; ++i) markup += L"<VerticalLayout>";
    markup += L"<Label name=\"deepest\"/>";
    for (int i = 0; i < 300; ++i) markup += L"</VerticalLayout>";
    markup += L"\n</Window>";
    Recorder recorder;
    CDialogBuilder builder;
    builder.SetReport(&recorder);
    CControlUI* root = builder.Create(markup.c_str());
    ASSERT_NE(nullptr, root);
    ASSERT_EQ(1u, recorder.findings.size()) << Dump(recorder.findings);
    EXPECT_EQ(EBuilderProblem::TooDeep, recorder.findings[0].kind);
    EXPECT_EQ(2, recorder.findings[0].line);
    std::wstring tree;
    Describe(root, tree);
    EXPECT_EQ(std::wstring::npos, tree.find(L":deepest"));
    delete root;
}
