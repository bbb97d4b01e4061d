// Placeholder question bank until the real loader lands: one fixed question.
#include <cstring>
#include "questions/questions.h"

QuestionRecord *question_set = nullptr;
int question_count = 0;
int recent_questions[5] = {-1, -1, -1, -1, -1};
ShownQuestion shown_question;
int question_lines = 1;
int correct_slot = 0;
int answer_state[4];

const char *tier_file_name(int at_level) {
    return at_level >= 11 ? "tazke.txt" : at_level >= 6 ? "stredne.txt" : "lahke.txt";
}

int load_tier(void) {
    return 0;
}

void draw_question(void) {
    std::strcpy(shown_question.line1, "?");
    correct_slot = 0;
}

void end_on_tier_failure(void) {
}
