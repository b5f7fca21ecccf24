#pragma once
// Replaces resources of an executable file with the platform's resource
// update functions, keeping each resource's language.
#include <windows.h>

#include <string>
#include <vector>

#include "IconFile.h"

namespace Brand {

struct Replacement {
    const std::vector<BYTE>* config { nullptr };      // resource 104, type XML
    const std::vector<BYTE>* skin { nullptr };        // resource 101, type ZIPRES
    const std::vector<IconImage>* icon { nullptr };   // icon group 103
};

// Writes the replacements into the file at `path`. False with the reason.
bool ReplaceResources(const std::wstring& path, const Replacement& replacement, std::wstring& why);

// Reads resource `id` of `type` from an executable file (not run).
bool ReadResource(const std::wstring& path, LPCWSTR type, LPCWSTR id, std::vector<BYTE>& data);
// Reads icon group `id` back as an .ico file.
bool ReadIconGroup(const std::wstring& path, WORD id, std::vector<BYTE>& file);

}  // namespace Brand
