// kordavan-post-drop.exe: drops files onto a window as Explorer's oldest way
// does, a WM_DROPFILES carrying a DROPFILES block, for the tests of dropped
// files under Wine (which has no Explorer to drag from).
//
//   kordavan-post-drop.exe WINDOW-TITLE PATH...
//
// Waits up to 10 s for a window of that title. Exit status 0 once the
// message is posted.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
// clang-format off
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
// clang-format on

#include <cstdio>
#include <cstring>
#include <string>

int main() {
    // The wide command line: paths in any script, whatever the code page.
    int count = 0;
    wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
    if (words == nullptr || count < 3) {
        std::fprintf(stderr, "usage: kordavan-post-drop.exe WINDOW-TITLE PATH...\n");
        return 2;
    }
    HWND window = nullptr;
    for (int tries = 0; tries < 100 && window == nullptr; ++tries) {
        window = FindWindowW(nullptr, words[1]);
        if (window == nullptr) Sleep(100);
    }
    if (window == nullptr) {
        std::fprintf(stderr, "post-drop: no window of that title\n");
        return 1;
    }
    // The names one after another, each ending in a nul, and one more at the end.
    std::wstring names;
    for (int i = 2; i < count; ++i) {
        names += words[i];
        names += L'\0';
    }
    names += L'\0';
    const size_t bytes = sizeof(DROPFILES) + names.size() * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GHND, bytes);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
    if (drop == nullptr) return 1;
    drop->pFiles = sizeof(DROPFILES);
    drop->pt = POINT{10, 10};
    drop->fNC = FALSE;
    drop->fWide = TRUE;
    std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names.data(),
                names.size() * sizeof(wchar_t));
    GlobalUnlock(block);
    if (!PostMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0)) {
        std::fprintf(stderr, "post-drop: the message could not be posted\n");
        GlobalFree(block);
        return 1;
    }
    LocalFree(words);
    return 0;
}
