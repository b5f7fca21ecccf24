// Faults found by feeding hostile and unusual-but-valid input from outside;
// each case here failed before its fix.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/ContainerUI.h"
#include "engine/ControlUI.h"
#include "engine/PaintManagerUI.h"
#include "foundation/DialogBuilder.h"
#include "foundation/Markup.h"
#include "foundation/SkinArchive.h"
#include "fuzz/ZipWriter.h"
#include "support/TestSupport.h"

using namespace Veneer;
using ZipWriter::Bytes;

namespace {

struct ArchiveCloser {
    void operator()(TSkinArchiveHandle* archive) const { CloseSkinArchive(archive); }
};
using ArchivePtr = std::unique_ptr<TSkinArchiveHandle, ArchiveCloser>;

ArchivePtr OpenBytes(const Bytes& bytes)
{
    return ArchivePtr(OpenSkinArchive(bytes.data(), static_cast<DWORD>(bytes.size()), ARCHIVE_MEMORY));
}

Bytes Pattern(size_t size)
{
    // Compressible but not trivially: the deflated form spans more than one input block.
    Bytes data(size);
    unsigned state = 12345;
    for (size_t i = 0; i < size; ++i) {
        state = state * 1103515245u + 12345u;
        data[i] = static_cast<unsigned char>((state >> 16) % 7 + 'a');
    }
    return data;
}

std::wstring LastError(const CMarkup& xml)
{
    wchar_t message[100] = {};
    xml.GetLastErrorMessage(message, 100);
    return message;
}

int Depth(CControlUI* control)
{
    int depth = 0;
    while (control) {
        ++depth;
        auto* container = static_cast<IContainerUI*>(control->GetInterface(L"IContainer"));
        control = container && container->GetCount() > 0 ? container->GetItemAt(0) : nullptr;
    }
    return depth;
}

}  // namespace

TEST(HostileBuilder, DeepNestingIsCutAtAFixedDepth)
{
    for (int levels : { 255, 256, 2000, 20000 }) {
        std::wstring skin = L"<Window>";
        for (int i = 0; i < levels; ++i)
            skin += L"<Container>";
        skin += L"<Button name=\"deepest\" />";
        for (int i = 0; i < levels; ++i)
            skin += L"</Container>";
        skin += L"</Window>";
        CDialogBuilder builder;
        std::unique_ptr<CControlUI> root(builder.Create(STRINGorID(skin.c_str())));
        ASSERT_TRUE(root) << levels;
        // The deepest kept level holds its own controls; deeper subtrees are left out.
        EXPECT_EQ(levels < 256 ? levels + 1 : 256, Depth(root.get())) << levels;
    }
}

TEST(HostileMarkup, DeclarationsAndCharacterData)
{
    CMarkup xml;
    ASSERT_TRUE(xml.Load(L"<?xml version=\"1.0\"?><!DOCTYPE skin><Window size=\"1,2\"/>"));
    EXPECT_STREQ(L"Window", xml.GetRoot().GetName());
    EXPECT_STREQ(L"1,2", xml.GetRoot().GetAttributeValue(L"size"));

    // An internal subset may hold ">" inside brackets and quotes.
    ASSERT_TRUE(xml.Load(L"<!DOCTYPE s [ <!ENTITY e \"a>b\"> <!ELEMENT s ANY> ]>\n<s><t/></s>"));
    EXPECT_STREQ(L"s", xml.GetRoot().GetName());
    EXPECT_STREQ(L"t", xml.GetRoot().GetChild().GetName());

    ASSERT_TRUE(xml.Load(L"<!-- a -> b --><r/>"));
    EXPECT_STREQ(L"r", xml.GetRoot().GetName());

    ASSERT_TRUE(xml.Load(L"<r>a<![CDATA[<b x=\"1\">&amp;]]>c</r>"));
    EXPECT_STREQ(L"a<b x=\"1\">&amp;c", xml.GetRoot().GetValue());

    // Nothing but declarations, or character data where an element belongs, is no document.
    for (LPCWSTR refused : { L"<!DOCTYPE skin>", L"<!DOCTYPE skin><!-- only -->", L"<?xml?>", L"",
             L"<![CDATA[<r/>]]>", L"<r><![CDATA[open</r>", L"<!DOCTYPE s [ <r/>", L"</e><a/>", L"<?x?></>" }) {
        EXPECT_FALSE(xml.Load(refused)) << refused;
        EXPECT_EQ(L"Expected start tag", LastError(xml)) << refused;
        EXPECT_FALSE(xml.GetRoot().IsValid());
    }
}

TEST(HostileArchive, TheLongestCommentStillFindsTheEndRecord)
{
    const Bytes plain = ZipWriter::Write({ { "a.txt", Pattern(100) } });
    for (size_t comment : { size_t(65514), size_t(65535) }) {
        const Bytes bytes = ZipWriter::Write({ { "a.txt", Pattern(100) } }, std::string(comment, 'c'));
        EXPECT_TRUE(OpenBytes(bytes)) << comment;
    }
    // One byte beyond the largest possible comment is out of reach.
    Bytes beyond = ZipWriter::Write({ { "a.txt", Pattern(100) } }, std::string(65535, 'c'));
    beyond.push_back('x');
    EXPECT_FALSE(OpenBytes(beyond));
    EXPECT_TRUE(OpenBytes(plain));
}

