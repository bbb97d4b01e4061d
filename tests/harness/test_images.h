// Small stand-ins for the five pictures the game reads, written by the tests themselves so that
// they do not depend on the art in data/, and the pixel counts the screen tests compare by.
#pragma once
#include <gtest/gtest.h>
#include "app/app.h"
#include "game/game.h"
#include "gfx/gfx.h"
#include "harness/harness.h"
#include "questions/questions.h"

// Sizes of the pictures whose size the screens depend on.
struct TestImageSizes {
    int sheet_w = 60, sheet_h = 80;   // lifeline sheet: four rows of sheet_h / 4 pixels
    int title_w = 200, title_h = 100; // intro picture
    int exit_w = 60, exit_h = 30;     // exit button
};

// Writes kvmys.bmp, pozadiep.tga, zolici.bmp, mili.tga and exit.bmp into a fresh temporary
// folder and returns it ("" on failure); starts the library headless. The background never holds
// magenta and varies pixel by pixel; sheet rows 0 to 2 are red, green and blue icons, row 3 (the
// used mark) is white on its left half and MASK_COLOR on the right; the rest are solid colours.
std::string write_test_images(const TestImageSizes &sizes = TestImageSizes());

// Deletes the folder and everything in it.
void remove_test_images(const std::string &dir);

// Writes the pictures, loads them with headless_load and deletes them again (they are read
// whole at load). headless_load's result, or 1 when they could not be written.
int load_test_images(const TestImageSizes &sizes = TestImageSizes());

// How many pixels of the w x h block of b at (x, y) have this value.
int count_colour(BITMAP *b, int colour, int x, int y, int w, int h);

// How many pixels of the w x h block of a at (ax, ay) differ from the block of b at (bx, by).
int count_differences(BITMAP *a, int ax, int ay, BITMAP *b, int bx, int by, int w, int h);
