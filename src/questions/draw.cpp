// The question draw: shuffles the answers into slots A..D, picks a question not drawn before in
// the tier, and puts both on the board.
#include <cstdlib>
#include <cstring>
#include "game/game.h"
#include "questions/questions.h"

ShownQuestion shown_question;
int question_lines = 1;
int correct_slot = 0;
int answer_state[4];

// Places the four answers at random: slot_answer[s] is the file position of the answer in slot s.
// A taken slot passes the answer on to the next one, D wrapping to A. Returns the correct slot.
static int shuffle_answers(int slot_answer[4]) {
    for (int s = 0; s < 4; s++)
        slot_answer[s] = -1;
    int correct = 0;
    for (int p = 0; p < 4; p++) {
        int s = std::rand() % 4;
        while (slot_answer[s] != -1)
            s = (s + 1) % 4;
        slot_answer[s] = p;
        if (p == 0)
            correct = s;
    }
    return correct;
}

// Whether the player met a question in an earlier game; null while nothing is known.
static bool (*met_before)(const QuestionRecord &q);

void use_met_questions(bool (*met)(const QuestionRecord &q)) {
    met_before = met;
}

static bool drawn_before(int q) {
    for (int entry : recent_questions)
        if (entry == q)
            return true;
    return false;
}

static bool passed_over(int q, bool fresh_only) {
    return drawn_before(q) || (fresh_only && met_before && met_before(question_set[q]));
}

// From start upward with wrap-around, the first question not passed over. The probe stops after
// one round, so a tier with no question left cannot hold the game.
static int probe(int start, bool fresh_only) {
    int q = start;
    for (int tries = 0; tries < question_count && passed_over(q, fresh_only); tries++)
        q = (q + 1) % question_count;
    return q;
}

// A random question, moved upward past those in the history and those met in earlier games; when
// the tier has no such question left, past those in the history alone.
static int choose_question(void) {
    int start = std::rand() % question_count, q = probe(start, true);
    return passed_over(q, true) ? probe(start, false) : q;
}

void draw_question(void) {
    if (!question_set || question_count <= 0)
        return;
    int slot_answer[4];
    int correct = shuffle_answers(slot_answer);
    int q = choose_question();
    recent_questions[level % 5] = q;
    const QuestionRecord &record = question_set[q];
    std::memcpy(shown_question.line1, record.line1, sizeof shown_question.line1);
    question_lines = record.line_count;
    if (question_lines == 2)
        std::memcpy(shown_question.line2, record.line2, sizeof shown_question.line2);
    for (int s = 0; s < 4; s++)
        std::memcpy(shown_question.answer_text[s], record.answers[slot_answer[s]],
                    sizeof shown_question.answer_text[s]);
    correct_slot = correct;
    for (int &state : answer_state)
        state = 0;
}