TEST(HostileArchive, ReadingInPartsDeliversEveryByte)
{
    for (size_t size : { size_t(32769), size_t(65536), size_t(200001) }) {
        const Bytes data = Pattern(size);
        const Bytes bytes = ZipWriter::Write({ { "big.bin", data } });
        for (DWORD part : { 1u, 7u, 16384u, 32768u }) {
            ArchivePtr archive = OpenBytes(bytes);
            ASSERT_TRUE(archive);
            Bytes out(size + part);
            size_t got = 0;
            DWORD result = ARCHIVE_MORE_DATA;
            int calls = 0;
            while (result == ARCHIVE_MORE_DATA && got <= size && ++calls < 300000) {
                result = ExtractArchiveEntry(archive.get(), 0, out.data() + got, part, ARCHIVE_MEMORY);
                if (result == ARCHIVE_MORE_DATA)
                    got += std::min<size_t>(part, size - got);
            }
            EXPECT_EQ(ARCHIVE_OK, result) << size << " in parts of " << part;
            ASSERT_EQ(size, got) << size << " in parts of " << part;
            EXPECT_TRUE(std::equal(data.begin(), data.end(), out.begin())) << size << " in parts of " << part;
        }

        ArchivePtr archive = OpenBytes(bytes);
        ASSERT_TRUE(archive);
        const std::wstring path = TestSupport::BuildPath(L"hostile_extracted.bin");
        ASSERT_EQ(ARCHIVE_OK, ExtractArchiveEntry(archive.get(), 0, const_cast<wchar_t*>(path.c_str()), 0, ARCHIVE_FILE));
        EXPECT_EQ(data, TestSupport::ReadFileBytes(path)) << size << " to a file";
        ::DeleteFileW(path.c_str());
    }
}

TEST(HostileArchive, DecoyEndRecordsAreRefusedAndHarmless)
{
    // Many central headers, all naming one local entry, then end records
    // that each claim one header more than there are.
    ZipWriter::Archive archive = ZipWriter::WriteEntries({ { "a", Pattern(10), false } });
    const Bytes header(archive.bytes.begin() + static_cast<long>(archive.directoryStart), archive.bytes.end());
    const unsigned headers = 65534;
    for (unsigned i = 1; i < headers; ++i)
        archive.bytes.insert(archive.bytes.end(), header.begin(), header.end());
    for (int decoy = 0; decoy < 300; ++decoy) {
        const size_t size = archive.bytes.size() - archive.directoryStart;
        ZipWriter::PutEndRecord(archive.bytes, headers + 1, size, archive.directoryStart, 0);
    }
    EXPECT_FALSE(OpenBytes(archive.bytes));

    // Decoys in the comment of a real archive do not hide its own record.
    ZipWriter::Archive real = ZipWriter::WriteEntries({ { "a.txt", Pattern(50) }, { "b.txt", Pattern(60) } });
    Bytes comment;
    for (int decoy = 0; decoy < 2000; ++decoy)
        ZipWriter::PutEndRecord(comment, 3, real.directorySize + 46, real.directoryStart, 0);
    ZipWriter::PutEndRecord(real.bytes, real.entries, real.directorySize, real.directoryStart,
        static_cast<unsigned>(comment.size()));
    real.bytes.insert(real.bytes.end(), comment.begin(), comment.end());
    ArchivePtr opened = OpenBytes(real.bytes);
    ASSERT_TRUE(opened);
    TArchiveEntry entry;
    ASSERT_EQ(ARCHIVE_OK, GetArchiveEntry(opened.get(), -1, &entry));
    EXPECT_EQ(2, entry.index);
}

TEST(HostileBuilder, IncludeCountsAreBoundedInAll)
{
    // Two billion copies, and includes of includes multiplying: a bounded build, not a hang.
    CDialogBuilder builder;
    std::unique_ptr<CControlUI> root(builder.Create(STRINGorID(
        L"<Window><VerticalLayout><Include source=\"&lt;Window&gt;&lt;HorizontalLayout&gt;&lt;Include "
        L"count=&quot;2000000000&quot; source=&quot;&lt;Window&gt;&lt;Button/&gt;&lt;/Window&gt;&quot;/&gt;"
        L"&lt;/HorizontalLayout&gt;&lt;/Window&gt;\" count=\"2000000000\"/></VerticalLayout></Window>")));
    ASSERT_TRUE(root);
    auto* container = static_cast<IContainerUI*>(root->GetInterface(L"IContainer"));
    ASSERT_NE(nullptr, container);
    int built = 0;
    for (int i = 0; i < container->GetCount(); ++i) {
        auto* row = static_cast<IContainerUI*>(container->GetItemAt(i)->GetInterface(L"IContainer"));
        built += 1 + (row ? row->GetCount() : 0);
    }
    EXPECT_EQ(1024, built);

    // Ordinary counts are untouched.
    std::unique_ptr<CControlUI> three(builder.Create(STRINGorID(
        L"<Window><VerticalLayout><Include source=\"&lt;Window&gt;&lt;Button/&gt;&lt;/Window&gt;\" count=\"3\"/>"
        L"</VerticalLayout></Window>")));
    ASSERT_TRUE(three);
    EXPECT_EQ(3, static_cast<IContainerUI*>(three->GetInterface(L"IContainer"))->GetCount());
}

TEST(HostileBuilder, ATreeDeletedBeforeAttachingLeavesNoOptionInItsGroup)
{
    // The builder configures each option attached to the manager, which
    // registers its group, and detaches it again; found by the skin fuzzer.
    CPaintManagerUI manager;
    CDialogBuilder builder;
    CControlUI* root = builder.Create(STRINGorID(L"<Window><VerticalLayout><Option group=\"g\" selected=\"true\"/>"
                                                 L"<Option group=\"g\"/></VerticalLayout></Window>"),
        nullptr, nullptr, &manager);
    ASSERT_NE(nullptr, root);
    delete root;
    CStdPtrArray* group = manager.GetOptionGroup(L"g");
    EXPECT_TRUE(group == nullptr || group->IsEmpty());
}
