// Player files on Linux and other POSIX systems: the XDG folders, fsync before and after rename,
// and flock for the lock.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include "player/files.h"

// $XDG_x_HOME when it is an absolute path, else $HOME/fallback.
static std::string xdg_folder(const char *variable, const char *fallback) {
    const char *xdg = std::getenv(variable), *home = std::getenv("HOME");
    if (xdg && xdg[0] == '/')
        return std::string(xdg) + "/rebrik/";
    if (home && home[0] == '/')
        return std::string(home) + fallback + "/rebrik/";
    return "";
}

std::string player_folder(int kind) {
    return kind == FOLDER_RESULTS ? xdg_folder("XDG_DATA_HOME", "/.local/share")
                                  : xdg_folder("XDG_CONFIG_HOME", "/.config");
}

int make_folders(const std::string &path) {
    for (size_t slash = 1; slash != std::string::npos; slash = path.find('/', slash + 1)) {
        std::string part = path.substr(0, slash);
        struct stat st;
        if (stat(part.c_str(), &st) != 0 && mkdir(part.c_str(), 0755) != 0 && errno != EEXIST)
            return 1;
    }
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? 0 : 1;
}

int read_whole_file(const std::string &path, std::string *text) {
    text->clear();
    int fd = open(path.c_str(), O_RDONLY);
    if (fd < 0)
        return errno == ENOENT ? 1 : 2;
    char buffer[65536];
    ssize_t n;
    while ((n = read(fd, buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR))
        if (n > 0)
            text->append(buffer, n);
    close(fd);
    return n < 0 ? 2 : 0;
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
static int sync_folder(const std::string &path) {
    std::string folder = path.substr(0, path.rfind('/') + 1);
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return 1;
    int failed = fsync(fd) != 0;
    close(fd);
    return failed;
}

int replace_file(const std::string &path, const std::string &text) {
    std::string fresh = path + ".novy";
    int fd = open(fresh.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return 1;
    int failed = write_all(fd, text) || fsync(fd) != 0;
    failed = close(fd) != 0 || failed;
    if (failed || std::rename(fresh.c_str(), path.c_str()) != 0) {
        unlink(fresh.c_str());
        return 1;
    }
    return sync_folder(path);
}

int rename_file(const std::string &from, const std::string &to) {
    return std::rename(from.c_str(), to.c_str()) != 0;
}

intptr_t lock_file(const std::string &path) {
    int fd = open(path.c_str(), O_RDWR | O_CREAT, 0644);
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
