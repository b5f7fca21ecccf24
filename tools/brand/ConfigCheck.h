#pragma once
// Checks a configuration document the way the client reads it at start-up
// (its own parser and key reader), and refuses what would start a broken
// client: a document that does not parse, unknown keys, malformed numbers,
// no login frame size, no client name.
#include <windows.h>

#include <string>
#include <vector>

namespace Brand {

// Problems as "file:line: message"; empty when the document is usable.
std::vector<std::wstring> CheckConfig(const std::vector<BYTE>& document, const std::wstring& name);

}  // namespace Brand
