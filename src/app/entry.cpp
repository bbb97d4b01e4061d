// The program's entry point: hands over to game_main, and ends the program the
// platform's way.
#include <allegro.h>
#include "app/main.h"
#include "platform/platform.h"

int main(int argc, char *argv[]) {
    return end_program(game_main(argc, argv));
}
END_OF_MAIN()
