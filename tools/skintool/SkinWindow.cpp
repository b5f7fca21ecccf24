#include "SkinWindow.h"

#include <algorithm>

#include "NameHints.h"
#include "engine/ControlUI.h"
#include "foundation/DialogBuilder.h"
#include "foundation/Markup.h"

using namespace Veneer;

namespace SkinTool {

namespace {

const wchar_t kWindowClass[] = L"VeneerSkinTool";

bool IsFolder(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

bool OpenSkin(const std::wstring& skin, const std::wstring& root, std::wstring& why)
{
    std::wstring path = skin;
    while (path.size() > 1 && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
    if (IsFolder(path)) {
        CPaintManagerUI::SetResourceZip(L"", false);
        CPaintManagerUI::SetResourcePath((path + L"\\").c_str());
    } else {
        const DWORD attributes = ::GetFileAttributesW(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            why = L"no such folder or archive: " + skin;
            return false;
        }
        const size_t slash = path.find_last_of(L"\\/");
        const std::wstring folder = slash == std::wstring::npos ? L".\\" : path.substr(0, slash + 1);
        const std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
        CPaintManagerUI::SetResourcePath(folder.c_str());
        // Cached: opened once here, so that an archive that is no zip is told apart.
        CPaintManagerUI::SetResourceZip(name.c_str(), true);
        if (CPaintManagerUI::GetResourceZipHandle() == nullptr) {
            why = L"not a zip archive that can be read: " + skin;
            return false;
        }
    }
    CMarkup probe;
    if (!probe.LoadFromFile(root.c_str()) && probe.GetLastErrorLine() == 0) {
        wchar_t message[100] = {};
        probe.GetLastErrorMessage(message, 100);
        why = root + L": " + message;
        return false;
    }
    return true;
}

void ProblemList::Report(const TBuilderProblem& problem)
{
    std::wstring text = problem.message;
    if (problem.kind == EBuilderProblem::UnknownElement || problem.kind == EBuilderProblem::UnknownDefault) {
        const std::wstring hint = NearestElement(problem.subject);
        if (!hint.empty()) text += L" (did you mean '" + hint + L"'?)";
    } else if (problem.kind == EBuilderProblem::UnknownAttribute) {
        const std::wstring hint = NearestAttribute(problem.subject);
        if (!hint.empty()) text += L" (did you mean '" + hint + L"'?)";
    }
    m_problems.push_back(Problem { problem.kind, problem.file, problem.line, text });
}

std::wstring ProblemList::Text() const
{
    // Sorted by file (in the order they were first met) and line; problems
    // of one line keep the order they were found in.
    std::vector<std::wstring> files;
    for (const Problem& p : m_problems) {
        if (std::find(files.begin(), files.end(), p.file) == files.end()) files.push_back(p.file);
    }
    std::vector<Problem> sorted = m_problems;
    auto fileRank = [&](const std::wstring& file) { return std::find(files.begin(), files.end(), file) - files.begin(); };
    std::stable_sort(sorted.begin(), sorted.end(), [&](const Problem& a, const Problem& b) {
        const auto ra = fileRank(a.file);
        const auto rb = fileRank(b.file);
        return ra != rb ? ra < rb : a.line < b.line;
    });
    std::wstring text;
    for (const Problem& p : sorted)
        text += p.file + L":" + std::to_wstring(p.line) + (p.IsNote() ? L": note: " : L": ") + p.text + L"\n";
    return text;
}

size_t ProblemList::Count() const
{
    size_t count = 0;
    for (const Problem& p : m_problems) count += p.IsNote() ? 0 : 1;
    return count;
}

SkinWindow::SkinWindow()
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kWindowClass;
    ::RegisterClassW(&wc);
    m_hWnd = ::CreateWindowExW(0, kWindowClass, L"skintool", WS_POPUP, 0, 0, 16, 16, nullptr, nullptr,
                               ::GetModuleHandleW(nullptr), nullptr);
    if (m_hWnd != nullptr) m_manager.Init(m_hWnd);
}

SkinWindow::~SkinWindow()
{
    // The manager deletes the attached tree; a tree that was never attached is ours.
    if (m_root != nullptr && m_manager.GetRoot() != m_root) delete m_root;
    if (m_hWnd != nullptr) ::DestroyWindow(m_hWnd);
}

bool SkinWindow::Build(const std::wstring& root)
{
    if (m_hWnd == nullptr) return false;
    CDialogBuilder builder;
    builder.SetReport(&m_problems);
    m_root = builder.Create(root.c_str(), nullptr, nullptr, &m_manager);
    if (m_root == nullptr) return false;
    return m_manager.AttachDialog(m_root);
}

}  // namespace SkinTool
