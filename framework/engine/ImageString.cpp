// The image string: key='value' pairs separated by single spaces, naming
// what a control draws and how.
#include <cwchar>

#include "engine/ImageStringImages.h"
#include "engine/RenderEngineInternal.h"
#include "foundation/ValueSyntax.h"

namespace Veneer {
namespace RenderInternal {

namespace {

bool IsBlank(wchar_t ch)
{
    return ch > 0 && ch <= 32;
}

void SkipBlanks(LPCWSTR& p)
{
    while (IsBlank(*p)) ++p;
}

struct TPassState {
    TImageStringState& state;
    const RECT& rcItem;
    const PendingImageSink& drawPending;
    int imageCount { 0 };
};

void ApplyKey(TPassState& pass, const CStdString& key, const CStdString& value)
{
    TImageStringState& state = pass.state;
    if (key == L"file" || key == L"res") {
        if (pass.imageCount > 0) pass.drawPending(state);
        state.sName = value;
        if (key == L"file") ++pass.imageCount;
    } else if (key == L"restype") {
        if (pass.imageCount > 0) pass.drawPending(state);
        state.sType = value;
        ++pass.imageCount;
    } else if (key == L"dest") {
        const RECT offsets = ValueSyntax::ParseRect(value.GetData());
        const RECT& item = pass.rcItem;
        state.rcDest.left = item.left + offsets.left;
        state.rcDest.top = item.top + offsets.top;
        state.rcDest.right = item.left + offsets.right;
        state.rcDest.bottom = item.top + offsets.bottom;
        if (state.rcDest.right > item.right) state.rcDest.right = item.right;
        if (state.rcDest.bottom > item.bottom) state.rcDest.bottom = item.bottom;
    } else if (key == L"source") {
        state.rcSource = ValueSyntax::ParseRect(value.GetData());
    } else if (key == L"corner") {
        state.rcCorner = ValueSyntax::ParseRect(value.GetData());
    } else if (key == L"mask") {
        state.dwMask = ValueSyntax::ParseColor(value.GetData(), false);
    } else if (key == L"fade") {
        state.uFade = static_cast<BYTE>(std::wcstoul(value.GetData(), nullptr, 10));
    } else if (key == L"hole") {
        state.bHole = ValueSyntax::ParseBool(value.GetData());
    } else if (key == L"xtiled") {
        state.bTiledX = ValueSyntax::ParseBool(value.GetData());
    } else if (key == L"ytiled") {
        state.bTiledY = ValueSyntax::ParseBool(value.GetData());
    }
}

// False when the text stops before its end: a pair without "=", quotes or
// the single blank that separates pairs.
bool RunPass(TPassState& pass, LPCWSTR text)
{
    LPCWSTR p = text;
    while (*p != L'\0') {
        SkipBlanks(p);
        CStdString key;
        while (*p != L'\0' && *p != L'=' && static_cast<unsigned>(*p) > 32) key += *p++;
        SkipBlanks(p);
        if (*p != L'=') return *p == L'\0' && key.IsEmpty();
        ++p;
        SkipBlanks(p);
        if (*p != L'\'') return false;
        ++p;
        CStdString value;
        while (*p != L'\0' && *p != L'\'') value += *p++;
        if (*p != L'\'') return false;
        ++p;
        if (!value.IsEmpty()) ApplyKey(pass, key, value);
        if (*p == L'\0') return true;
        if (*p != L' ') return false;
        ++p;
    }
    return true;
}

}  // namespace

void WalkImageString(LPCWSTR image, LPCWSTR modify, const RECT& rcItem, const PendingImageSink& drawPending)
{
    TImageStringState state;
    state.sName = image != nullptr ? image : L"";
    state.rcDest = rcItem;

    TPassState first { state, rcItem, drawPending };
    RunPass(first, image != nullptr ? image : L"");
    if (modify != nullptr) {
        TPassState second { state, rcItem, drawPending };
        RunPass(second, modify);
    }
    drawPending(state);
}

}  // namespace RenderInternal

bool ListImageStringImages(LPCWSTR image, ImageStringVisitor visit, void* context)
{
    if (image == nullptr || *image == L'\0') return true;
    // A bare file name has no pairs at all.
    const bool bare = std::wcschr(image, L'=') == nullptr;
    RenderInternal::TImageStringState state;
    state.sName = image;
    const RECT none = { 0, 0, 0, 0 };
    const RenderInternal::PendingImageSink sink = [&](RenderInternal::TImageStringState& pending) {
        if (visit == nullptr || pending.sName.IsEmpty()) return;
        visit(context, pending.sName.GetData(), pending.sType.IsEmpty() ? nullptr : pending.sType.GetData(),
              pending.dwMask);
    };
    RenderInternal::TPassState pass { state, none, sink };
    const bool whole = RenderInternal::RunPass(pass, image);
    sink(state);
    return bare || whole;
}

}  // namespace Veneer
