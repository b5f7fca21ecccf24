#include "Fetch.h"

#include "Html.h"

#include <shlwapi.h>
#include <wininet.h>

#include <cwchar>
#include <memory>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_FAILURE_USERMSG
#include <stb_image.h>

namespace Standin {

namespace {

const HRESULT kCannotConnect = static_cast<HRESULT>(0x800C0004L);     // INET_E_CANNOT_CONNECT
const HRESULT kResourceNotFound = static_cast<HRESULT>(0x800C0005L);  // INET_E_RESOURCE_NOT_FOUND
const HRESULT kDownloadFailure = static_cast<HRESULT>(0x800C0008L);   // INET_E_DOWNLOAD_FAILURE
const HRESULT kTimeout = kFetchTimedOut;
const HRESULT kUnknownProtocol = static_cast<HRESULT>(0x800C000DL);   // INET_E_UNKNOWN_PROTOCOL
const size_t kMaxBytes = 64u * 1024u * 1024u;

class InternetHandle {
public:
    explicit InternetHandle(HINTERNET handle) : m_handle(handle) {}
    ~InternetHandle()
    {
        if (m_handle) {
            InternetCloseHandle(m_handle);
        }
    }
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;
    HINTERNET Get() const { return m_handle; }

private:
    HINTERNET m_handle { nullptr };
};

HRESULT ErrorOf(DWORD error)
{
    switch (error) {
    case ERROR_INTERNET_NAME_NOT_RESOLVED:
        return kResourceNotFound;
    case ERROR_INTERNET_CANNOT_CONNECT:
    case ERROR_INTERNET_CONNECTION_RESET:
    case ERROR_INTERNET_CONNECTION_ABORTED:
        return kCannotConnect;
    case ERROR_INTERNET_TIMEOUT:
        return kTimeout;
    default:
        return kDownloadFailure;
    }
}

std::wstring TypeOfPath(const std::wstring& path)
{
    std::wstring extension = ToLower(PathFindExtensionW(path.c_str()));
    if (extension == L".png") {
        return L"image/png";
    }
    if (extension == L".jpg" || extension == L".jpeg") {
        return L"image/jpeg";
    }
    if (extension == L".gif") {
        return L"image/gif";
    }
    if (extension == L".bmp") {
        return L"image/bmp";
    }
    if (extension == L".txt") {
        return L"text/plain";
    }
    return L"text/html";
}

void FetchFile(const FetchRequest& request, FetchResult& result)
{
    wchar_t path[MAX_PATH * 2] {};
    DWORD length = MAX_PATH * 2;
    if (FAILED(PathCreateFromUrlW(request.url.c_str(), path, &length, 0))) {
        result.error = kResourceNotFound;
        return;
    }
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        result.error = kResourceNotFound;
        return;
    }
    LARGE_INTEGER size {};
    if (!GetFileSizeEx(file, &size) || static_cast<ULONGLONG>(size.QuadPart) > kMaxBytes) {
        CloseHandle(file);
        result.error = kDownloadFailure;
        return;
    }
    result.bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    BOOL ok = result.bytes.empty() ||
              ReadFile(file, &result.bytes[0], static_cast<DWORD>(result.bytes.size()), &read, nullptr);
    CloseHandle(file);
    if (!ok) {
        result.bytes.clear();
        result.error = kDownloadFailure;
        return;
    }
    result.bytes.resize(read);
    result.contentType = TypeOfPath(path);
}

std::wstring QueryText(HINTERNET request, DWORD what)
{
    wchar_t buffer[1024] {};
    DWORD size = sizeof(buffer) - sizeof(wchar_t);
    if (!HttpQueryInfoW(request, what, buffer, &size, nullptr)) {
        return std::wstring();
    }
    return buffer;
}

void FetchHttp(const FetchRequest& request, FetchResult& result)
{
    wchar_t host[INTERNET_MAX_HOST_NAME_LENGTH + 1] {};
    std::vector<wchar_t> path(INTERNET_MAX_URL_LENGTH + 1);
    std::vector<wchar_t> extra(INTERNET_MAX_URL_LENGTH + 1);
    URL_COMPONENTSW parts {};
    parts.dwStructSize = sizeof(parts);
    parts.lpszHostName = host;
    parts.dwHostNameLength = INTERNET_MAX_HOST_NAME_LENGTH;
    parts.lpszUrlPath = path.data();
    parts.dwUrlPathLength = INTERNET_MAX_URL_LENGTH;
    parts.lpszExtraInfo = extra.data();
    parts.dwExtraInfoLength = INTERNET_MAX_URL_LENGTH;
    if (!InternetCrackUrlW(request.url.c_str(), 0, 0, &parts)) {
        result.error = kResourceNotFound;
        return;
    }
    InternetHandle session(InternetOpenW(L"Mozilla/4.0 (compatible; MSIE 8.0; Windows NT 6.1; Standin)",
                                         INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    if (!session.Get()) {
        result.error = kDownloadFailure;
        return;
    }
    DWORD timeout = FetchTimeoutMs();
    InternetSetOptionW(session.Get(), INTERNET_OPTION_CONNECT_TIMEOUT, &timeout, sizeof(timeout));
    InternetSetOptionW(session.Get(), INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof(timeout));
    InternetSetOptionW(session.Get(), INTERNET_OPTION_SEND_TIMEOUT, &timeout, sizeof(timeout));
    InternetHandle connection(InternetConnectW(session.Get(), host, parts.nPort, nullptr, nullptr,
                                               INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection.Get()) {
        result.error = ErrorOf(GetLastError());
        return;
    }
    std::wstring object = std::wstring(path.data()) + extra.data();
    size_t fragment = object.find(L'#');
    if (fragment != std::wstring::npos) {
        object.resize(fragment);
    }
    if (object.empty()) {
        object = L"/";
    }
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                  INTERNET_FLAG_NO_UI;
    if (parts.nScheme == INTERNET_SCHEME_HTTPS) {
        flags |= INTERNET_FLAG_SECURE;
    }
    const wchar_t* accept[] = { L"*/*", nullptr };
    InternetHandle http(HttpOpenRequestW(connection.Get(), request.method.c_str(), object.c_str(), nullptr,
                                         request.referer.empty() ? nullptr : request.referer.c_str(), accept, flags, 0));
    if (!http.Get()) {
        result.error = ErrorOf(GetLastError());
        return;
    }
    std::wstring headers = request.headers;
    if (!request.body.empty() && ToLower(headers).find(L"content-type") == std::wstring::npos) {
        headers += L"Content-Type: application/x-www-form-urlencoded\r\n";
    }
    BOOL sent = HttpSendRequestW(http.Get(), headers.empty() ? nullptr : headers.c_str(),
                                 headers.empty() ? 0 : static_cast<DWORD>(-1),
                                 request.body.empty() ? nullptr : const_cast<char*>(request.body.data()),
                                 static_cast<DWORD>(request.body.size()));
    if (!sent) {
        result.error = ErrorOf(GetLastError());
        return;
    }
    DWORD status = 0;
    DWORD size = sizeof(status);
    if (HttpQueryInfoW(http.Get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr)) {
        result.status = status;
    }
    result.contentType = QueryText(http.Get(), HTTP_QUERY_CONTENT_TYPE);
    std::vector<wchar_t> finalUrl(INTERNET_MAX_URL_LENGTH + 1);
    DWORD urlSize = static_cast<DWORD>(INTERNET_MAX_URL_LENGTH * sizeof(wchar_t));
    if (InternetQueryOptionW(http.Get(), INTERNET_OPTION_URL, finalUrl.data(), &urlSize) && finalUrl[0]) {
        result.finalUrl = finalUrl.data();
    }
    char chunk[16384];
    for (;;) {
        DWORD read = 0;
        if (!InternetReadFile(http.Get(), chunk, sizeof(chunk), &read)) {
            result.error = ErrorOf(GetLastError());
            return;
        }
        if (read == 0) {
            break;
        }
        result.bytes.append(chunk, read);
        if (result.bytes.size() > kMaxBytes) {
            result.error = kDownloadFailure;
            return;
        }
    }
}

void Decode(FetchResult& result)
{
    if (result.error != S_OK || result.bytes.empty() || result.bytes.size() > 0x7FFFFFFF) {
        return;
    }
    int width = 0;
    int height = 0;
    int channels = 0;
    stbi_uc* rgba = stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(result.bytes.data()),
                                          static_cast<int>(result.bytes.size()), &width, &height, &channels, 4);
    if (!rgba) {
        return;
    }
    if (width > 0 && height > 0 && width <= 16384 && height <= 16384) {
        size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
        result.pixels.resize(count * 4);
        for (size_t i = 0; i < count; ++i) {
            const stbi_uc* in = rgba + i * 4;
            BYTE* out = &result.pixels[i * 4];
            unsigned alpha = in[3];
            out[0] = static_cast<BYTE>(in[2] * alpha / 255);
            out[1] = static_cast<BYTE>(in[1] * alpha / 255);
            out[2] = static_cast<BYTE>(in[0] * alpha / 255);
            out[3] = static_cast<BYTE>(alpha);
        }
        result.width = width;
        result.height = height;
    }
    stbi_image_free(rgba);
}

struct Batch {
    HWND window { nullptr };
    UINT message { 0 };
    UINT_PTR id { 0 };
    std::vector<FetchRequest> requests;
    HMODULE module { nullptr };
};

DWORD WINAPI BatchThread(void* parameter)
{
    std::unique_ptr<Batch> batch(static_cast<Batch*>(parameter));
    HMODULE module = batch->module;
    for (size_t i = 0; i < batch->requests.size(); ++i) {
        auto result = std::make_unique<FetchResult>(FetchNow(batch->requests[i]));
        result->batch = batch->id;
        result->index = i;
        if (!IsWindow(batch->window)) {
            break;
        }
        if (PostMessageW(batch->window, batch->message, batch->id, reinterpret_cast<LPARAM>(result.get()))) {
            result.release();
        }
    }
    batch.reset();
    // The thread's code lives in this module: keep it loaded until the very end.
    FreeLibraryAndExitThread(module, 0);
    return 0;
}

}  // namespace

FetchResult FetchNow(const FetchRequest& request)
{
    FetchResult result;
    result.requestedUrl = request.url;
    result.finalUrl = request.url;
    try {
        if (StartsWithNoCase(request.url, L"http:") || StartsWithNoCase(request.url, L"https:")) {
            FetchHttp(request, result);
        } else if (StartsWithNoCase(request.url, L"file:")) {
            FetchFile(request, result);
        } else {
            result.error = kUnknownProtocol;
        }
        if (request.decodeImage) {
            Decode(result);
        }
    } catch (...) {
        result.error = kDownloadFailure;
        result.bytes.clear();
        result.pixels.clear();
    }
    return result;
}

bool StartFetch(HWND window, UINT message, UINT_PTR id, std::vector<FetchRequest> requests)
{
    auto batch = std::make_unique<Batch>();
    batch->window = window;
    batch->message = message;
    batch->id = id;
    batch->requests = std::move(requests);
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&BatchThread),
                            &batch->module)) {
        return false;
    }
    HMODULE module = batch->module;
    HANDLE thread = CreateThread(nullptr, 0, BatchThread, batch.get(), 0, nullptr);
    if (!thread) {
        FreeLibrary(module);
        return false;
    }
    batch.release();
    CloseHandle(thread);
    return true;
}

DWORD FetchTimeoutMs()
{
    wchar_t text[16] = {};
    const DWORD length = GetEnvironmentVariableW(L"STANDIN_BROWSER_TIMEOUT_MS", text, 16);
    if (length == 0 || length >= 16) return 15000;
    const unsigned long value = wcstoul(text, nullptr, 10);
    return value >= 100 && value <= 600000 ? static_cast<DWORD>(value) : 15000;
}

}  // namespace Standin
