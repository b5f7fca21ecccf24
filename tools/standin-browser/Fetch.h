#pragma once
// Loading addresses off the user-interface thread: each batch runs on its
// own thread and posts one result per request back to a window.
#include <windows.h>
#include <string>
#include <vector>

namespace Standin {

struct FetchRequest {
    std::wstring url;
    std::wstring method { L"GET" };
    std::string body;
    std::wstring headers;       // extra request headers, CRLF separated
    std::wstring referer;
    bool decodeImage { false };
};

struct FetchResult {
    UINT_PTR batch { 0 };
    size_t index { 0 };         // position of the request in its batch
    std::wstring requestedUrl;
    std::wstring finalUrl;      // after redirects
    HRESULT error { S_OK };     // an INET_E_ code when nothing usable arrived
    DWORD status { 0 };         // HTTP status, 0 for other schemes
    std::wstring contentType;
    std::string bytes;
    // Decoded when asked for: premultiplied BGRA, top-down.
    std::vector<BYTE> pixels;
    int width { 0 };
    int height { 0 };
};

// Posts `message` to `window` with wParam = batch and lParam = a new
// FetchResult that the receiver deletes. A result that cannot be posted is
// dropped by the worker.
bool StartFetch(HWND window, UINT message, UINT_PTR batch, std::vector<FetchRequest> requests);

// How long a server may keep a request waiting before it counts as timed
// out: 15 s, or STANDIN_BROWSER_TIMEOUT_MS (100 to 600000) where set, so
// tests can meet a timed-out page quickly.
DWORD FetchTimeoutMs();

// The INET_E code of a request that timed out.
const HRESULT kFetchTimedOut = static_cast<HRESULT>(0x800C000BL);  // INET_E_CONNECTION_TIMEOUT

// The same work done on the calling thread.
FetchResult FetchNow(const FetchRequest& request);

}  // namespace Standin
