// Question bank: tier files, the question draw and answer shuffle.
#pragma once

// One question of a tier file in memory.
struct QuestionRecord {
    char line1[55];
    char line2[55];     // set only when line_count is 2
    char answers[4][25]; // answers[0] is the correct one
    int line_count;
};

// The question on the board, answers in slot order A..D; "" marks a removed answer.
struct ShownQuestion {
    char line1[55];
    char line2[55];
    char answer_text[4][25];
};

// Tier state.
extern QuestionRecord *question_set;
extern int question_count;
extern int recent_questions[5];

// The drawn question.
extern ShownQuestion shown_question;
extern int question_lines;
extern int correct_slot;
extern int answer_state[4]; // 0 normal, 1 selected, 2 correct

// The file of the tier that starts at this level ("lahke.txt", "stredne.txt", "tazke.txt").
const char *tier_file_name(int at_level);

// Loads the tier file chosen by level. 0 on success; 1 when it is missing or refused.
int load_tier(void);

// Puts a question of the loaded tier not drawn before on the board, answers shuffled.
void draw_question(void);

// Ends the program in an orderly way after load_tier failed: message, exit status 1.
void end_on_tier_failure(void);
