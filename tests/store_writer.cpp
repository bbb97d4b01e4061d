// The game's own store of player data, driven line by line, for the Wine tests of Windows:
// "zapis" records a game for each line read and prints its number once the record returned;
// "drz" holds the results file open as a virus scanner would (not shared for deletion) until its
// input ends.
#include <windows.h>
#include <cstdio>
#include <cstring>
#include <string>
#include "player/player.h"

int main(int argc, char *argv[]) {
    char line[64];
    if (argc == 2 && !std::strcmp(argv[1], "drz")) {
        std::wstring path = std::wstring(_wgetenv(L"APPDATA")) + L"\\Rebrik\\vysledky.txt";
        HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
        std::printf("%s\n", h == INVALID_HANDLE_VALUE ? "nedrzim" : "drzim");
        std::fflush(stdout);
        std::fgets(line, sizeof line, stdin); // a line or the end of the input
        return h == INVALID_HANDLE_VALUE;
    }
    player_load();
    for (int n = 1; std::fgets(line, sizeof line, stdin); n++) {
        player_record({local_time_text(), 1, 0, ENDING_WRONG, 0}, {uint64_t(n)});
        std::printf("%d\n", n);
        std::fflush(stdout);
    }
    return 0;
}
