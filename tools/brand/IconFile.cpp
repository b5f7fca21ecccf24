#include "IconFile.h"

namespace Brand {

namespace {

WORD Get16(const BYTE* p)
{
    return static_cast<WORD>(p[0] | (p[1] << 8));
}

DWORD Get32(const BYTE* p)
{
    return static_cast<DWORD>(p[0]) | (static_cast<DWORD>(p[1]) << 8) | (static_cast<DWORD>(p[2]) << 16) |
           (static_cast<DWORD>(p[3]) << 24);
}

void Put16(std::vector<BYTE>& out, WORD value)
{
    out.push_back(static_cast<BYTE>(value));
    out.push_back(static_cast<BYTE>(value >> 8));
}

void Put32(std::vector<BYTE>& out, DWORD value)
{
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<BYTE>(value >> (8 * i)));
}

const size_t kHeader = 6;
const size_t kFileEntry = 16;
const size_t kGroupEntry = 14;

}  // namespace

bool ReadIconFile(const std::vector<BYTE>& file, std::vector<IconImage>& images, std::wstring& why)
{
    images.clear();
    if (file.size() < kHeader || Get16(&file[0]) != 0 || Get16(&file[2]) != 1) {
        why = L"not an icon file (no icon directory at its start)";
        return false;
    }
    const size_t count = Get16(&file[4]);
    if (count == 0 || kHeader + count * kFileEntry > file.size()) {
        why = L"the icon directory lists " + std::to_wstring(count) + L" images the file does not hold";
        return false;
    }
    for (size_t i = 0; i < count; ++i) {
        const BYTE* entry = &file[kHeader + i * kFileEntry];
        const DWORD size = Get32(entry + 8);
        const DWORD offset = Get32(entry + 12);
        if (size == 0 || offset > file.size() || size > file.size() - offset) {
            why = L"image " + std::to_wstring(i + 1) + L" lies outside the file";
            return false;
        }
        IconImage image;
        image.width = entry[0];
        image.height = entry[1];
        image.colors = entry[2];
        image.planes = Get16(entry + 4);
        image.bitCount = Get16(entry + 6);
        image.data.assign(file.begin() + offset, file.begin() + offset + size);
        HICON icon = ::CreateIconFromResourceEx(image.data.data(), size, TRUE, 0x00030000, 0, 0, LR_DEFAULTCOLOR);
        if (icon == nullptr) {
            why = L"image " + std::to_wstring(i + 1) + L" is not an icon image Windows can read";
            return false;
        }
        ::DestroyIcon(icon);
        images.push_back(image);
    }
    return true;
}

std::vector<BYTE> GroupResource(const std::vector<IconImage>& images, const std::vector<WORD>& ids)
{
    std::vector<BYTE> group;
    Put16(group, 0);
    Put16(group, 1);
    Put16(group, static_cast<WORD>(images.size()));
    for (size_t i = 0; i < images.size(); ++i) {
        const IconImage& image = images[i];
        group.push_back(image.width);
        group.push_back(image.height);
        group.push_back(image.colors);
        group.push_back(0);
        Put16(group, image.planes);
        Put16(group, image.bitCount);
        Put32(group, static_cast<DWORD>(image.data.size()));
        Put16(group, ids[i]);
    }
    return group;
}

std::vector<BYTE> IconFileFromGroup(const std::vector<BYTE>& group, const std::vector<std::vector<BYTE>>& images)
{
    std::vector<BYTE> file;
    if (group.size() < kHeader) return file;
    const size_t count = Get16(&group[4]);
    if (count != images.size() || kHeader + count * kGroupEntry > group.size()) return file;
    file.insert(file.end(), group.begin(), group.begin() + kHeader);
    DWORD offset = static_cast<DWORD>(kHeader + count * kFileEntry);
    for (size_t i = 0; i < count; ++i) {
        const BYTE* entry = &group[kHeader + i * kGroupEntry];
        file.insert(file.end(), entry, entry + 8);
        Put32(file, static_cast<DWORD>(images[i].size()));
        Put32(file, offset);
        offset += static_cast<DWORD>(images[i].size());
    }
    for (const std::vector<BYTE>& image : images) file.insert(file.end(), image.begin(), image.end());
    return file;
}

}  // namespace Brand
