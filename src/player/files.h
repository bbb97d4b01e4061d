// The file system as player data needs it: the player's folders, whole-file reads, atomic
// replacement and a lock. One file a platform implements it (files_posix.cpp, files_win.cpp).
#pragma once
#include <cstdint>
#include <string>

enum { FOLDER_RESULTS, FOLDER_SETTINGS };

// The folder for results or settings, ending in a separator; "" when there is no home folder.
std::string player_folder(int kind);
// Makes a folder and the folders above it that are missing. 0 on success.
int make_folders(const std::string &path);
// Reads a whole file into *text: 0 read, 1 there is no such file, 2 it could not be read.
int read_whole_file(const std::string &path, std::string *text);
// Writes text beside path, flushes it to the disk, renames it over path and flushes the folder:
// path then holds either its old text or the new one, whatever happens. 0 on success.
int replace_file(const std::string &path, const std::string &text);
// Renames a file. 0 on success.
int rename_file(const std::string &from, const std::string &to);
// Waits for an exclusive lock on the file at path (made when missing). A handle, or -1. The
// system lets the lock go when the process ends, however it ends.
intptr_t lock_file(const std::string &path);
void unlock_file(intptr_t handle);
