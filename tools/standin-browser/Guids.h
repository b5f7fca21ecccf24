#pragma once
// Identifiers the mingw import libraries lack, and the ones the browser
// double answers to under its own names.
#include <windows.h>

namespace Standin {

extern const CLSID kClsidWebBrowser;          // {8856F961-340A-11D0-A96B-00C04FD705A2}
extern const IID kIidDWebBrowserEvents2;      // {34A715A0-6587-11D0-924A-0020AFC7AC4D}
extern const IID kIidICustomDoc;              // {3050F3F0-98B5-11CF-BB82-00AA00BDCE0B}
extern const GUID kCgidMshtml;                // {DE4BA900-59CA-11CF-9592-444553540000}
extern const GUID kCgidDocHostCommandHandler; // {F38BC242-B950-11D1-8918-00C04FC2C836}
extern const GUID kLibidShDocVw;              // {EAB22AC0-30C1-11CF-A7EB-0000C05BAE0B}
extern const GUID kLibidMshtml;               // {3050F1C5-98B5-11CF-BB82-00AA00BDCE0B}

}  // namespace Standin
