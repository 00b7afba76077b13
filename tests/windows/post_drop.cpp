// kordavan-post-drop.exe: drops files onto a window as Explorer's oldest way
// does, a WM_DROPFILES carrying a DROPFILES block, for the tests of dropped
// files under Wine (which has no Explorer to drag from).
//
//   kordavan-post-drop.exe WINDOW-TITLE PATH...
//
// Waits up to 10 s for a window of that title. Exit status 0 once the
// message is posted.
//
// A memory handle means nothing in another process, and nobody carries the
// block across for a posted message: it is written into the window's own
// process, where a plain pointer passes for a fixed memory handle. (The
// window's DragFinish then hands back memory its heap never gave out, which
// Wine refuses quietly; this is a test's trick, not a way to drop files.)

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
    std::string block(sizeof(DROPFILES), '\0');
    auto* drop = reinterpret_cast<DROPFILES*>(block.data());
    drop->pFiles = sizeof(DROPFILES);
    drop->pt = POINT{10, 10};
    drop->fNC = FALSE;
    drop->fWide = TRUE;
    block.append(reinterpret_cast<const char*>(names.data()), names.size() * sizeof(wchar_t));

    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, processId);
    void* there = process == nullptr ? nullptr
                                     : VirtualAllocEx(process, nullptr, block.size(),
                                                      MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (there == nullptr ||
        !WriteProcessMemory(process, there, block.data(), block.size(), nullptr)) {
        std::fprintf(stderr, "post-drop: the window's process takes no block\n");
        return 1;
    }
    CloseHandle(process);
    if (!PostMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(there), 0)) {
        std::fprintf(stderr, "post-drop: the message could not be posted\n");
        return 1;
    }
    LocalFree(words);
    return 0;
}
