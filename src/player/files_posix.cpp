// Player files on Linux and other POSIX systems: the XDG folders, fsync before and after rename,
// and flock for the lock.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include "platform/platform.h"
#include "player/files.h"

// $XDG_x_HOME when it is an absolute path, else home/fallback.
static std::string xdg_folder(const char *variable, const char *fallback) {
    const char *xdg = std::getenv(variable);
    if (xdg && xdg[0] == '/')
        return std::string(xdg) + "/rebrik/";
    std::string home = home_folder();
    return home.empty() ? "" : home + fallback + "/rebrik/";
}

std::string player_folder(int kind) {
    return kind == FOLDER_RESULTS ? xdg_folder("XDG_DATA_HOME", "/.local/share")
                                  : xdg_folder("XDG_CONFIG_HOME", "/.config");
}

int make_folders(const std::string &path) {
    for (size_t slash = 1; slash != std::string::npos; slash = path.find('/', slash + 1)) {
        std::string part = path.substr(0, slash);
        struct stat st;
        if (stat(part.c_str(), &st) != 0 && mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return 1;
    }
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? 0 : 1;
}

std::string file_behind(const std::string &path) {
    std::string at = path;
    char target[4096];
    ssize_t n;
    for (int depth = 0; depth < 40 && (n = readlink(at.c_str(), target, sizeof target)) > 0 &&
                        n < (ssize_t)sizeof target;
         depth++) {
        std::string to(target, n);
        at = to[0] == '/' ? to : at.substr(0, at.rfind('/') + 1) + to;
    }
    return at;
}

// Writes all of text to fd, through interrupted and partial writes. 0 on success.
static int write_all(int fd, const std::string &text) {
    for (size_t done = 0; done < text.size();) {
        ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno != EINTR)
            return 1;
        done += n > 0 ? n : 0;
    }
    return 0;
}

// Flushes the folder that holds path, so a rename in it survives a power loss.
static void sync_folder(const std::string &path) {
    std::string folder = path.substr(0, path.rfind('/') + 1);
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0)
        fsync(fd), close(fd);
}

// The reason a write failed, from errno.
static int write_failure(void) {
    switch (errno) {
    case ENOSPC:
    case EDQUOT:
        return WRITE_FULL;
    case EROFS:
        return WRITE_READ_ONLY;
    case EACCES:
    case EPERM:
        return WRITE_DENIED;
    default:
        return WRITE_FAILED;
    }
}

int replace_file(const std::string &path, const std::string &text) {
    std::string fresh = path + ".novy";
    int fd = open(fresh.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return write_failure();
    struct stat old;
    int failed = (stat(path.c_str(), &old) == 0 && fchmod(fd, old.st_mode & 07777) != 0) ||
                 write_all(fd, text) || fsync(fd) != 0;
    failed = close(fd) != 0 || failed;
    if (failed || std::rename(fresh.c_str(), path.c_str()) != 0) {
        int reason = write_failure();
        unlink(fresh.c_str());
        return reason;
    }
    sync_folder(path); // the new text is in place either way: a failure here loses nothing
    return WRITE_DONE;
}

int move_aside(const std::string &from, const std::string &to) {
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno == EEXIST ? 1 : 2;
    // A file system without the flag: a second name, which cannot replace, then the first gone.
    if (link(from.c_str(), to.c_str()) != 0)
        return errno == EEXIST ? 1 : 2;
    return unlink(from.c_str()) == 0 ? 0 : 2;
}

intptr_t lock_file(const std::string &path) {
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return -1;
    int r;
    while ((r = flock(fd, LOCK_EX)) != 0 && errno == EINTR) {
    }
    if (r != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

void unlock_file(intptr_t handle) {
    close((int)handle);
}
