// The image decoder through the render engine's loader: PNG, JPEG, BMP and
// GIF, damaged data, huge and zero dimensions.
#include <string>
#include <vector>

#include "engine/RenderEngine.h"
#include "engine/RenderEngineInternal.h"
#include "fuzz/FuzzTarget.h"

using namespace Veneer;

namespace {

std::string Run(const Fuzz::Bytes& input)
{
    TImageInfo* image = RenderInternal::DecodeImage(input.data(), input.size(), 0xFFFF00FFu);
    if (!image)
        return std::string();
    const bool sane = image->hBitmap && image->nX > 0 && image->nY > 0;
    CRenderEngine::FreeImage(image);
    return sane ? std::string() : "a decoded image without bitmap or size";
}

std::vector<Fuzz::Bytes> Seeds()
{
    std::vector<Fuzz::Bytes> seeds = Fuzz::ReadFolder(Fuzz::SeedPath(L"image"));
    for (const wchar_t* name : { L"render/alpha.png", L"render/grid.png", L"render/magenta.png" })
        seeds.push_back(Fuzz::ReadFile(Fuzz::FixturePath(name)));
    return seeds;
}

// Width and height fields of each format set to extremes.
void Mutate(Fuzz::Bytes& input, std::mt19937& random)
{
    std::vector<size_t> fields;
    if (input.size() > 24 && input[1] == 'P' && input[2] == 'N' && input[3] == 'G') {
        fields = { 16, 18, 20, 22 };
    } else if (input.size() > 26 && input[0] == 'B' && input[1] == 'M') {
        fields = { 18, 20, 22, 24, 28, 30 };
    } else if (input.size() > 10 && input[0] == 'G' && input[1] == 'I' && input[2] == 'F') {
        fields = { 6, 8 };
    } else {
        for (size_t i = 0; i + 9 < input.size(); ++i)
            if (input[i] == 0xFF && (input[i + 1] == 0xC0 || input[i + 1] == 0xC2))
                fields = { i + 5, i + 7 };
    }
    if (fields.empty())
        return;
    const size_t at = fields[random() % fields.size()];
    Fuzz::PutExtreme(input, at, 2, random);
}

Fuzz::Registration registration({ "image", Seeds, Run, Mutate });

}  // namespace
