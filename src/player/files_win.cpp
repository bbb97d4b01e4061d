// Player files on Windows: %APPDATA%\Rebrik, wide-character calls throughout (so a user name
// with Slovak letters works), reads that let others replace the file, MoveFileExW with
// write-through, tried again while another program holds the file, and LockFileEx for the lock.
#include <windows.h>
#include "player/files.h"

// UTF-8 to the system's wide characters.
static std::wstring wide(const std::string &text) {
    int n = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    std::wstring w(n > 0 ? n - 1 : 0, L'\0');
    if (n > 1)
        MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, &w[0], n);
    return w;
}

static std::string narrow(const wchar_t *text) {
    int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string s(n > 0 ? n - 1 : 0, '\0');
    if (n > 1)
        WideCharToMultiByte(CP_UTF8, 0, text, -1, &s[0], n, nullptr, nullptr);
    return s;
}

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
    // Shared for deletion too, so another game or a virus scanner may replace it meanwhile.
    HANDLE h = CreateFileW(wide(path).c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        DWORD e = GetLastError();
        return e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND ? READ_MISSING : READ_FAILED;
    }
    LARGE_INTEGER size;
    int r = GetFileType(h) != FILE_TYPE_DISK || !GetFileSizeEx(h, &size) ? READ_FAILED
            : size.QuadPart > MAX_PLAYER_FILE                            ? READ_TOO_BIG
                                                                         : READ_DONE;
    char buffer[65536];
    DWORD n;
    BOOL ok = TRUE;
    while (r == READ_DONE && (ok = ReadFile(h, buffer, sizeof buffer, &n, nullptr)) && n > 0)
        if ((long)text->size() + (long)n > MAX_PLAYER_FILE)
            r = READ_TOO_BIG; // grew while read
        else
            text->append(buffer, n);
    CloseHandle(h);
    return r == READ_DONE && !ok ? READ_FAILED : r;
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
