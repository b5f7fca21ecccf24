#pragma once
#include "foundation/VeneerApi.h"
// In-place reader for the XML subset skins and the client configuration use.
#include <windows.h>

namespace Veneer {

// Encoding argument of CMarkup::LoadFromMem and LoadFromFile.
enum {
    XMLFILE_ENCODING_UTF8 = 0,     // with or without EF BB BF
    XMLFILE_ENCODING_UNICODE = 1,  // UTF-16 with a byte-order mark
    XMLFILE_ENCODING_ANSI = 2,     // the process's ANSI code page
};

class CMarkup;

// A cursor onto one element of a parsed document. Copied by value; valid as
// long as its CMarkup is alive and has not released or reloaded.
class VENEER_API CMarkupNode {
    friend class CMarkup;

public:
    CMarkupNode() = default;

    bool IsValid() const { return m_pOwner != nullptr; }

    CMarkupNode GetParent() const;
    CMarkupNode GetSibling() const;
    CMarkupNode GetChild() const;
    CMarkupNode GetChild(LPCWSTR pstrName) const;

    bool HasSiblings() const;
    bool HasChildren() const;
    LPCWSTR GetName() const;
    LPCWSTR GetValue() const;

    bool HasAttributes() const;
    bool HasAttribute(LPCWSTR pstrName) const;
    int GetAttributeCount() const;
    LPCWSTR GetAttributeName(int iIndex) const;
    LPCWSTR GetAttributeValue(int iIndex) const;
    LPCWSTR GetAttributeValue(LPCWSTR pstrName) const;
    bool GetAttributeValue(int iIndex, LPWSTR pstrValue, SIZE_T cchMax) const;
    bool GetAttributeValue(LPCWSTR pstrName, LPWSTR pstrValue, SIZE_T cchMax) const;

    // The 1-based line of the document where the element starts, for
    // messages about a skin; 0 for an invalid node. Counted on request.
    int GetLine() const;

private:
    CMarkupNode(CMarkup* pOwner, ULONG iPos);
    void MapAttributes() const;
    int FindAttribute(LPCWSTR pstrName) const;

    enum { MAX_XML_ATTRIBUTES = 64 };
    struct XMLATTRIBUTE {
        ULONG iName { 0 };
        ULONG iValue { 0 };
    };

    ULONG m_iPos { 0 };
    // Mapped lazily on the first attribute access.
    mutable int m_nAttributes { 0 };
    mutable XMLATTRIBUTE m_aAttributes[MAX_XML_ATTRIBUTES] {};
    CMarkup* m_pOwner { nullptr };
};

// Owns one document buffer and parses it in place: names, values and texts
// handed out point into that buffer. Input bytes are always copied first.
class VENEER_API CMarkup {
    friend class CMarkupNode;

public:
    explicit CMarkup(LPCWSTR pstrXML = nullptr);
    ~CMarkup();
    CMarkup(const CMarkup&) = delete;
    CMarkup& operator=(const CMarkup&) = delete;

    bool Load(LPCWSTR pstrXML);
    // Copies (and converts) the bytes; the caller's memory is never written.
    bool LoadFromMem(const BYTE* pByte, DWORD dwSize, int encoding = XMLFILE_ENCODING_UTF8);
    // Reads the file from the paint manager's resource folder or skin archive.
    bool LoadFromFile(LPCWSTR pstrFilename, int encoding = XMLFILE_ENCODING_UTF8);
    void Release();
    bool IsValid() const { return m_pElements != nullptr; }

    void SetPreserveWhitespace(bool bPreserve = true) { m_bPreserveWhitespace = bPreserve; }
    void GetLastErrorMessage(LPWSTR pstrMessage, SIZE_T cchMax) const;
    void GetLastErrorLocation(LPWSTR pstrSource, SIZE_T cchMax) const;
    // The 1-based line where the last parse failed; 0 for failures that
    // have no place in the text (files that cannot be read).
    int GetLastErrorLine() const { return m_nErrorLine; }

    CMarkupNode GetRoot();

    // Largest file or archive entry LoadFromFile accepts, in bytes.
    enum { MAX_FILE_SIZE = 4194304 };

private:
    struct XMLELEMENT {
        ULONG iStart { 0 };
        ULONG iChild { 0 };
        ULONG iNext { 0 };
        ULONG iParent { 0 };
        ULONG iData { 0 };
    };

    bool Parse();
    bool ParseElements(LPWSTR& pstrText);
    bool ParseAttributes(LPWSTR& pstrText);
    void ParseData(LPWSTR& pstrText, LPWSTR& pstrDest, wchar_t cEnd);
    void ParseMetaChar(LPWSTR& pstrText, LPWSTR& pstrDest);
    bool ReserveElement(ULONG& iPos);
    bool Failed(LPCWSTR pstrError, LPCWSTR pstrLocation = nullptr);
    int LineAt(ULONG iOffset) const;
    bool LoadFromFolder(LPCWSTR pstrPath, int encoding);
    bool LoadFromArchive(LPCWSTR pstrPath, LPCWSTR pstrFilename, int encoding);

    LPWSTR m_pstrXML { nullptr };
    XMLELEMENT* m_pElements { nullptr };
    ULONG m_nElements { 0 };
    ULONG m_nReservedElements { 0 };
    wchar_t m_szErrorMsg[100] {};
    wchar_t m_szErrorXML[50] {};
    bool m_bPreserveWhitespace { true };
    int m_nErrorLine { 0 };
    // The last line asked for: elements are mostly asked for in document
    // order, so counting resumes from there.
    mutable ULONG m_iLineOffset { 0 };
    mutable int m_nLine { 1 };
};

}  // namespace Veneer
