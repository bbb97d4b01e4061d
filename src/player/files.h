// The file system as player data needs it: the player's folders, atomic replacement and a lock
// (whole-file reads are the platform's). One file a platform implements it (files_posix.cpp,
// files_win.cpp).
#pragma once
#include <cstdint>
#include <string>
#include "platform/platform.h"

enum { FOLDER_RESULTS, FOLDER_SETTINGS };

// No player file of ours grows this big: a bigger one is taken as damaged, unread.
constexpr long MAX_PLAYER_FILE = 8L << 20;

// Why replace_file failed, or that it did not.
enum { WRITE_DONE, WRITE_FAILED, WRITE_FULL, WRITE_READ_ONLY, WRITE_DENIED, WRITE_HELD };

// The folder for results or settings, ending in a separator; "" when there is no home folder.
std::string player_folder(int kind);
// Makes a folder and the folders above it that are missing, for the player's eyes only. 0 on
// success.
int make_folders(const std::string &path);
// The file a write to path changes: the target of a symbolic link, followed to the end.
std::string file_behind(const std::string &path);
// Writes text beside path, flushes it to the disk, renames it over path and flushes the folder:
// path then holds either its old text or the new one, whatever happens. The old file's
// permissions stay; while another program holds the file, tries again for about a second.
// WRITE_*.
int replace_file(const std::string &path, const std::string &text);
// Renames a file to a name that must be free: 0 done, 1 the name is taken (nothing changes),
// 2 another failure. Never replaces a file.
int move_aside(const std::string &from, const std::string &to);
// Waits for an exclusive lock on the file at path (made when missing). A handle, or -1. The
// system lets the lock go when the process ends, however it ends.
intptr_t lock_file(const std::string &path);
void unlock_file(intptr_t handle);
