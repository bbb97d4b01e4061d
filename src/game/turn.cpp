// Game rules: the start of a game, one turn of play and the blink of the correct answer.
#include <cstdlib>
#include "game/game.h"
#include "app/input.h"
#include "app/main.h"
#include "app/records.h"
#include "gfx/gfx.h"
#include "player/player.h"
#include "questions/questions.h"
#include "sound/sound.h"

int level;
int lifelines_used;

// Loads the tier that begins at level; a tier that cannot be loaded ends the program, so no
// question is ever drawn from it.
static void load_tier_or_end(void) {
    if (load_tier() != 0)
        end_on_tier_failure();
}

static void redraw(int panel_flags, int text_flags) {
    draw_panel_layer(panel_flags);
    draw_text_layer(text_flags);
}

// A fresh question on the board, noted as met.
static void next_question(bool first_of_game = false) {
    draw_question();
    question_met(first_of_game);
}

static void clear_selection(void) {
    for (int &state : answer_state)
        state = 0;
}

void new_game(void) {
    level = 1;
    load_tier_or_end();
    next_question(true);
    draw_text_layer(TEXT_INTRO);
    draw_panel_layer(PANEL_NO_QUESTION);
    lifelines_used = 0;
    play_effect(EFFECT_INTRO);
    // Any click, Space or Enter leaves the intro, Escape too; H shows the hall of fame over it.
    while (wait_click_or_leave_key() == AREA_HALL)
        show_hall_of_fame();
    draw_text_layer(TEXT_QUESTION);
    draw_panel_layer(0);
}

// Presents frames for n ticks of the clock, as a wait does.
static void present_for_ticks(int n) {
    tick_count = 0;
    while (tick_count < n)
        wait_frame(present_frame);
}

void blink_correct(void) {
    int remembered = answer_state[correct_slot];
    for (int cycle = 0; cycle < 3; cycle++) {
        answer_state[correct_slot] = 2;
        draw_panel_layer(0);
        present_for_ticks(30);
        answer_state[correct_slot] = remembered;
        draw_panel_layer(0);
        present_for_ticks(30);
    }
}

// Keeps the result, shows the board of the finished game with the marker on row, then the
// final screen with the title of that row. The game is over.
static int end_game(int row, int ending) {
    record_game(ending == ENDING_WON ? 15 : level - 1, row, ending);
    level = row;
    redraw(PANEL_NO_QUESTION, 0);
    level = row + 1;
    play_effect(row == 15 ? EFFECT_WIN : EFFECT_GAME_OVER);
    show_final_screen();
    return 1;
}

// Only "ANO" or "NIE" end the prompt; every other click, Escape included, is ignored.
static int wait_for_confirmation(void) {
    int area;
    do
        area = wait_click();
    while (area != AREA_ANO && area != AREA_NIE);
    return area;
}

// Up one row: the next tier is read before the banner, then the next question is drawn.
static int climb(void) {
    level++;
    int safe_row_reached = level % 5 == 1; // rows 5 and 10: the next tier begins
    if (safe_row_reached)
        load_tier_or_end();
    play_effect(safe_row_reached ? EFFECT_SAFE_ROW : EFFECT_LEVEL_UP);
    show_level_banner();
    next_question();
    redraw(0, TEXT_QUESTION);
    return 0;
}

static int answer_with_confirmation(int slot) {
    answer_state[slot] = 1;
    redraw(PANEL_CONFIRM, TEXT_QUESTION | TEXT_PROMPT);
    play_effect(EFFECT_PROMPT);
    int choice = wait_for_confirmation();
    draw_text_layer(TEXT_QUESTION);
    if (choice == AREA_NIE) {
        clear_selection();
        draw_panel_layer(0);
        return 0;
    }
    play_effect(EFFECT_TENSION);
    blink_correct();
    clear_selection();
    redraw(0, 0);
    play_effect(slot == correct_slot ? EFFECT_RIGHT : EFFECT_WRONG);
    if (slot != correct_slot)
        return end_game(level - ((level - 1) % 5 + 1), ENDING_WRONG); // back to the last safe row
    if (level == 15)
        return end_game(15, ENDING_WON);
    return climb();
}

// Removes two wrong answers, keeping the correct one and one wrong one chosen at random.
static void fifty_fifty(void) {
    int kept = (correct_slot + rand() % 3 + 1) % 4;
    for (int slot = 0; slot < 4; slot++)
        if (slot != correct_slot && slot != kept)
            shown_question.answer_text[slot][0] = '\0';
}

// Parks the question on the board in the entry the tier fills last, so it is not drawn again
// in this tier, and draws another.
static void switch_question(void) {
    recent_questions[0] = recent_questions[level % 5];
    next_question();
}

static void third_lifeline(void) {}

namespace {
struct Lifeline {
    int bit;
    void (*apply)(void);
    int effect;
};
} // namespace
static const Lifeline LIFELINES[3] = {
    {LIFELINE_FIFTY, fifty_fifty, EFFECT_FIFTY},
    {LIFELINE_SWITCH, switch_question, EFFECT_SWITCH},
    {LIFELINE_THIRD, third_lifeline, EFFECT_THIRD},
};

// A lifeline works once per game; a used one does nothing.
static void use_lifeline(int k) {
    const Lifeline &l = LIFELINES[k];
    if (lifelines_used & l.bit)
        return;
    l.apply();
    lifelines_used |= l.bit;
    redraw(0, TEXT_QUESTION);
    play_effect(l.effect);
}

int play_turn(void) {
    int area = wait_click();
    if (area >= 0 && area <= 3)
        return shown_question.answer_text[area][0] ? answer_with_confirmation(area) : 0;
    if (area >= AREA_FIFTY && area <= AREA_THIRD)
        use_lifeline(area - AREA_FIFTY);
    else if (area == AREA_EXIT)
        return end_game(level - 1, ENDING_WALKED); // walking away keeps the last row answered
    return 0;
}
