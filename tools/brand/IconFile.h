#pragma once
// An .ico file read as the resource compiler would store it: the images
// become RT_ICON resources and their directory an RT_GROUP_ICON resource.
#include <windows.h>

#include <string>
#include <vector>

namespace Brand {

struct IconImage {
    BYTE width { 0 };
    BYTE height { 0 };
    BYTE colors { 0 };
    WORD planes { 0 };
    WORD bitCount { 0 };
    std::vector<BYTE> data;  // the image as an RT_ICON resource holds it
};

// Reads and checks an .ico file: its directory, that every image lies inside
// the file, and that Windows can make an icon of each image. False with
// the reason otherwise.
bool ReadIconFile(const std::vector<BYTE>& file, std::vector<IconImage>& images, std::wstring& why);

// The RT_GROUP_ICON resource naming the images by the given RT_ICON ids.
std::vector<BYTE> GroupResource(const std::vector<IconImage>& images, const std::vector<WORD>& ids);

// An .ico file again, from a group resource and its images (for reading a
// branded copy back).
std::vector<BYTE> IconFileFromGroup(const std::vector<BYTE>& group, const std::vector<std::vector<BYTE>>& images);

}  // namespace Brand
