#include "foundation/BuilderReport.h"

#include "foundation/StdString.h"

namespace Veneer {

namespace {

// One user-interface thread builds at a time, but a test may build on
// another: each thread has its own innermost scope.
thread_local CBuilderReportScope* t_pCurrent = nullptr;

}  // namespace

CBuilderReportScope::CBuilderReportScope(IDialogBuilderReport* report, LPCWSTR file, int line)
    : m_pReport(report)
    , m_pstrFile(file != nullptr ? file : L"")
    , m_nLine(line)
    , m_pPrevious(t_pCurrent)
{
    t_pCurrent = this;
}

CBuilderReportScope::~CBuilderReportScope()
{
    t_pCurrent = m_pPrevious;
}

CBuilderReportScope* CBuilderReportScope::Current()
{
    return t_pCurrent;
}

void CBuilderReportScope::Report(EBuilderProblem kind, LPCWSTR subject, LPCWSTR message) const
{
    if (m_pReport == nullptr) return;
    TBuilderProblem problem;
    problem.kind = kind;
    problem.file = m_pstrFile;
    problem.line = m_nLine;
    problem.subject = subject != nullptr ? subject : L"";
    problem.message = message != nullptr ? message : L"";
    m_pReport->Report(problem);
}

void CBuilderReportScope::ReportUnknownAttribute(LPCWSTR name)
{
    const CBuilderReportScope* scope = Current();
    if (scope == nullptr || name == nullptr) return;
    CStdString message = L"unknown attribute '";
    message += name;
    message += L"': ignored";
    scope->Report(EBuilderProblem::UnknownAttribute, name, message.GetData());
}

void CBuilderReportScope::ReportMalformedValue(LPCWSTR syntax, LPCWSTR value, LPCWSTR outcome)
{
    const CBuilderReportScope* scope = Current();
    if (scope == nullptr) return;
    CStdString message;
    if (scope->m_pstrAttribute != nullptr) {
        message += L"attribute '";
        message += scope->m_pstrAttribute;
        message += L"': ";
    }
    message += L"'";
    message += value != nullptr ? value : L"";
    message += L"' is not ";
    message += syntax;
    message += L": ";
    message += outcome;
    scope->Report(EBuilderProblem::MalformedValue, scope->m_pstrAttribute, message.GetData());
}

}  // namespace Veneer
