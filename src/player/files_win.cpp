// Player files on Windows: %APPDATA%\Rebrik (the roaming application data), wide-character calls
// throughout (so a user name with Slovak letters works), MoveFileExW with write-through, tried
// again while another program holds the file, and LockFileEx for the lock.
#include <windows.h>
#include <shlobj.h>
#include "platform/platform.h"
#include "player/files.h"

// %APPDATA%, else (a program started with a bare environment lacks it) the folder the variable
// names, as the system knows it.
static std::string roaming_folder(void) {
    const wchar_t *appdata = _wgetenv(L"APPDATA");
    if (appdata && *appdata)
        return narrow(appdata);
    wchar_t *known = nullptr;
    bool found = SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &known) == S_OK;
    std::string folder = found ? narrow(known) : "";
    CoTaskMemFree(known);
    return folder;
}

std::string player_folder(int) {
    std::string roaming = roaming_folder();
    return roaming.empty() ? "" : roaming + "\\Rebrik\\";
}

int make_folders(const std::string &path) {
    std::wstring w = wide(path);
    for (size_t i = 3; i <= w.size(); i++) // past the drive, "C:\"
        if (i == w.size() || w[i] == L'\\' || w[i] == L'/')
            CreateDirectoryW(w.substr(0, i).c_str(), nullptr);
    DWORD attributes = GetFileAttributesW(w.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : 1;
}

std::string file_behind(const std::string &path) {
    return path; // links need rights most players lack: the file itself
}

// The reason the last call failed.
static int write_failure(void) {
    switch (GetLastError()) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return WRITE_FULL;
    case ERROR_WRITE_PROTECT:
        return WRITE_READ_ONLY;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return WRITE_HELD;
    case ERROR_ACCESS_DENIED:
        return WRITE_DENIED;
    default:
        return WRITE_FAILED;
    }
}

// Renames fresh over path. Another program holding path open (a second game starting, a virus
// scanner or a search indexer looking at a new file) refuses the rename for a moment: tried
// again for about a second before giving up.
static int move_over(const std::wstring &fresh, const std::wstring &path) {
    for (int attempt = 0;; attempt++) {
        if (MoveFileExW(fresh.c_str(), path.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return WRITE_DONE;
        int reason = write_failure();
        if ((reason != WRITE_HELD && reason != WRITE_DENIED) || attempt == 20)
            return reason == WRITE_DENIED ? WRITE_HELD : reason; // most likely held still
        Sleep(50);
    }
}

int replace_file(const std::string &path, const std::string &text) {
    std::wstring fresh = wide(path + ".novy");
    HANDLE h = CreateFileW(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return write_failure();
    DWORD written = 0;
    BOOL ok = WriteFile(h, text.data(), (DWORD)text.size(), &written, nullptr) &&
              written == text.size() && FlushFileBuffers(h);
    int reason = ok ? WRITE_DONE : write_failure();
    if (!CloseHandle(h) && reason == WRITE_DONE)
        reason = write_failure();
    if (reason == WRITE_DONE)
        reason = move_over(fresh, wide(path));
    if (reason != WRITE_DONE)
        DeleteFileW(fresh.c_str());
    return reason;
}

int move_aside(const std::string &from, const std::string &to) {
    if (MoveFileExW(wide(from).c_str(), wide(to).c_str(), MOVEFILE_WRITE_THROUGH))
        return 0;
    DWORD e = GetLastError();
    return e == ERROR_ALREADY_EXISTS || e == ERROR_FILE_EXISTS ? 1 : 2;
}

intptr_t lock_file(const std::string &path) {
    HANDLE h = CreateFileW(wide(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return -1;
    OVERLAPPED at = {};
    if (!LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &at)) {
        CloseHandle(h);
        return -1;
    }
    return (intptr_t)h;
}

void unlock_file(intptr_t handle) {
    CloseHandle((HANDLE)handle); // the lock goes with the handle
}
