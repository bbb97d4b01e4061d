// Player files on Windows: %APPDATA%\Rebrik, wide-character calls throughout (so a user name
// with Slovak letters works), MoveFileExW with write-through, and LockFileEx for the lock.
#include <windows.h>
#include "platform/platform.h"
#include "player/files.h"

std::string player_folder(int) {
    const wchar_t *appdata = _wgetenv(L"APPDATA");
    return appdata && *appdata ? narrow(appdata) + "\\Rebrik\\" : "";
}

int make_folders(const std::string &path) {
    std::wstring w = wide(path);
    for (size_t i = 3; i <= w.size(); i++) // past the drive, "C:\"
        if (i == w.size() || w[i] == L'\\' || w[i] == L'/')
            CreateDirectoryW(w.substr(0, i).c_str(), nullptr);
    DWORD attributes = GetFileAttributesW(w.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : 1;
}

int read_whole_file(const std::string &path, std::string *text) {
    text->clear();
    HANDLE h = CreateFileW(wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        DWORD e = GetLastError();
        return e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND ? 1 : 2;
    }
    char buffer[65536];
    DWORD n;
    BOOL ok;
    while ((ok = ReadFile(h, buffer, sizeof buffer, &n, nullptr)) && n > 0)
        text->append(buffer, n);
    CloseHandle(h);
    return ok ? 0 : 2;
}

int replace_file(const std::string &path, const std::string &text) {
    std::wstring fresh = wide(path + ".novy");
    HANDLE h = CreateFileW(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    BOOL ok = WriteFile(h, text.data(), (DWORD)text.size(), &written, nullptr) &&
              written == text.size() && FlushFileBuffers(h);
    ok = CloseHandle(h) && ok;
    if (!ok || !MoveFileExW(fresh.c_str(), wide(path).c_str(),
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(fresh.c_str());
        return 1;
    }
    return 0;
}

int rename_file(const std::string &from, const std::string &to) {
    return !MoveFileExW(wide(from).c_str(), wide(to).c_str(), MOVEFILE_WRITE_THROUGH);
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
