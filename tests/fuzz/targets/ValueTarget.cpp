// The value syntaxes of skin attributes: numbers, colours, rectangles, sizes,
// bounded copies, and image strings with their modifiers.
#include <string>
#include <vector>

#include "engine/RenderEngineInternal.h"
#include "foundation/ValueSyntax.h"
#include "fuzz/FuzzTarget.h"

using namespace Veneer;

namespace {

std::string Run(const Fuzz::Bytes& input)
{
    // Bytes widened one to one; a byte 0x01 separates the image string from its modifier.
    std::wstring text(input.begin(), input.end());
    std::wstring modify;
    const size_t split = text.find(L'\x01');
    if (split != std::wstring::npos) {
        modify = text.substr(split + 1);
        text.resize(split);
    }
    text.shrink_to_fit();
    modify.shrink_to_fit();
    LPCWSTR value = text.c_str();

    LPCWSTR end = nullptr;
    ValueSyntax::ParseInt(value, &end);
    if (end < value || end > value + text.size())
        return "the number's end lies outside the text";
    ValueSyntax::ParseBool(value);
    ValueSyntax::ParseColor(value, true);
    ValueSyntax::ParseColor(value, false);
    long numbers[4] = {};
    if (ValueSyntax::ParseNumberList(value, numbers, 4) > 4)
        return "more numbers read than asked for";
    ValueSyntax::ParseRect(value);
    ValueSyntax::ParseSize(value);
    for (size_t capacity : { size_t(1), size_t(3), text.size(), text.size() + 1 }) {
        std::vector<wchar_t> copy(capacity ? capacity : 1);
        const int stored = CopyBounded(copy.data(), capacity, value);
        if (capacity && (stored < 0 || static_cast<size_t>(stored) >= capacity || copy[stored] != 0))
            return "a bounded copy that is not terminated inside its buffer";
    }

    const RECT item { 10, 20, 210, 120 };
    int images = 0;
    std::string broken;
    RenderInternal::WalkImageString(value, split == std::wstring::npos ? nullptr : modify.c_str(), item,
        [&](RenderInternal::TImageStringState& state) {
            ++images;
            if (state.rcDest.right > item.right || state.rcDest.bottom > item.bottom)
                broken = "a destination beyond the item rectangle";
        });
    return broken;
}

std::vector<Fuzz::Bytes> Seeds()
{
    const char* texts[] = {
        "file='img/a.png' dest='1,2,300,400' source='0,0,10,10' corner='2,2,2,2' mask='#FFFF00FF' fade='128' "
        "hole='true' xtiled='true' ytiled='false'",
        "res='201' restype='PNG' file='b.png' dest='-5,-5,5,5'\x01" "dest='0,0,8,8' source='1,1,4,4'",
        "#FF00FF00", "0xFFFFFFFF", "1,2,3,4", "-2147483648,2147483647,99999999999,-0", "  42", "true",
        "bare file name.png",
    };
    std::vector<Fuzz::Bytes> seeds;
    for (const char* text : texts)
        seeds.emplace_back(text, text + strlen(text));
    return seeds;
}

Fuzz::Registration registration({ "value", Seeds, Run, nullptr });

}  // namespace
