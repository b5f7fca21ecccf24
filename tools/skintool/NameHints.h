#pragma once
// "Did you mean": the nearest known element or attribute name to a
// misspelt one. Whether a name is unknown is the framework's verdict; these
// lists only suggest a replacement.
#include <string>

namespace SkinTool {

// The nearest element name, or empty when none is close.
std::wstring NearestElement(const std::wstring& name);
// The nearest attribute name of any control or of the Window element.
std::wstring NearestAttribute(const std::wstring& name);

// Edit distance, ignoring case differences at half cost (so "Name" is next
// to "name" before anything else).
int NameDistance(const std::wstring& a, const std::wstring& b);

}  // namespace SkinTool
