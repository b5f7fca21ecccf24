#pragma once
// The client's settings: the configuration document built into the executable
// (resource 104, type "xml") and the address trailer after its last section.
#include <windows.h>
#include <string>
#include <vector>
#include "foundation/StdString.h"
#include "foundation/Markup.h"

// One per process, filled by start-up before the first window exists and
// read-only afterwards. Rectangles are relative to the login frame; right and
// bottom are exclusive.
class CMicroClientConfig {
public:
    Veneer::CStdString loginURL;         // stored, read by nobody
    Veneer::CStdString playGamekeyWord;  // an address containing it starts play
    Veneer::CStdString clientName;       // single-instance mutex name, tray tip
    RECT closeRect { 0, 0, 0, 0 };
    RECT miniRect { 0, 0, 0, 0 };
    RECT loginWebRect { 0, 0, 0, 0 };
    SIZE loginFrameSize { 0, 0 };
};

CMicroClientConfig& GetClientConfig();

// Loads the configuration document (resource 104 of type "xml", UTF-8) of
// `module` into `document`. False when the resource is missing or does not parse.
bool LoadClientConfigResource(Veneer::CMarkup& document, HMODULE module);

// Applies every direct child of the root whose first attribute is `value`.
// False when the document holds nothing parsed.
bool LoadClientConfig(Veneer::CMarkup& document, CMicroClientConfig& config);

// Stores one key; unknown keys (compared case-sensitively) are ignored.
void ApplyConfigKey(CMicroClientConfig& config, LPCWSTR key, LPCWSTR value);

// The address trailer of the executable file at `path`: "login page|customer
// service page", at most 256 single-byte characters. The section table comes
// from the headers of that file, so any executable can be read. Empty when the
// file has no trailer or no sane headers; a file that cannot be opened is
// reported in a message box first.
std::string ReadAddressTrailer(LPCWSTR path);

// The non-empty pieces of `text` between any of the `separators`, in order.
std::vector<std::string> SplitText(const std::string& text, const std::string& separators);

// Bytes of a trailer piece as wide characters (0x00-0xFF keep their value).
std::wstring WidenTrailerText(const std::string& text);

// Piece `piece` (0: login page, 1: customer-service page) of a trailer text.
// Empty when the text has no "|" or fewer pieces.
std::wstring TrailerAddress(const std::string& trailer, size_t piece);

// The same, read from the running executable's own trailer.
std::wstring ReadTrailerAddress(size_t piece);
