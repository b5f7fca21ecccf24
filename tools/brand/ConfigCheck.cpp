#include "ConfigCheck.h"

#include <cwchar>

#include "MicroClientConfig.h"
#include "foundation/BuilderReport.h"
#include "foundation/Markup.h"

using namespace Veneer;

namespace Brand {

namespace {

const wchar_t* const kKeys[] = { L"loginWebRect", L"closeRect", L"miniRect", L"loginFrameSize",
                                 L"loginURL", L"playGamekeyWord", L"clientName" };

class Collector : public IDialogBuilderReport {
public:
    explicit Collector(std::vector<std::wstring>& lines) : m_lines(lines) {}
    void Report(const TBuilderProblem& problem) override
    {
        m_lines.push_back(std::wstring(problem.file) + L":" + std::to_wstring(problem.line) + L": " + problem.message);
    }

private:
    std::vector<std::wstring>& m_lines;
};

bool IsKey(LPCWSTR name)
{
    for (const wchar_t* key : kKeys) {
        if (std::wcscmp(key, name) == 0) return true;
    }
    return false;
}

}  // namespace

std::vector<std::wstring> CheckConfig(const std::vector<BYTE>& document, const std::wstring& name)
{
    std::vector<std::wstring> lines;
    CMarkup markup;
    if (document.empty() || !markup.LoadFromMem(document.data(), static_cast<DWORD>(document.size()), 0)) {
        wchar_t message[100] = {};
        markup.GetLastErrorMessage(message, 100);
        lines.push_back(name + L":" + std::to_wstring(markup.GetLastErrorLine()) + L": does not parse: " +
                        (message[0] != L'\0' ? message : L"empty document"));
        return lines;
    }
    Collector collector(lines);
    CMicroClientConfig config;
    // The walk of start-up, key by key, with the value parsers reporting.
    for (CMarkupNode node = markup.GetRoot().GetChild(); node.IsValid(); node = node.GetSibling()) {
        CBuilderReportScope scope(&collector, name.c_str(), node.GetLine());
        if (!IsKey(node.GetName())) {
            scope.Report(EBuilderProblem::UnknownElement, node.GetName(),
                (std::wstring(L"unknown key '") + node.GetName() + L"': the client ignores it").c_str());
            continue;
        }
        if (std::wcscmp(node.GetAttributeName(0), L"value") != 0) {
            scope.Report(EBuilderProblem::UnknownAttribute, node.GetName(),
                (std::wstring(L"key '") + node.GetName() + L"' does not have 'value' as its first attribute: "
                 L"the client ignores it").c_str());
            continue;
        }
        scope.SetAttribute(node.GetName());
        ApplyConfigKey(config, node.GetName(), node.GetAttributeValue(0));
    }
    if (config.loginFrameSize.cx <= 0 || config.loginFrameSize.cy <= 0)
        lines.push_back(name + L":0: no positive loginFrameSize: the login frame would have no size");
    if (config.clientName.IsEmpty())
        lines.push_back(name + L":0: no clientName: the client needs it for its single-instance check and tray tip");
    return lines;
}

}  // namespace Brand
