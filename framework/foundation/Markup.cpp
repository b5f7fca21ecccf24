#include "foundation/Markup.h"

#include "engine/PaintManagerUI.h"
#include "foundation/StdString.h"
#include "foundation/SkinArchive.h"
#include "foundation/ValueSyntax.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <vector>

namespace Veneer {

namespace {

// Character classes of the parser. The terminator is never whitespace: a
// skip must stop at the end of the text.
bool IsBlank(wchar_t ch)
{
    return ch != L'\0' && ch <= L' ';
}

bool IsNameChar(wchar_t ch)
{
    static const struct Table {
        bool name[128] {};
        Table()
        {
            for (int c = '0'; c <= '9'; ++c) name[c] = true;
            for (int c = 'A'; c <= 'Z'; ++c) name[c] = true;
            for (int c = 'a'; c <= 'z'; ++c) name[c] = true;
            name[static_cast<int>('_')] = true;
            name[static_cast<int>(':')] = true;
        }
    } table;
    if (ch < 128)
        return table.name[ch];
    return IsCharAlphaNumericW(ch) != FALSE;
}

void SkipWhitespace(LPWSTR& p)
{
    while (IsBlank(*p))
        ++p;
}

void SkipIdentifier(LPWSTR& p)
{
    while (IsNameChar(*p))
        ++p;
}

bool StartsWith(LPCWSTR p, LPCWSTR prefix)
{
    return wcsncmp(p, prefix, wcslen(prefix)) == 0;
}

const wchar_t kCDataOpen[] = L"<![CDATA[";
const size_t kCDataOpenLength = 9;

// Moves past a comment, processing instruction or declaration that starts
// right after its "<". A declaration ends at its own ">" (a document type's
// internal subset and quoted texts may hold others); the text may end first.
void SkipMarkupDeclaration(LPWSTR& p)
{
    LPCWSTR close = L"?>";
    if (*p == L'!')
        close = StartsWith(p, L"!--") ? L"-->" : nullptr;
    if (close) {
        const size_t length = wcslen(close);
        p += *p == L'?' ? 1 : 3;
        while (*p != L'\0' && !StartsWith(p, close))
            ++p;
        if (*p != L'\0')
            p += length;
        return;
    }
    int depth = 0;
    wchar_t quote = 0;
    for (++p; *p != L'\0'; ++p) {
        if (quote) {
            if (*p == quote)
                quote = 0;
        } else if (*p == L'"' || *p == L'\'') {
            quote = *p;
        } else if (*p == L'[') {
            ++depth;
        } else if (*p == L']') {
            depth -= depth > 0;
        } else if (*p == L'>' && depth == 0) {
            ++p;
            return;
        }
    }
}

bool IsHighSurrogate(wchar_t ch) { return ch >= 0xD800 && ch <= 0xDBFF; }
bool IsLowSurrogate(wchar_t ch) { return ch >= 0xDC00 && ch <= 0xDFFF; }

// Owns a heap block until released; keeps early returns leak-free.
struct HeapBytes {
    BYTE* data { nullptr };
    ~HeapBytes() { free(data); }
};

}  // namespace

// ---------------------------------------------------------------- CMarkupNode

CMarkupNode::CMarkupNode(CMarkup* pOwner, ULONG iPos)
    : m_iPos(iPos)
    , m_pOwner(pOwner)
{
}

CMarkupNode CMarkupNode::GetParent() const
{
    if (!m_pOwner)
        return CMarkupNode();
    const ULONG iPos = m_pOwner->m_pElements[m_iPos].iParent;
    if (iPos == 0)
        return CMarkupNode();
    return CMarkupNode(m_pOwner, iPos);
}

CMarkupNode CMarkupNode::GetSibling() const
{
    if (!m_pOwner)
        return CMarkupNode();
    const ULONG iPos = m_pOwner->m_pElements[m_iPos].iNext;
    if (iPos == 0)
        return CMarkupNode();
    return CMarkupNode(m_pOwner, iPos);
}

CMarkupNode CMarkupNode::GetChild() const
{
    if (!m_pOwner)
        return CMarkupNode();
    const ULONG iPos = m_pOwner->m_pElements[m_iPos].iChild;
    if (iPos == 0)
        return CMarkupNode();
    return CMarkupNode(m_pOwner, iPos);
}

CMarkupNode CMarkupNode::GetChild(LPCWSTR pstrName) const
{
    if (!m_pOwner || !pstrName)
        return CMarkupNode();
    ULONG iPos = m_pOwner->m_pElements[m_iPos].iChild;
    while (iPos != 0) {
        if (wcscmp(m_pOwner->m_pstrXML + m_pOwner->m_pElements[iPos].iStart, pstrName) == 0)
            return CMarkupNode(m_pOwner, iPos);
        iPos = m_pOwner->m_pElements[iPos].iNext;
    }
    return CMarkupNode();
}

bool CMarkupNode::HasSiblings() const
{
    if (!m_pOwner)
        return false;
    return m_pOwner->m_pElements[m_iPos].iNext != 0;
}

bool CMarkupNode::HasChildren() const
{
    if (!m_pOwner)
        return false;
    return m_pOwner->m_pElements[m_iPos].iChild != 0;
}

LPCWSTR CMarkupNode::GetName() const
{
    if (!m_pOwner)
        return nullptr;
    return m_pOwner->m_pstrXML + m_pOwner->m_pElements[m_iPos].iStart;
}

int CMarkupNode::GetLine() const
{
    if (!m_pOwner)
        return 0;
    return m_pOwner->LineAt(m_pOwner->m_pElements[m_iPos].iStart);
}

LPCWSTR CMarkupNode::GetValue() const
{
    if (!m_pOwner)
        return nullptr;
    return m_pOwner->m_pstrXML + m_pOwner->m_pElements[m_iPos].iData;
}

bool CMarkupNode::HasAttributes() const
{
    if (!m_pOwner)
        return false;
    if (m_nAttributes == 0)
        MapAttributes();
    return m_nAttributes > 0;
}

int CMarkupNode::GetAttributeCount() const
{
    if (!m_pOwner)
        return 0;
    if (m_nAttributes == 0)
        MapAttributes();
    return m_nAttributes;
}

LPCWSTR CMarkupNode::GetAttributeName(int iIndex) const
{
    if (!m_pOwner)
        return nullptr;
    if (m_nAttributes == 0)
        MapAttributes();
    if (iIndex < 0 || iIndex >= m_nAttributes)
        return L"";
    return m_pOwner->m_pstrXML + m_aAttributes[iIndex].iName;
}

LPCWSTR CMarkupNode::GetAttributeValue(int iIndex) const
{
    if (!m_pOwner)
        return nullptr;
    if (m_nAttributes == 0)
        MapAttributes();
    if (iIndex < 0 || iIndex >= m_nAttributes)
        return L"";
    return m_pOwner->m_pstrXML + m_aAttributes[iIndex].iValue;
}

int CMarkupNode::FindAttribute(LPCWSTR pstrName) const
{
    if (!m_pOwner || !pstrName)
        return -1;
    if (m_nAttributes == 0)
        MapAttributes();
    for (int i = 0; i < m_nAttributes; ++i) {
        if (wcscmp(m_pOwner->m_pstrXML + m_aAttributes[i].iName, pstrName) == 0)
            return i;
    }
    return -1;
}

LPCWSTR CMarkupNode::GetAttributeValue(LPCWSTR pstrName) const
{
    if (!m_pOwner)
        return nullptr;
    const int i = FindAttribute(pstrName);
    if (i < 0)
        return L"";
    return m_pOwner->m_pstrXML + m_aAttributes[i].iValue;
}

bool CMarkupNode::GetAttributeValue(int iIndex, LPWSTR pstrValue, SIZE_T cchMax) const
{
    if (!m_pOwner)
        return false;
    if (m_nAttributes == 0)
        MapAttributes();
    if (iIndex < 0 || iIndex >= m_nAttributes)
        return false;
    CopyBounded(pstrValue, cchMax, m_pOwner->m_pstrXML + m_aAttributes[iIndex].iValue);
    return true;
}

bool CMarkupNode::GetAttributeValue(LPCWSTR pstrName, LPWSTR pstrValue, SIZE_T cchMax) const
{
    const int i = FindAttribute(pstrName);
    if (i < 0)
        return false;
    CopyBounded(pstrValue, cchMax, m_pOwner->m_pstrXML + m_aAttributes[i].iValue);
    return true;
}

bool CMarkupNode::HasAttribute(LPCWSTR pstrName) const
{
    return FindAttribute(pstrName) >= 0;
}

void CMarkupNode::MapAttributes() const
{
    m_nAttributes = 0;
    LPCWSTR doc = m_pOwner->m_pstrXML;
    const CMarkup::XMLELEMENT& element = m_pOwner->m_pElements[m_iPos];
    // Everything the parser terminated for this start tag lies before the
    // data start; no step may pass it.
    const LPCWSTR limit = doc + element.iData;
    LPCWSTR p = doc + element.iStart;
    auto stepPastString = [limit](LPCWSTR q) {
        while (q < limit && *q != L'\0')
            ++q;
        return q < limit ? q + 1 : limit;
    };
    auto skipBlanks = [limit](LPCWSTR q) {
        while (q < limit && IsBlank(*q))
            ++q;
        return q;
    };
    while (m_nAttributes < MAX_XML_ATTRIBUTES) {
        p = stepPastString(p);
        if (p >= limit)
            break;
        p = skipBlanks(p);
        if (p >= limit)
            break;
        const LPCWSTR name = p;
        p = stepPastString(p);
        if (p >= limit)
            break;
        p = skipBlanks(p);
        if (p >= limit || *p != L'"')
            break;
        ++p;
        m_aAttributes[m_nAttributes].iName = static_cast<ULONG>(name - doc);
        m_aAttributes[m_nAttributes].iValue = static_cast<ULONG>(p - doc);
        ++m_nAttributes;
    }
}

// -------------------------------------------------------------------- CMarkup

CMarkup::CMarkup(LPCWSTR pstrXML)
{
    if (pstrXML)
        Load(pstrXML);
}

CMarkup::~CMarkup()
{
    Release();
}

void CMarkup::Release()
{
    free(m_pstrXML);
    free(m_pElements);
    m_pstrXML = nullptr;
    m_pElements = nullptr;
    m_nElements = 0;
    m_iLineOffset = 0;
    m_nLine = 1;
}

void CMarkup::GetLastErrorMessage(LPWSTR pstrMessage, SIZE_T cchMax) const
{
    CopyBounded(pstrMessage, cchMax, m_szErrorMsg);
}

void CMarkup::GetLastErrorLocation(LPWSTR pstrSource, SIZE_T cchMax) const
{
    CopyBounded(pstrSource, cchMax, m_szErrorXML);
}

CMarkupNode CMarkup::GetRoot()
{
    if (m_nElements <= 1 || !m_pElements)
        return CMarkupNode();
    return CMarkupNode(this, 1);
}

bool CMarkup::Load(LPCWSTR pstrXML)
{
    Release();
    if (!pstrXML)
        pstrXML = L"";
    const size_t cchLen = wcslen(pstrXML) + 1;
    m_pstrXML = static_cast<LPWSTR>(malloc(cchLen * sizeof(wchar_t)));
    if (!m_pstrXML)
        return Failed(L"Out of memory");
    memcpy(m_pstrXML, pstrXML, cchLen * sizeof(wchar_t));
    const bool bRes = Parse();
    if (!bRes)
        Release();
    return bRes;
}

bool CMarkup::LoadFromMem(const BYTE* pByte, DWORD dwSize, int encoding)
{
    Release();
    m_szErrorMsg[0] = L'\0';
    m_szErrorXML[0] = L'\0';
    if (!pByte && dwSize > 0)
        return Failed(L"Could not read file");
    if (dwSize > static_cast<DWORD>(INT_MAX / 2))
        return Failed(L"File too large");

    if (encoding == XMLFILE_ENCODING_UTF8 || encoding == XMLFILE_ENCODING_ANSI) {
        const UINT codePage = encoding == XMLFILE_ENCODING_UTF8 ? CP_UTF8 : CP_ACP;
        if (encoding == XMLFILE_ENCODING_UTF8 && dwSize >= 3
            && pByte[0] == 0xEF && pByte[1] == 0xBB && pByte[2] == 0xBF) {
            pByte += 3;
            dwSize -= 3;
        }
        const LPCSTR source = reinterpret_cast<LPCSTR>(pByte);
        const int nWide = dwSize > 0
            ? MultiByteToWideChar(codePage, 0, source, static_cast<int>(dwSize), nullptr, 0)
            : 0;
        m_pstrXML = static_cast<LPWSTR>(malloc((static_cast<size_t>(nWide) + 1) * sizeof(wchar_t)));
        if (!m_pstrXML)
            return Failed(L"Out of memory");
        if (nWide > 0)
            MultiByteToWideChar(codePage, 0, source, static_cast<int>(dwSize), m_pstrXML, nWide);
        m_pstrXML[nWide] = L'\0';
    } else if (encoding == XMLFILE_ENCODING_UNICODE) {
        if (dwSize < 2)
            return Failed(L"Missing byte-order mark");
        const bool littleEndian = pByte[0] == 0xFF && pByte[1] == 0xFE;
        const bool bigEndian = pByte[0] == 0xFE && pByte[1] == 0xFF;
        if (!littleEndian && !bigEndian)
            return Failed(L"Missing byte-order mark");
        const size_t nChars = (static_cast<size_t>(dwSize & ~1u) - 2) / 2;
        m_pstrXML = static_cast<LPWSTR>(malloc((nChars + 1) * sizeof(wchar_t)));
        if (!m_pstrXML)
            return Failed(L"Out of memory");
        // Swapped while copying: the caller's bytes may be a read-only resource.
        const BYTE* text = pByte + 2;
        for (size_t i = 0; i < nChars; ++i) {
            const BYTE first = text[2 * i];
            const BYTE second = text[2 * i + 1];
            m_pstrXML[i] = littleEndian
                ? static_cast<wchar_t>(first | (second << 8))
                : static_cast<wchar_t>(second | (first << 8));
        }
        m_pstrXML[nChars] = L'\0';
    } else {
        return Failed(L"Unknown encoding");
    }

    const bool bRes = Parse();
    if (!bRes)
        Release();
    return bRes;
}

bool CMarkup::LoadFromFolder(LPCWSTR pstrPath, int encoding)
{
    HANDLE hFile = ::CreateFileW(pstrPath, GENERIC_READ, FILE_SHARE_READ, nullptr,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return Failed(L"Error opening file");
    struct FileCloser {
        HANDLE h;
        ~FileCloser() { ::CloseHandle(h); }
    } closer { hFile };

    LARGE_INTEGER size {};
    if (!::GetFileSizeEx(hFile, &size))
        return Failed(L"Could not read file");
    if (size.QuadPart == 0)
        return Failed(L"File is empty");
    if (size.QuadPart > MAX_FILE_SIZE)
        return Failed(L"File too large");

    const DWORD dwSize = static_cast<DWORD>(size.QuadPart);
    HeapBytes buffer;
    buffer.data = static_cast<BYTE*>(malloc(dwSize));
    if (!buffer.data)
        return Failed(L"Could not read file");
    DWORD dwRead = 0;
    if (!::ReadFile(hFile, buffer.data, dwSize, &dwRead, nullptr) || dwRead != dwSize)
        return Failed(L"Could not read file");
    return LoadFromMem(buffer.data, dwSize, encoding);
}

bool CMarkup::LoadFromArchive(LPCWSTR pstrPath, LPCWSTR pstrFilename, int encoding)
{
    HSKINARCHIVE archive = nullptr;
    bool ownArchive = false;
    if (CPaintManagerUI::IsCachedResourceZip()) {
        archive = CPaintManagerUI::GetResourceZipHandle();
    } else {
        archive = OpenSkinArchive(pstrPath, 0, ARCHIVE_FILE);
        ownArchive = true;
    }
    if (!archive)
        return Failed(L"Error opening zip file");
    // Only an archive opened here is closed here, on every path.
    struct ArchiveCloser {
        HSKINARCHIVE archive;
        bool own;
        ~ArchiveCloser()
        {
            if (own)
                CloseSkinArchive(archive);
        }
    } closer { archive, ownArchive };

    int index = -1;
    TArchiveEntry entry;
    if (FindArchiveEntry(archive, pstrFilename, true, &index, &entry) != ARCHIVE_OK || index < 0)
        return Failed(L"Could not find ziped file");
    const DWORD dwSize = entry.uncompressedSize;
    if (dwSize == 0)
        return Failed(L"File is empty");
    if (dwSize > MAX_FILE_SIZE)
        return Failed(L"File too large");
    HeapBytes buffer;
    buffer.data = static_cast<BYTE*>(malloc(dwSize));
    if (!buffer.data)
        return Failed(L"Could not unzip file");
    const DWORD result = ExtractArchiveEntry(archive, index, buffer.data, dwSize, ARCHIVE_MEMORY);
    if (result != ARCHIVE_OK && result != ARCHIVE_MORE_DATA)
        return Failed(L"Could not unzip file");
    return LoadFromMem(buffer.data, dwSize, encoding);
}

bool CMarkup::LoadFromFile(LPCWSTR pstrFilename, int encoding)
{
    Release();
    m_szErrorMsg[0] = L'\0';
    m_szErrorXML[0] = L'\0';
    if (!pstrFilename)
        return Failed(L"Error opening file");
    CStdString sFile = CPaintManagerUI::GetResourcePath();
    if (CPaintManagerUI::GetResourceZip().IsEmpty()) {
        sFile += pstrFilename;
        return LoadFromFolder(sFile.GetData(), encoding);
    }
    if (!CPaintManagerUI::IsCachedResourceZip())
        sFile += CPaintManagerUI::GetResourceZip();
    return LoadFromArchive(sFile.GetData(), pstrFilename, encoding);
}

bool CMarkup::Failed(LPCWSTR pstrError, LPCWSTR pstrLocation)
{
    CopyBounded(m_szErrorMsg, sizeof(m_szErrorMsg) / sizeof(m_szErrorMsg[0]), pstrError);
    CopyBounded(m_szErrorXML, sizeof(m_szErrorXML) / sizeof(m_szErrorXML[0]),
        pstrLocation ? pstrLocation : L"");
    m_nErrorLine = 0;
    if (pstrLocation != nullptr && m_pstrXML != nullptr && pstrLocation >= m_pstrXML)
        m_nErrorLine = LineAt(static_cast<ULONG>(pstrLocation - m_pstrXML));
    return false;
}

// Parsing writes terminators into the text but never removes a line break
// while whitespace is preserved (the default), so counting them still gives
// the line of the original document.
int CMarkup::LineAt(ULONG iOffset) const
{
    if (m_pstrXML == nullptr)
        return 0;
    if (iOffset < m_iLineOffset) {
        m_iLineOffset = 0;
        m_nLine = 1;
    }
    for (ULONG i = m_iLineOffset; i < iOffset; ++i) {
        if (m_pstrXML[i] == L'\n')
            ++m_nLine;
    }
    m_iLineOffset = iOffset;
    return m_nLine;
}

bool CMarkup::ReserveElement(ULONG& iPos)
{
    if (m_nElements == 0)
        m_nReservedElements = 0;
    if (m_nElements >= m_nReservedElements) {
        const ULONG reserve = m_nReservedElements + m_nReservedElements / 2 + 500;
        XMLELEMENT* grown = static_cast<XMLELEMENT*>(
            realloc(m_pElements, static_cast<size_t>(reserve) * sizeof(XMLELEMENT)));
        if (!grown)
            return false;
        m_pElements = grown;
        m_nReservedElements = reserve;
    }
    iPos = m_nElements++;
    m_pElements[iPos] = XMLELEMENT();
    return true;
}

bool CMarkup::Parse()
{
    ULONG iReserved = 0;
    if (!ReserveElement(iReserved))
        return Failed(L"Out of memory");
    m_szErrorMsg[0] = L'\0';
    m_szErrorXML[0] = L'\0';
    m_nErrorLine = 0;
    m_iLineOffset = 0;
    m_nLine = 1;
    LPWSTR pstrXML = m_pstrXML;
    return ParseElements(pstrXML);
}

bool CMarkup::ParseElements(LPWSTR& p)
{
    // The nesting is kept on an explicit stack rather than by recursion, so a
    // hostile document cannot run the thread out of stack.
    struct OpenElement {
        ULONG iPos;
        LPWSTR pstrNameEnd;
        LPWSTR pstrDest;
    };
    std::vector<OpenElement> open;
    ULONG iParent = 0;
    ULONG iPrevious = 0;

    // A document may end while its root (or one child of it) is still open.
    auto endDocument = [&]() {
        for (const OpenElement& element : open)
            *element.pstrNameEnd = L'\0';
        return true;
    };

    // Handles "</name>" for the innermost open element.
    auto closeElement = [&]() -> bool {
        const OpenElement element = open.back();
        open.pop_back();
        LPCWSTR pstrName = m_pstrXML + m_pElements[element.iPos].iStart;
        const size_t cchName = static_cast<size_t>(element.pstrNameEnd - pstrName);
        *element.pstrDest = L'\0';
        *p = L'\0';
        p += 2;
        SkipWhitespace(p);
        if (wcsncmp(p, pstrName, cchName) != 0)
            return Failed(L"Unmatched closing tag", p);
        p += cchName;
        SkipWhitespace(p);
        if (*p != L'>')
            return Failed(L"Unmatched closing tag", p);
        ++p;
        *element.pstrNameEnd = L'\0';
        iPrevious = element.iPos;
        iParent = m_pElements[element.iPos].iParent;
        return true;
    };

    for (;;) {
        SkipWhitespace(p);
        // Declarations and comments alone are no document.
        if (*p == L'\0' && m_nElements <= 1)
            return Failed(L"Expected start tag", p);
        if (*p == L'\0' && iParent <= 1)
            return endDocument();
        if (*p != L'<')
            return Failed(L"Expected start tag", p);
        if (p[1] == L'/') {
            if (open.empty())
                return m_nElements > 1 ? true : Failed(L"Expected start tag", p);
            if (!closeElement())
                return false;
            continue;
        }
        // Character data where an element belongs is refused like any text there.
        if (StartsWith(p, kCDataOpen))
            return Failed(L"Expected start tag", p);
        *p++ = L'\0';
        SkipWhitespace(p);
        if (*p == L'!' || *p == L'?') {
            SkipMarkupDeclaration(p);
            continue;
        }

        ULONG iPos = 0;
        if (!ReserveElement(iPos))
            return Failed(L"Out of memory", p);
        XMLELEMENT& element = m_pElements[iPos];
        element.iStart = static_cast<ULONG>(p - m_pstrXML);
        element.iParent = iParent;
        if (iPrevious != 0)
            m_pElements[iPrevious].iNext = iPos;
        else if (iParent != 0)
            m_pElements[iParent].iChild = iPos;
        iPrevious = iPos;

        SkipIdentifier(p);
        LPWSTR pstrNameEnd = p;
        if (*p == L'\0')
            return Failed(L"Error parsing element name", p);
        if (!ParseAttributes(p))
            return false;
        SkipWhitespace(p);
        if (p[0] == L'/' && p[1] == L'>') {
            m_pElements[iPos].iData = static_cast<ULONG>(p - m_pstrXML);
            *p = L'\0';
            p += 2;
            *pstrNameEnd = L'\0';
            continue;
        }
        if (*p != L'>')
            return Failed(L"Expected start-tag closing", p);
        m_pElements[iPos].iData = static_cast<ULONG>(++p - m_pstrXML);
        LPWSTR pstrDest = p;
        ParseData(p, pstrDest, L'<');
        if (*p == L'\0' && iParent <= 1) {
            *pstrDest = L'\0';
            *pstrNameEnd = L'\0';
            return endDocument();
        }
        if (*p != L'<')
            return Failed(L"Expected end-tag start", p);
        try {
            open.push_back(OpenElement { iPos, pstrNameEnd, pstrDest });
        } catch (...) {
            return Failed(L"Out of memory", p);
        }
        if (p[1] == L'/') {
            if (!closeElement())
                return false;
            continue;
        }
        // The children of this element form the next level.
        iParent = iPos;
        iPrevious = 0;
    }
}

bool CMarkup::ParseAttributes(LPWSTR& p)
{
    // A name followed directly by "/>" closes the element like " />".
    if (*p == L'>' || (p[0] == L'/' && p[1] == L'>'))
        return true;
    *p++ = L'\0';
    SkipWhitespace(p);
    while (*p != L'\0' && *p != L'>' && *p != L'/') {
        SkipIdentifier(p);
        LPWSTR pstrIdentifierEnd = p;
        SkipWhitespace(p);
        if (*p != L'=')
            return Failed(L"Error while parsing attributes", p);
        *p++ = L' ';
        *pstrIdentifierEnd = L'\0';
        SkipWhitespace(p);
        if (*p != L'"')
            return Failed(L"Expected attribute value", p);
        ++p;
        LPWSTR pstrDest = p;
        ParseData(p, pstrDest, L'"');
        if (*p == L'\0')
            return Failed(L"Error while parsing attribute string", p);
        *pstrDest = L'\0';
        if (p != pstrDest)
            *p = L' ';
        ++p;
        SkipWhitespace(p);
    }
    return true;
}

void CMarkup::ParseData(LPWSTR& p, LPWSTR& pstrDest, wchar_t cEnd)
{
    for (;;) {
        if (*p == L'<' && cEnd == L'<' && StartsWith(p, kCDataOpen)) {
            // Character data is taken as written; left unterminated it stays
            // in place for the element level to refuse.
            LPWSTR pstrEnd = wcsstr(p + kCDataOpenLength, L"]]>");
            if (!pstrEnd)
                break;
            for (p += kCDataOpenLength; p < pstrEnd;)
                *pstrDest++ = *p++;
            p += 3;
            continue;
        }
        if (*p == L'\0' || *p == cEnd)
            break;
        if (*p == L'&') {
            while (*p == L'&')
                ParseMetaChar(p, pstrDest);
            continue;
        }
        if (*p == L' ') {
            *pstrDest++ = *p++;
            if (!m_bPreserveWhitespace)
                SkipWhitespace(p);
            continue;
        }
        if (IsHighSurrogate(p[0]) && IsLowSurrogate(p[1]))
            *pstrDest++ = *p++;
        *pstrDest++ = *p++;
    }
    for (LPWSTR pstrFill = pstrDest; pstrFill < p; ++pstrFill)
        *pstrFill = L' ';
}

void CMarkup::ParseMetaChar(LPWSTR& p, LPWSTR& pstrDest)
{
    static const struct {
        LPCWSTR reference;
        size_t length;
        wchar_t ch;
    } entities[] = {
        { L"&amp;", 5, L'&' },
        { L"&lt;", 4, L'<' },
        { L"&gt;", 4, L'>' },
        { L"&quot;", 6, L'"' },
        { L"&apos;", 6, L'\'' },
    };
    for (const auto& entity : entities) {
        if (wcsncmp(p, entity.reference, entity.length) == 0) {
            *pstrDest++ = entity.ch;
            p += entity.length;
            return;
        }
    }
    *pstrDest++ = *p++;
}

}  // namespace Veneer
