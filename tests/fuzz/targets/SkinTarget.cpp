// Whole skins through the dialog builder: every control's attribute parsing,
// Include, deep nesting.
#include <memory>
#include <string>
#include <vector>

#include "engine/ControlUI.h"
#include "engine/PaintManagerUI.h"
#include "foundation/DialogBuilder.h"
#include "fuzz/FuzzTarget.h"

using namespace Veneer;

namespace {

std::string Run(const Fuzz::Bytes& input)
{
    static CPaintManagerUI manager;
    std::wstring text(input.begin(), input.end());
    // Markup text is what the builder takes directly; an Include may name a file, which stays unknown.
    if (text.empty() || text[0] != L'<')
        text.insert(text.begin(), L'<');
    text.shrink_to_fit();
    CDialogBuilder builder;
    std::unique_ptr<CControlUI> root(builder.Create(STRINGorID(text.c_str()), nullptr, nullptr, &manager, nullptr));
    return std::string();
}

std::vector<Fuzz::Bytes> Seeds()
{
    std::vector<Fuzz::Bytes> seeds;
    for (const wchar_t* name : { L"foundation/login.xml", L"foundation/play.xml", L"../gallery/skin/gallery.xml",
             L"../gallery/skin/child.xml" })
        seeds.push_back(Fuzz::ReadFile(Fuzz::FixturePath(name)));
    return seeds;
}

void Mutate(Fuzz::Bytes& input, std::mt19937& random)
{
    static const char* pieces[] = { "<VerticalLayout>", "<Container>", "<TreeView><TreeNode>", "<TreeNode>",
        "<List><ListHeader><ListHeaderItem/></ListHeader>", "<Include source=\"<Button/>\" count=\"3\"/>",
        "<Combo>", "<TabLayout selectedid=\"99\">", "<Button text=\"x\" pos=\"-1,-1,99999,99999\"/>" };
    const char* piece = pieces[random() % (sizeof pieces / sizeof pieces[0])];
    const size_t at = input.empty() ? 0 : random() % (input.size() + 1);
    const int times = random() % 3 == 0 ? 1 + static_cast<int>(random() % 3000) : 1;
    std::string text;
    for (int i = 0; i < times; ++i)
        text += piece;
    input.insert(input.begin() + static_cast<long>(at), text.begin(), text.end());
}

Fuzz::Registration registration({ "skin", Seeds, Run, Mutate });

}  // namespace
