// The one translation unit that compiles the stb_image decoder. Only decoding
// from memory is used; the file-reading entry points are left out.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
// Skins use these formats alone; every other decoder is attack surface
// (the HDR and 16-bit PNM paths mishandle hostile and even valid files).
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_ONLY_GIF
#define STBI_FAILURE_USERMSG
#define STBI_MALLOC(size) Veneer::RenderInternal::StbMalloc(size)
#define STBI_REALLOC(block, size) Veneer::RenderInternal::StbRealloc(block, size)
#define STBI_FREE(block) Veneer::RenderInternal::StbFree(block)
#include <cstdlib>
#include <cstring>

#include "engine/StbOutput.h"
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-but-set-variable"
#endif
#include "stb_image.h"
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace Veneer {
namespace RenderInternal {

namespace {
thread_local CStbOutputScope* t_output = nullptr;
}  // namespace

CStbOutputScope::CStbOutputScope(void* offered, size_t bytes) : bits(offered), size(bytes), m_previous(t_output)
{
    t_output = this;
}

CStbOutputScope::~CStbOutputScope() { t_output = m_previous; }

void* StbMalloc(size_t size)
{
    CStbOutputScope* output = t_output;
    if (output != nullptr && output->bits != nullptr && !output->handedOut && size == output->size) {
        output->handedOut = true;
        return output->bits;
    }
    return std::malloc(size);
}

void* StbRealloc(void* block, size_t size)
{
    CStbOutputScope* output = t_output;
    if (output == nullptr || block == nullptr || block != output->bits) return std::realloc(block, size);
    // The bitmap's memory cannot grow: the block moves to the heap.
    void* moved = std::malloc(size);
    if (moved != nullptr) std::memcpy(moved, block, size < output->size ? size : output->size);
    return moved;
}

void StbFree(void* block)
{
    CStbOutputScope* output = t_output;
    if (output != nullptr && block != nullptr && block == output->bits) return;
    std::free(block);
}

}  // namespace RenderInternal
}  // namespace Veneer
