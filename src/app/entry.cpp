// The program's entry point: hands over to game_main.
#include <allegro.h>
#include "app/app.h"

int main(int argc, char *argv[]) {
    return game_main(argc, argv);
}
END_OF_MAIN()
