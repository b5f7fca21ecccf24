// Image bytes from a skin archive entry.
#include "engine/RenderEngineInternal.h"

#include "foundation/SkinArchive.h"

namespace Veneer {
namespace RenderInternal {

bool ReadImageFromArchive(TSkinArchiveHandle* archive, LPCWSTR name, std::vector<BYTE>& data)
{
    data.clear();
    if (archive == nullptr || name == nullptr) return false;
    int index = -1;
    TArchiveEntry entry;
    if (FindArchiveEntry(archive, name, true, &index, &entry) != ARCHIVE_OK) return false;
    // The declared size is checked before anything is allocated.
    if (entry.uncompressedSize == 0 || entry.uncompressedSize > kMaxImageBytes) return false;
    data.resize(entry.uncompressedSize);
    const DWORD result = ExtractArchiveEntry(archive, index, data.data(), entry.uncompressedSize, ARCHIVE_MEMORY);
    if (result != ARCHIVE_OK && result != ARCHIVE_MORE_DATA) {
        data.clear();
        return false;
    }
    return true;
}

bool ReadImageFromArchiveFile(LPCWSTR archivePath, LPCWSTR name, std::vector<BYTE>& data)
{
    data.clear();
    TSkinArchiveHandle* archive = OpenSkinArchive(archivePath, 0, ARCHIVE_FILE);
    if (archive == nullptr) return false;
    const bool read = ReadImageFromArchive(archive, name, data);
    CloseSkinArchive(archive);
    return read;
}

}  // namespace RenderInternal
}  // namespace Veneer
