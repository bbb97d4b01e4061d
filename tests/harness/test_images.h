// Small stand-ins for the five pictures the game reads, written by the tests themselves so that
// they do not depend on the art in data/.
#pragma once
#include <allegro.h>
#include <gtest/gtest.h>
#include <string>

// Sizes of the pictures whose size the screens depend on.
struct TestImageSizes {
    int sheet_w = 60, sheet_h = 80;   // lifeline sheet: four rows of sheet_h / 4 pixels
    int title_w = 200, title_h = 100; // intro picture
    int exit_w = 60, exit_h = 30;     // exit button
};

// Writes kvmys.bmp, pozadiep.tga, zolici.bmp, mili.tga and exit.bmp into a fresh folder under
// the temporary directory and returns its path ("" if it cannot). Starts the library headless.
// The background varies from pixel to pixel and never holds magenta; sheet rows 0 to 2 are
// solid red, green and blue icons, and row 3, the used mark, is white on its left half and
// MASK_COLOR on its right half; the intro picture and the exit button are solid colours.
std::string write_test_images(const TestImageSizes &sizes = TestImageSizes());

// Deletes the folder and the five pictures in it.
void remove_test_images(const std::string &dir);

// How many pixels of the w x h block of b at (x, y) have this value.
int count_colour(BITMAP *b, int colour, int x, int y, int w, int h);

// How many pixels of the w x h block of a at (ax, ay) differ from the block of b at (bx, by).
int count_differences(BITMAP *a, int ax, int ay, BITMAP *b, int bx, int by, int w, int h);

// A test suite that writes and loads one set of pictures for all its tests. Suites that need
// other sizes hide SetUpTestSuite with one that calls load_pictures with them.
class PicturesLoaded : public ::testing::Test {
  protected:
    static std::string picture_dir;
    static int load_result; // headless_load's result, 1 when the pictures could not be written
    static void load_pictures(const TestImageSizes &sizes);
    static void SetUpTestSuite() {
        load_pictures(TestImageSizes());
    }
    static void TearDownTestSuite();
    void SetUp() override {
        ASSERT_EQ(load_result, 0);
    }
};
