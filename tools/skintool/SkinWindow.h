#pragma once
// One skin file built the way a frame builds it (a paint manager on a real,
// never shown window), with every problem the builder meets collected.
#include <windows.h>

#include <string>
#include <vector>

#include "engine/PaintManagerUI.h"
#include "foundation/BuilderReport.h"

namespace Veneer {
class CControlUI;
}

namespace SkinTool {

// Points the framework's resource settings at a skin folder or zip archive
// and checks that `root` can be read from it. False with the reason when
// the skin cannot be read at all.
bool OpenSkin(const std::wstring& skin, const std::wstring& root, std::wstring& why);

struct Problem {
    Veneer::EBuilderProblem kind;
    std::wstring file;
    int line;
    std::wstring text;  // the message, with a hint where one helps
    // Told but not counted: a frame may size its window itself (the
    // client's login frame does, from its configuration).
    bool IsNote() const { return kind == Veneer::EBuilderProblem::WindowWithoutSize; }
};

class ProblemList : public Veneer::IDialogBuilderReport {
public:
    void Report(const Veneer::TBuilderProblem& problem) override;
    const std::vector<Problem>& Problems() const { return m_problems; }
    // "file:line: message" lines ("file:line: note: message" for notes).
    std::wstring Text() const;
    size_t Count() const;  // notes not counted

private:
    std::vector<Problem> m_problems;
};

class SkinWindow {
public:
    SkinWindow();
    ~SkinWindow();
    SkinWindow(const SkinWindow&) = delete;
    SkinWindow& operator=(const SkinWindow&) = delete;

    // Builds `root` (already readable, see OpenSkin) and attaches the tree.
    bool Build(const std::wstring& root);
    const ProblemList& Problems() const { return m_problems; }
    Veneer::CPaintManagerUI& Manager() { return m_manager; }
    Veneer::CControlUI* Root() const { return m_root; }
    HWND Window() const { return m_hWnd; }

private:
    HWND m_hWnd { nullptr };
    Veneer::CPaintManagerUI m_manager;
    Veneer::CControlUI* m_root { nullptr };
    ProblemList m_problems;
};

}  // namespace SkinTool
