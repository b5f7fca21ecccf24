// Process-wide settings, per-window resources and the name registry of the
// paint manager, without a window.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/PaintManagerTestKit.h"
#include "engine/RenderEngine.h"
#include "support/TestSupport.h"

using namespace Veneer;
using namespace PaintManagerTestKit;

namespace {

// A stored (uncompressed) zip archive with one entry, built by hand.
std::vector<unsigned char> TinyZip(const std::string& name, const std::string& data)
{
    auto crc32 = [](const std::string& bytes) {
        unsigned int crc = 0xFFFFFFFFu;
        for (unsigned char c : bytes) {
            crc ^= c;
            for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
        return ~crc;
    };
    std::vector<unsigned char> out;
    auto u16 = [&](unsigned v) { out.push_back(v & 0xFF); out.push_back((v >> 8) & 0xFF); };
    auto u32 = [&](unsigned v) { u16(v & 0xFFFF); u16(v >> 16); };
    auto bytes = [&](const std::string& s) { out.insert(out.end(), s.begin(), s.end()); };
    const unsigned crc = crc32(data);
    const unsigned size = static_cast<unsigned>(data.size());
    u32(0x04034b50); u16(10); u16(0); u16(0); u16(0); u16(0); u32(crc); u32(size); u32(size);
    u16(static_cast<unsigned>(name.size())); u16(0); bytes(name); bytes(data);
    const unsigned cdOffset = static_cast<unsigned>(out.size());
    u32(0x02014b50); u16(20); u16(10); u16(0); u16(0); u16(0); u16(0); u32(crc); u32(size); u32(size);
    u16(static_cast<unsigned>(name.size())); u16(0); u16(0); u16(0); u16(0); u32(0); u32(0); bytes(name);
    const unsigned cdSize = static_cast<unsigned>(out.size()) - cdOffset;
    u32(0x06054b50); u16(0); u16(0); u16(1); u16(1); u32(cdSize); u32(cdOffset); u16(0);
    return out;
}

HBITMAP SolidBitmap(int width, int height, DWORD argb)
{
    BITMAPINFO bmi {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = -height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap && bits) {
        DWORD* pixels = static_cast<DWORD*>(bits);
        for (int i = 0; i < width * height; ++i) pixels[i] = argb;
    }
    return bitmap;
}

bool IsLiveBitmap(HBITMAP bitmap)
{
    BITMAP info {};
    return ::GetObjectW(bitmap, sizeof(info), &info) != 0;
}

}  // namespace

TEST(PaintManagerSettings, ResourcePathGetsOneTrailingSeparator)
{
    CPaintManagerUI::SetResourcePath(L"C:\\skins");
    EXPECT_STREQ(L"C:\\skins\\", CPaintManagerUI::GetResourcePath().GetData());
    CPaintManagerUI::SetResourcePath(L"C:/skins/");
    EXPECT_STREQ(L"C:/skins/", CPaintManagerUI::GetResourcePath().GetData());
    CPaintManagerUI::SetResourcePath(L"C:\\skins\\");
    EXPECT_STREQ(L"C:\\skins\\", CPaintManagerUI::GetResourcePath().GetData());
    CPaintManagerUI::SetResourcePath(L"");
    EXPECT_TRUE(CPaintManagerUI::GetResourcePath().IsEmpty());
}

TEST(PaintManagerSettings, InstanceAndResourceModule)
{
    CPaintManagerUI::SetInstance(nullptr);
    EXPECT_TRUE(CPaintManagerUI::GetInstancePath().IsEmpty());
    HINSTANCE self = ::GetModuleHandleW(nullptr);
    CPaintManagerUI::SetInstance(self);
    CStdString path = CPaintManagerUI::GetInstancePath();
    ASSERT_FALSE(path.IsEmpty());
    EXPECT_EQ(L'\\', path.GetAt(path.GetLength() - 1));
    EXPECT_EQ(self, CPaintManagerUI::GetResourceDll());
    HINSTANCE other = ::GetModuleHandleW(L"kernel32.dll");
    CPaintManagerUI::SetResourceDll(other);
    EXPECT_EQ(other, CPaintManagerUI::GetResourceDll());
    CPaintManagerUI::SetResourceDll(nullptr);
    EXPECT_EQ(self, CPaintManagerUI::GetResourceDll());
}

TEST(PaintManagerSettings, CachedArchiveFileIsOpenedOnceAndClosedWhenUncached)
{
    wchar_t temp[MAX_PATH];
    ASSERT_GT(::GetTempPathW(MAX_PATH, temp), 0u);
    std::wstring folder = std::wstring(temp) + L"veneer_pm_zip";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(TestSupport::WriteFileBytes(folder + L"\\skin.zip", TinyZip("a.xml", "<Window/>")));

    CPaintManagerUI::SetResourcePath(folder.c_str());
    CPaintManagerUI::SetResourceZip(L"skin.zip", true);
    TSkinArchiveHandle* first = CPaintManagerUI::GetResourceZipHandle();
    ASSERT_NE(nullptr, first);
    EXPECT_TRUE(CPaintManagerUI::IsCachedResourceZip());
    CPaintManagerUI::SetResourceZip(L"skin.zip", true);
    EXPECT_EQ(first, CPaintManagerUI::GetResourceZipHandle());

    CPaintManagerUI::SetResourceZip(L"skin.zip", false);
    EXPECT_EQ(nullptr, CPaintManagerUI::GetResourceZipHandle());
    EXPECT_FALSE(CPaintManagerUI::IsCachedResourceZip());
    EXPECT_STREQ(L"skin.zip", CPaintManagerUI::GetResourceZip().GetData());

    // A missing archive leaves no handle and no crash.
    CPaintManagerUI::SetResourceZip(L"missing.zip", true);
    EXPECT_EQ(nullptr, CPaintManagerUI::GetResourceZipHandle());
    CPaintManagerUI::SetResourceZip(L"", false);
    ::DeleteFileW((folder + L"\\skin.zip").c_str());
}

TEST(PaintManagerSettings, FirstMemoryArchiveStays)
{
    static std::vector<unsigned char> first = TinyZip("a.xml", "<Window/>");
    static std::vector<unsigned char> second = TinyZip("b.xml", "<Window/>");
    CPaintManagerUI::SetResourceZip(first.data(), static_cast<unsigned>(first.size()));
    TSkinArchiveHandle* handle = CPaintManagerUI::GetResourceZipHandle();
    ASSERT_NE(nullptr, handle);
    EXPECT_STREQ(L"membuffer", CPaintManagerUI::GetResourceZip().GetData());
    EXPECT_TRUE(CPaintManagerUI::IsCachedResourceZip());
    CPaintManagerUI::SetResourceZip(second.data(), static_cast<unsigned>(second.size()));
    EXPECT_EQ(handle, CPaintManagerUI::GetResourceZipHandle());
    CPaintManagerUI::Term();
    EXPECT_EQ(nullptr, CPaintManagerUI::GetResourceZipHandle());
}

TEST(PaintManagerSettings, PluginsNeedTheCreateControlExport)
{
    EXPECT_FALSE(CPaintManagerUI::LoadPlugin(nullptr));
    EXPECT_FALSE(CPaintManagerUI::LoadPlugin(L"no_such_plugin_library.dll"));
    // A real library without the export is refused as well.
    EXPECT_FALSE(CPaintManagerUI::LoadPlugin(L"kernel32.dll"));
    EXPECT_EQ(0, CPaintManagerUI::GetPlugins()->GetSize());
}

TEST(PaintManagerSettings, HslIsClampedAndRepaintsEveryWindow)
{
    CPaintManagerUI::SetHSL(true, 400, -5, 300);
    short h = 0, s = 0, l = 0;
    CPaintManagerUI::GetHSL(&h, &s, &l);
    EXPECT_EQ(360, h);
    EXPECT_EQ(0, s);
    EXPECT_EQ(200, l);
    CPaintManagerUI::SetHSL(true, 180, 100, 100);
    CPaintManagerUI::GetHSL(&h, &s, &l);
    EXPECT_EQ(180, h);
    EXPECT_EQ(100, s);
    EXPECT_EQ(100, l);
}

TEST(PaintManagerFonts, IndexesOutsideTheTableGiveTheDefaultFont)
{
    CPaintManagerUI pm;
    HFONT a = pm.AddFont(L"Tahoma", 12, false, false, false);
    HFONT b = pm.AddFont(L"Tahoma", 14, true, false, false);
    ASSERT_NE(nullptr, a);
    ASSERT_NE(nullptr, b);
    EXPECT_EQ(2u, pm.GetCustomFontCount());
    HFONT def = pm.GetDefaultFontInfo()->hFont;
    ASSERT_NE(nullptr, def);
    EXPECT_EQ(def, pm.GetFont(-1));
    EXPECT_EQ(def, pm.GetFont(2));
    EXPECT_EQ(a, pm.GetFont(0));
    EXPECT_EQ(pm.GetDefaultFontInfo(), pm.GetFontInfo(99));
    EXPECT_EQ(1, pm.GetFontIndex(b));
    EXPECT_EQ(1, pm.GetFontIndex(L"Tahoma", 14, true, false, false));
    EXPECT_EQ(-1, pm.GetFontIndex(L"tahoma", 14, true, false, false));  // faces compare exactly

    TFontInfo* info = pm.GetFontInfo(1);
    EXPECT_STREQ(L"Tahoma", info->sFontName.GetData());
    EXPECT_EQ(14, info->iSize);
    EXPECT_TRUE(info->bBold);
    EXPECT_GT(info->tm.tmHeight, 0);  // measured on first hand-out
    LOGFONTW lf {};
    ::GetObjectW(b, sizeof(lf), &lf);
    EXPECT_EQ(-14, lf.lfHeight);
    EXPECT_GE(lf.lfWeight, FW_BOLD);
}

TEST(PaintManagerFonts, InsertRemoveAndDefault)
{
    CPaintManagerUI pm;
    HFONT a = pm.AddFont(L"Arial", 10, false, false, false);
    EXPECT_EQ(nullptr, pm.AddFontAt(5, L"Arial", 11, false, false, false));
    EXPECT_EQ(1u, pm.GetCustomFontCount());
    HFONT front = pm.AddFontAt(0, L"Arial", 9, false, true, true);
    ASSERT_NE(nullptr, front);
    EXPECT_EQ(front, pm.GetFont(0));
    EXPECT_EQ(a, pm.GetFont(1));
    EXPECT_TRUE(pm.FindFont(a));
    EXPECT_TRUE(pm.RemoveFont(a));
    EXPECT_FALSE(pm.FindFont(a));
    EXPECT_FALSE(pm.RemoveFontAt(3));
    EXPECT_TRUE(pm.RemoveFontAt(0));
    EXPECT_EQ(0u, pm.GetCustomFontCount());

    pm.SetDefaultFont(L"Courier New", 20, false, true, false);
    TFontInfo* def = pm.GetDefaultFontInfo();
    EXPECT_STREQ(L"Courier New", def->sFontName.GetData());
    EXPECT_EQ(20, def->iSize);
    EXPECT_TRUE(def->bUnderline);
}

TEST(PaintManagerFonts, LookupsFallBackToTheParent)
{
    CPaintManagerUI parent;
    CPaintManagerUI child;
    HFONT shared = parent.AddFont(L"Verdana", 13, false, false, false);
    EXPECT_EQ(nullptr, child.GetFont(L"Verdana", 13, false, false, false));
    ASSERT_TRUE(child.UseParentResource(&parent));
    EXPECT_EQ(shared, child.GetFont(L"Verdana", 13, false, false, false));
    EXPECT_TRUE(child.FindFont(shared));
    EXPECT_EQ(-1, child.GetFontIndex(shared));  // the index is the own table's
    EXPECT_EQ(parent.GetFontInfo(0), child.GetFontInfo(shared));
    EXPECT_EQ(parent.GetDefaultFontInfo(), child.GetDefaultFontInfo());

    parent.SetDefaultFontColor(0xFF123456);
    EXPECT_EQ(0xFF123456u, child.GetDefaultFontColor());
    child.SetDefaultFontColor(0xFF000001);
    EXPECT_EQ(0xFF123456u, child.GetDefaultFontColor());  // the parent's value wins while set

    EXPECT_FALSE(parent.UseParentResource(&child));  // no cycles
    EXPECT_FALSE(child.UseParentResource(&child));
    EXPECT_TRUE(child.UseParentResource(nullptr));
    EXPECT_EQ(0xFF000001u, child.GetDefaultFontColor());
}

TEST(PaintManagerFonts, DefaultColours)
{
    CPaintManagerUI pm;
    EXPECT_EQ(0xFFA7A6AAu, pm.GetDefaultDisabledColor());
    EXPECT_EQ(0xFF000000u, pm.GetDefaultFontColor());
    EXPECT_EQ(0xFF0000FFu, pm.GetDefaultLinkFontColor());
    EXPECT_EQ(0xFFD3215Fu, pm.GetDefaultLinkHoverFontColor());
    EXPECT_EQ(0xFFBAE4FFu, pm.GetDefaultSelectedBkColor());
}

TEST(PaintManagerImages, BitmapsAreRegisteredSharedAndFreed)
{
    CPaintManagerUI parent;
    CPaintManagerUI child;
    HBITMAP bitmap = SolidBitmap(4, 3, 0xFF00FF00);
    const TImageInfo* image = parent.AddImage(L"Logo.png", bitmap, 4, 3, false);
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(bitmap, image->hBitmap);
    EXPECT_EQ(4, image->nX);
    EXPECT_EQ(3, image->nY);
    EXPECT_EQ(image, parent.GetImage(L"Logo.png"));
    EXPECT_EQ(nullptr, parent.GetImage(L"logo.png"));  // names compare exactly

    EXPECT_EQ(nullptr, child.GetImage(L"Logo.png"));
    child.UseParentResource(&parent);
    EXPECT_EQ(image, child.GetImage(L"Logo.png"));

    // A second image under a taken name is released and not returned.
    HBITMAP duplicate = SolidBitmap(2, 2, 0xFFFF0000);
    EXPECT_EQ(nullptr, parent.AddImage(L"Logo.png", duplicate, 2, 2, false));
    EXPECT_FALSE(IsLiveBitmap(duplicate));
    EXPECT_EQ(image, parent.GetImage(L"Logo.png"));

    EXPECT_EQ(nullptr, parent.AddImage(L"empty", static_cast<HBITMAP>(nullptr), 4, 4, false));
    HBITMAP flat = SolidBitmap(2, 2, 0);
    EXPECT_EQ(nullptr, parent.AddImage(L"flat", flat, 0, 2, false));
    ::DeleteObject(flat);

    EXPECT_TRUE(parent.RemoveImage(L"Logo.png"));
    EXPECT_FALSE(IsLiveBitmap(bitmap));
    EXPECT_FALSE(parent.RemoveImage(L"Logo.png"));
    EXPECT_EQ(nullptr, child.GetImage(L"Logo.png"));
}

TEST(PaintManagerImages, ResourceTypeNeedsADigitName)
{
    CPaintManagerUI pm;
    EXPECT_EQ(nullptr, pm.AddImage(L"logo.png", L"PNG", 0));
    EXPECT_EQ(nullptr, pm.AddImage(L"9999", L"PNG", 0));  // no such resource
    EXPECT_EQ(nullptr, pm.GetImageEx(L"missing_image.png"));
    EXPECT_EQ(nullptr, pm.GetImage(L"missing_image.png"));
}

TEST(PaintManagerImages, RemoveAllFreesEveryBitmap)
{
    CPaintManagerUI pm;
    std::vector<HBITMAP> bitmaps;
    for (int i = 0; i < 5; ++i) {
        HBITMAP bitmap = SolidBitmap(2, 2, 0xFF000000u | static_cast<DWORD>(i));
        std::wstring name = L"img" + std::to_wstring(i);
        ASSERT_NE(nullptr, pm.AddImage(name.c_str(), bitmap, 2, 2, true));
        bitmaps.push_back(bitmap);
    }
    pm.RemoveAllImages();
    for (HBITMAP bitmap : bitmaps) EXPECT_FALSE(IsLiveBitmap(bitmap));
    EXPECT_EQ(nullptr, pm.GetImage(L"img0"));
}

TEST(PaintManagerDefaults, FirstListWinsAndParentIsConsulted)
{
    CPaintManagerUI parent;
    CPaintManagerUI child;
    parent.AddDefaultAttributeList(L"Button", L"width=\"10\"");
    parent.AddDefaultAttributeList(L"Button", L"width=\"20\"");
    EXPECT_STREQ(L"width=\"10\"", parent.GetDefaultAttributeList(L"Button"));
    EXPECT_EQ(nullptr, parent.GetDefaultAttributeList(L"button"));
    EXPECT_EQ(nullptr, child.GetDefaultAttributeList(L"Button"));
    child.UseParentResource(&parent);
    EXPECT_STREQ(L"width=\"10\"", child.GetDefaultAttributeList(L"Button"));
    child.AddDefaultAttributeList(L"Button", L"width=\"30\"");
    EXPECT_STREQ(L"width=\"30\"", child.GetDefaultAttributeList(L"Button"));
    EXPECT_TRUE(child.RemoveDefaultAttributeList(L"Button"));
    EXPECT_FALSE(child.RemoveDefaultAttributeList(L"Button"));
    EXPECT_STREQ(L"width=\"10\"", child.GetDefaultAttributeList(L"Button"));
    EXPECT_EQ(1, parent.GetDefaultAttributes().GetSize());
}

TEST(PaintManagerDefaults, DefaultListIsAppliedBeforeTheElementsOwn)
{
    // What the dialog builder does with a Default element and an element.
    CPaintManagerUI pm;
    pm.AddDefaultAttributeList(L"Probe", L"width=\"40\" height=\"12\" tooltip=\"default\"");
    ProbeUI probe;
    probe.SetManager(&pm, nullptr, false);
    probe.ApplyAttributeList(pm.GetDefaultAttributeList(L"Probe"));
    probe.SetAttribute(L"width", L"77");
    EXPECT_EQ(77, probe.GetFixedWidth());
    EXPECT_EQ(12, probe.GetFixedHeight());
    EXPECT_STREQ(L"default", probe.GetToolTip().GetData());
    probe.SetManager(nullptr, nullptr, false);
}

TEST(PaintManagerOptionGroups, MembersAreUniqueAndEmptyGroupsGo)
{
    CPaintManagerUI pm;
    ProbeUI a, b;
    EXPECT_TRUE(pm.AddOptionGroup(L"g", &a));
    EXPECT_FALSE(pm.AddOptionGroup(L"g", &a));
    EXPECT_TRUE(pm.AddOptionGroup(L"g", &b));
    ASSERT_NE(nullptr, pm.GetOptionGroup(L"g"));
    EXPECT_EQ(2, pm.GetOptionGroup(L"g")->GetSize());
    pm.RemoveOptionGroup(L"g", &a);
    EXPECT_EQ(1, pm.GetOptionGroup(L"g")->GetSize());
    pm.RemoveOptionGroup(L"g", &b);
    EXPECT_EQ(nullptr, pm.GetOptionGroup(L"g"));
    pm.RemoveOptionGroup(L"missing", &b);
}

TEST(PaintManagerOptionGroups, DestroyedMemberLeavesItsGroup)
{
    CPaintManagerUI pm;
    ProbeUI stays;
    ProbeUI* goes = new ProbeUI;
    goes->SetManager(&pm, nullptr, false);
    pm.AddOptionGroup(L"g", &stays);
    pm.AddOptionGroup(L"g", goes);
    delete goes;
    ASSERT_NE(nullptr, pm.GetOptionGroup(L"g"));
    EXPECT_EQ(1, pm.GetOptionGroup(L"g")->GetSize());
    EXPECT_EQ(&stays, pm.GetOptionGroup(L"g")->GetAt(0));
}

namespace {

// root(box "Root") -> [ "OK" probe, inner box "Panel" -> [ "Name" probe, "name" probe ], unnamed probe ]
struct Tree {
    BoxUI* root { new BoxUI(L"Root") };
    ProbeUI* ok { nullptr };
    BoxUI* panel { nullptr };
    ProbeUI* upper { nullptr };
    ProbeUI* lower { nullptr };
    ProbeUI* anonymous { nullptr };
    Tree()
    {
        ok = root->Add(new ProbeUI(L"OK"), RECT { 0, 0, 10, 10 });
        panel = root->Add(new BoxUI(L"Panel"), RECT { 10, 0, 50, 50 });
        upper = panel->Add(new ProbeUI(L"Name"), RECT { 0, 0, 10, 10 });
        lower = panel->Add(new ProbeUI(L"name"), RECT { 10, 0, 20, 10 });
        anonymous = root->Add(new ProbeUI(L""), RECT { 60, 0, 70, 10 });
    }
};

}  // namespace

TEST(PaintManagerNames, FindControlIsExactSubControlSearchIgnoresCase)
{
    CPaintManagerUI pm;
    Tree tree;
    ASSERT_TRUE(pm.AttachDialog(tree.root));
    EXPECT_EQ(tree.root, pm.GetRoot());
    EXPECT_EQ(tree.ok, pm.FindControl(L"OK"));
    EXPECT_EQ(nullptr, pm.FindControl(L"ok"));
    EXPECT_EQ(tree.upper, pm.FindControl(L"Name"));
    EXPECT_EQ(tree.lower, pm.FindControl(L"name"));
    EXPECT_EQ(tree.ok, pm.FindSubControlByName(nullptr, L"ok"));
    EXPECT_EQ(tree.upper, pm.FindSubControlByName(tree.panel, L"NAME"));
    EXPECT_EQ(nullptr, pm.FindSubControlByName(tree.panel, L"OK"));
    EXPECT_EQ(nullptr, pm.FindSubControlByName(nullptr, L""));
}

TEST(PaintManagerNames, ClassSearchesWalkTheTreeInOrder)
{
    CPaintManagerUI pm;
    Tree tree;
    pm.AttachDialog(tree.root);
    // Walk order: children before their container (Root last).
    CControlUI* third = pm.FindSubControlByClass(nullptr, L"*", 2);
    ASSERT_NE(nullptr, third);
    EXPECT_EQ(tree.lower, third);
    EXPECT_EQ(tree.ok, pm.FindSubControlByClass(nullptr, L"ProbeUI", 0));
    EXPECT_EQ(tree.anonymous, pm.FindSubControlByClass(nullptr, L"ProbeUI", 3));
    EXPECT_EQ(nullptr, pm.FindSubControlByClass(nullptr, L"ProbeUI", 4));
    CStdPtrArray* boxes = pm.FindSubControlsByClass(nullptr, L"BoxUI");
    ASSERT_EQ(2, boxes->GetSize());
    EXPECT_EQ(tree.panel, boxes->GetAt(0));
    EXPECT_EQ(tree.root, boxes->GetAt(1));
    EXPECT_EQ(boxes, pm.GetSubControlsByClass());
}

TEST(PaintManagerNames, DestroyedControlLeavesTheRegistry)
{
    CPaintManagerUI pm;
    Tree tree;
    pm.AttachDialog(tree.root);
    ProbeUI* extra = new ProbeUI(L"Extra");
    pm.InitControls(extra, tree.root);
    EXPECT_EQ(extra, pm.FindControl(L"Extra"));
    ProbeUI* shadowing = new ProbeUI(L"OK");  // a later control of the same name replaces the first
    pm.InitControls(shadowing, tree.root);
    EXPECT_EQ(shadowing, pm.FindControl(L"OK"));
    delete extra;
    EXPECT_EQ(nullptr, pm.FindControl(L"Extra"));
    delete tree.ok;  // not the registered one: the entry stays
    tree.root->m_children.erase(tree.root->m_children.begin());
    tree.root->m_places.erase(tree.root->m_places.begin());
    EXPECT_EQ(shadowing, pm.FindControl(L"OK"));
    delete shadowing;
    EXPECT_EQ(nullptr, pm.FindControl(L"OK"));
}

TEST(PaintManagerShadow, MiddlesAndPlacementFollowTheCorners)
{
    CPaintManagerUI pm;
    pm.SetTopleftShadowRect(0, 0, 10, 12);
    pm.SetToprightShadowRect(20, 0, 8, 12);
    pm.SetBottomleftShadowRect(0, 30, 10, 6);
    pm.SetBottomrightShadowRect(20, 30, 8, 6);
    pm.CalMiddleShadowRect();
    const TWindowShadowInfo& src = pm.GetShadowSourceRects();
    EXPECT_EQ((RECT { 10, 0, 20, 12 }).right, src.rcTopMiddle.right);
    EXPECT_EQ(10, src.rcTopMiddle.left);
    EXPECT_EQ(12, src.rcTopMiddle.bottom);
    EXPECT_EQ(30, src.rcBottomMiddle.top);
    EXPECT_EQ(36, src.rcBottomMiddle.bottom);
    EXPECT_EQ(12, src.rcLeftMiddle.top);
    EXPECT_EQ(30, src.rcLeftMiddle.bottom);
    EXPECT_EQ(20, src.rcRightMiddle.left);
    EXPECT_EQ(28, src.rcRightMiddle.right);

    TWindowShadowInfo dest;
    pm.CalRealShadowRect(RECT { 0, 0, 200, 100 }, dest);
    EXPECT_EQ(192, dest.rcTopRight.left);
    EXPECT_EQ(200, dest.rcTopRight.right);
    EXPECT_EQ(94, dest.rcBottomLeft.top);
    EXPECT_EQ(10, dest.rcBottomLeft.right);
    EXPECT_EQ(192, dest.rcTopMiddle.right);
    EXPECT_EQ(12, dest.rcRightMiddle.top);
    EXPECT_EQ(94, dest.rcRightMiddle.bottom);

    wchar_t buffer[512];
    pm.SetWindowShadowImage(L"shadow.png");
    pm.GenerateShadowRenderString(src.rcTopLeft, dest.rcTopLeft, buffer);
    EXPECT_STREQ(L"file='shadow.png' dest='0,0,10,12' source='0,0,10,12'", buffer);
}

TEST(PaintManagerShadow, LongImageNameStaysInsideTheBuffer)
{
    CPaintManagerUI pm;
    std::wstring name(700, L'x');
    pm.SetWindowShadowImage(name.c_str());
    std::vector<wchar_t> buffer(600, L'#');
    pm.GenerateShadowRenderString(RECT { 0, 0, 1, 1 }, RECT { 0, 0, 1, 1 }, buffer.data());
    EXPECT_EQ(511u, std::wcslen(buffer.data()));
    for (size_t i = 512; i < buffer.size(); ++i) EXPECT_EQ(L'#', buffer[i]);
}

namespace {

// A 2x2 24-bit bitmap file of one colour.
std::vector<unsigned char> BmpFile(unsigned char r, unsigned char g, unsigned char b)
{
    std::vector<unsigned char> out;
    auto u16 = [&](unsigned v) { out.push_back(v & 0xFF); out.push_back((v >> 8) & 0xFF); };
    auto u32 = [&](unsigned v) { u16(v & 0xFFFF); u16(v >> 16); };
    const unsigned rowBytes = 8;  // 2 pixels * 3 bytes, padded to 4
    u16(0x4D42); u32(54 + rowBytes * 2); u32(0); u32(54);
    u32(40); u32(2); u32(2); u16(1); u16(24); u32(0); u32(rowBytes * 2); u32(2835); u32(2835); u32(0); u32(0);
    for (int row = 0; row < 2; ++row) {
        for (int x = 0; x < 2; ++x) { out.push_back(b); out.push_back(g); out.push_back(r); }
        out.push_back(0); out.push_back(0);
    }
    return out;
}

DWORD FirstPixel(HBITMAP bitmap)
{
    DIBSECTION dib {};
    if (::GetObjectW(bitmap, sizeof(dib), &dib) != sizeof(dib) || !dib.dsBm.bmBits) return 0;
    return *static_cast<const DWORD*>(dib.dsBm.bmBits);
}

}  // namespace

TEST(PaintManagerImages, SkinFilesAreLoadedOnceAndReloaded)
{
    wchar_t temp[MAX_PATH];
    ASSERT_GT(::GetTempPathW(MAX_PATH, temp), 0u);
    std::wstring folder = std::wstring(temp) + L"veneer_pm_images";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    std::wstring file = folder + L"\\dot.bmp";
    ASSERT_TRUE(TestSupport::WriteFileBytes(file, BmpFile(255, 0, 0)));
    CPaintManagerUI::SetResourceZip(L"", false);
    CPaintManagerUI::SetResourcePath(folder.c_str());

    CPaintManagerUI pm;
    const TImageInfo* image = pm.GetImageEx(L"dot.bmp");
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(2, image->nX);
    EXPECT_TRUE(image->sResType.IsEmpty());
    EXPECT_EQ(0x00FF0000u, FirstPixel(image->hBitmap) & 0x00FFFFFFu);
    EXPECT_EQ(image, pm.GetImageEx(L"dot.bmp"));
    EXPECT_EQ(image, pm.GetImage(L"dot.bmp"));

    // A second window loads its own copy unless it shares resources.
    CPaintManagerUI other;
    const TImageInfo* own = other.GetImageEx(L"dot.bmp");
    ASSERT_NE(nullptr, own);
    EXPECT_NE(image, own);

    // With the window background transparent, images are drawn by blending.
    CPaintManagerUI layered;
    layered.SetBackgroundTransparent(true);
    const TImageInfo* blended = layered.AddImage(L"dot.bmp");
    ASSERT_NE(nullptr, blended);
    EXPECT_TRUE(blended->alphaChannel);
    EXPECT_EQ(nullptr, layered.AddImage(L"dot.bmp"));  // the name is taken

    ASSERT_TRUE(TestSupport::WriteFileBytes(file, BmpFile(0, 0, 255)));
    HBITMAP before = image->hBitmap;
    pm.ReloadAllImages();
    EXPECT_EQ(image, pm.GetImage(L"dot.bmp"));  // the record stays
    EXPECT_FALSE(IsLiveBitmap(before));
    EXPECT_EQ(0x000000FFu, FirstPixel(image->hBitmap) & 0x00FFFFFFu);

    ::DeleteFileW(file.c_str());
    pm.ReloadAllImages();  // a vanished file keeps the loaded image
    EXPECT_EQ(0x000000FFu, FirstPixel(image->hBitmap) & 0x00FFFFFFu);
    CPaintManagerUI::SetResourcePath(L"");
}
