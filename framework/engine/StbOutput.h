#pragma once
// Lets the image decoder write its output straight into a bitmap's pixels.
// While a CStbOutputScope is open on a thread, the decoder's first request
// there for exactly the bitmap's size gets the bitmap's memory instead of the
// heap, and freeing that memory is left to the bitmap; every other request
// goes to the heap as before.
#include <cstddef>

namespace Veneer {
namespace RenderInternal {

void* StbMalloc(size_t size);
void* StbRealloc(void* block, size_t size);
void StbFree(void* block);

class CStbOutputScope {
public:
    // bits null: nothing is offered, the decoder only uses the heap.
    CStbOutputScope(void* bits, size_t size);
    ~CStbOutputScope();
    CStbOutputScope(const CStbOutputScope&) = delete;
    CStbOutputScope& operator=(const CStbOutputScope&) = delete;

    void* bits { nullptr };
    size_t size { 0 };
    bool handedOut { false };

private:
    CStbOutputScope* m_previous { nullptr };
};

}  // namespace RenderInternal
}  // namespace Veneer
