// LoadImage from every source the paint manager's settings name: a folder,
// an archive file, a cached or in-memory archive, a module resource, a plain
// path; and the limits on declared sizes.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/PaintManagerUI.h"
#include "engine/RenderEngine.h"
#include "support/TestSupport.h"

using namespace Veneer;

namespace {

struct TImageDeleter {
    void operator()(TImageInfo* image) const { CRenderEngine::FreeImage(image); }
};
using ImagePtr = std::unique_ptr<TImageInfo, TImageDeleter>;

ImagePtr Load(STRINGorID name, LPCWSTR type = nullptr, DWORD mask = 0)
{
    return ImagePtr(CRenderEngine::LoadImage(name, type, mask));
}

std::wstring RenderFixtures()
{
    return TestSupport::FixturePath(L"render");
}

// Resets the process-wide settings this file changes.
class RenderLoadImage : public ::testing::Test {
protected:
    void TearDown() override
    {
        CPaintManagerUI::SetResourceZip(L"", false);
        CPaintManagerUI::SetResourcePath(L"");
    }
};

}  // namespace

TEST_F(RenderLoadImage, FromTheResourceFolder)
{
    CPaintManagerUI::SetResourcePath(RenderFixtures().c_str());
    ImagePtr image = Load(L"grid.png");
    ASSERT_TRUE(image);
    EXPECT_EQ(12, image->nX);
    EXPECT_EQ(12, image->nY);
    EXPECT_FALSE(image->alphaChannel);
    ImagePtr translucent = Load(L"alpha.png");
    ASSERT_TRUE(translucent);
    EXPECT_TRUE(translucent->alphaChannel);
    EXPECT_FALSE(Load(L"missing.png"));
    EXPECT_FALSE(Load(L"skin.zip")) << "not an image";
}

TEST_F(RenderLoadImage, FromAnArchiveFileIgnoringCase)
{
    CPaintManagerUI::SetResourcePath(RenderFixtures().c_str());
    CPaintManagerUI::SetResourceZip(L"skin.zip", false);
    ImagePtr image = Load(L"img/grid.png");
    ASSERT_TRUE(image);
    EXPECT_EQ(12, image->nX);
    ImagePtr folded = Load(L"IMG\\Frames.PNG");
    ASSERT_TRUE(folded);
    EXPECT_EQ(40, folded->nX);
    // Not in the archive and not a path either.
    EXPECT_FALSE(Load(L"img/missing.png"));
    // grid.png is in the folder but not at the archive's top level: the
    // folder is not consulted while an archive is set.
    EXPECT_FALSE(Load(L"grid.png"));
}

TEST_F(RenderLoadImage, FromTheCachedArchiveAndFromMemory)
{
    CPaintManagerUI::SetResourcePath(RenderFixtures().c_str());
    CPaintManagerUI::SetResourceZip(L"skin.zip", true);
    ASSERT_NE(nullptr, CPaintManagerUI::GetResourceZipHandle());
    ImagePtr first = Load(L"tile.png");
    ImagePtr second = Load(L"tile.png");
    ASSERT_TRUE(first);
    ASSERT_TRUE(second);
    EXPECT_EQ(2, second->nX);
    EXPECT_NE(nullptr, CPaintManagerUI::GetResourceZipHandle()) << "the cached archive stays open";
    CPaintManagerUI::SetResourceZip(L"", false);

    static std::vector<unsigned char> archive = TestSupport::ReadFileBytes(RenderFixtures() + L"/skin.zip");
    ASSERT_FALSE(archive.empty());
    CPaintManagerUI::SetResourceZip(archive.data(), static_cast<unsigned int>(archive.size()));
    ImagePtr fromMemory = Load(L"img/alpha.png");
    ASSERT_TRUE(fromMemory);
    EXPECT_TRUE(fromMemory->alphaChannel);
}

TEST_F(RenderLoadImage, DeclaredSizesAreCheckedBeforeAllocating)
{
    CPaintManagerUI::SetResourcePath(RenderFixtures().c_str());
    CPaintManagerUI::SetResourceZip(L"bomb.zip", true);
    // 40 MB declared (and really there once inflated): refused up front.
    EXPECT_FALSE(Load(L"big.png"));
    EXPECT_FALSE(Load(L"empty.png"));
    EXPECT_FALSE(Load(L"notimage.png"));
    ImagePtr small = Load(L"small.png");
    ASSERT_TRUE(small);
    EXPECT_EQ(12, small->nX);
}

TEST_F(RenderLoadImage, FromAModuleResource)
{
    ImagePtr image = Load(STRINGorID(201), L"PNG");
    ASSERT_TRUE(image);
    EXPECT_EQ(12, image->nX);
    ImagePtr translucent = Load(STRINGorID(202), L"png");
    ASSERT_TRUE(translucent);
    EXPECT_TRUE(translucent->alphaChannel);
    EXPECT_FALSE(Load(STRINGorID(203), L"PNG"));
    // An id without a type names no file.
    EXPECT_FALSE(Load(STRINGorID(201)));
    EXPECT_FALSE(Load(STRINGorID(static_cast<LPCWSTR>(nullptr))));
}

TEST_F(RenderLoadImage, FallsBackToTheNameAsAPath)
{
    const std::wstring absolute = RenderFixtures() + L"/frames.png";
    CPaintManagerUI::SetResourcePath(L"Z:/nonexistent/folder");
    ImagePtr image = Load(absolute.c_str());
    ASSERT_TRUE(image);
    EXPECT_EQ(40, image->nX);

    CPaintManagerUI::SetResourcePath(RenderFixtures().c_str());
    CPaintManagerUI::SetResourceZip(L"skin.zip", false);
    ImagePtr viaArchiveMiss = Load(absolute.c_str());
    ASSERT_TRUE(viaArchiveMiss);
    // A resource name that is not found is tried as a path too.
    ImagePtr viaResourceMiss = Load(absolute.c_str(), L"PNG");
    ASSERT_TRUE(viaResourceMiss);
}

TEST_F(RenderLoadImage, MaskAppliesOnLoad)
{
    CPaintManagerUI::SetResourcePath(RenderFixtures().c_str());
    ImagePtr plain = Load(L"magenta.png");
    ImagePtr masked = Load(L"magenta.png", nullptr, 0xFFFF00FFu);
    ASSERT_TRUE(plain);
    ASSERT_TRUE(masked);
    EXPECT_FALSE(plain->alphaChannel);
    EXPECT_TRUE(masked->alphaChannel);
}
