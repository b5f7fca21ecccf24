#pragma once
// How a dialog builder tells a skin checker (or a test) what it skipped or
// defaulted while building a skin, with the file and line of each problem.
// With no report set the builder, the value parsers and the controls behave
// exactly as without this file.
#include <windows.h>

namespace Veneer {

enum class EBuilderProblem {
    UnreadableFile,     // a root or included file that is missing or does not parse
    UnknownElement,     // no stock class, plug-in or callback creates it: skipped with its children
    UnknownAttribute,   // no class of the control's chain takes it: ignored
    MalformedValue,     // a value its syntax cannot read in full: read as far as it goes
    MissingImage,       // an image that cannot be found or decoded: not drawn
    UndefinedFont,      // a font index the window never defined: the default font is used
    UnknownDefault,     // a Default list for an element name nothing creates: never applied
    CircularInclude,    // an Include of a file that is already being built
    WindowWithoutSize,  // a Window root without "size": the window keeps the size it was created with
    NotAContainer,      // children under a control that holds none: not attached
    TooDeep,            // elements nested past the builder's bound: skipped with their children
};

struct TBuilderProblem {
    EBuilderProblem kind { EBuilderProblem::UnreadableFile };
    LPCWSTR file { L"" };     // the skin file, "resource N" or "markup"
    int line { 0 };           // 1-based; 0 when not known
    LPCWSTR subject { L"" };  // the element, attribute, image or file concerned
    LPCWSTR message { L"" };  // what was wrong and what the framework did instead
};

class IDialogBuilderReport {
public:
    virtual void Report(const TBuilderProblem& problem) = 0;

protected:
    ~IDialogBuilderReport() = default;
};

// Installed by a builder that has a report while it applies the values of
// one element; the value parsers and the control base's attribute chain
// report through the innermost scope of the thread. Scopes nest.
class CBuilderReportScope {
public:
    CBuilderReportScope(IDialogBuilderReport* report, LPCWSTR file, int line);
    ~CBuilderReportScope();
    CBuilderReportScope(const CBuilderReportScope&) = delete;
    CBuilderReportScope& operator=(const CBuilderReportScope&) = delete;

    // The attribute whose value is being applied, named in messages.
    void SetAttribute(LPCWSTR name) { m_pstrAttribute = name; }
    int GetLine() const { return m_nLine; }
    void Report(EBuilderProblem kind, LPCWSTR subject, LPCWSTR message) const;

    // The innermost scope of this thread, or null.
    static CBuilderReportScope* Current();
    // Hooks for the control base and the value parsers: no-ops without a scope.
    static void ReportUnknownAttribute(LPCWSTR name);
    static void ReportMalformedValue(LPCWSTR syntax, LPCWSTR value, LPCWSTR outcome = L"read as far as it goes");

private:
    IDialogBuilderReport* m_pReport { nullptr };
    LPCWSTR m_pstrFile { L"" };
    int m_nLine { 0 };
    LPCWSTR m_pstrAttribute { nullptr };
    CBuilderReportScope* m_pPrevious { nullptr };
};

}  // namespace Veneer
