// The ladder's titles: index i is the title of a player who answered questions 1 to i.
#include "game/game.h"

const char *const level_titles[16] = {
    "si nula", "looser",  "smejd",  "zelenac",  "amater", "flakac", "kysucan",  "oravec",
    "tatran",  "Kosican", "Blavak", "ty kokso", "wow",    "macher", "Mudrlant", "milionar",
};
