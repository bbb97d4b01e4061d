// libFuzzer target: any bytes as a question file, through the game's loader, the authors'
// reviews (of the file, and of the file as two tiers) and a tier's worth of draws, checking what
// the rest of the game relies on.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include "game/game.h"
#include "questions/questions.h"

int level = 1; // the game rules own it in the game; here the draws set it

// The input file; in memory where the system offers it, since rewriting a file on disk for every
// input would make the run slow.
static char path[64];

static void require(bool holds, const char *what) {
    if (!holds) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

template <size_t N> static bool terminated(const char (&field)[N]) {
    return std::memchr(field, 0, N) != nullptr;
}

// Lines of the input: its line feeds and one; no finding may name a line past them.
static int input_lines;

static void ignore_finding(int line, const char *text) {
    require(line >= 1 && line <= input_lines && text[0], "a finding on a line of the file");
}

static int errors_found;

static void count_check_finding(int line, const char *text, int error) {
    require(line >= 1 && line <= input_lines && text[0], "a check's finding on a line of the file");
    errors_found += error;
}

static int repeats_found;

// A finding of the bank review stands on a question line of one of the two copies of the set;
// the second copy repeats every question of the first.
static void count_bank_finding(const char *file, int line, const char *text) {
    bool copy = std::strcmp(file, "a") == 0 || std::strcmp(file, "b") == 0;
    int at = line - first_block_line;
    require(copy && text[0] && at >= 0 && at < 5 * question_count && at % 5 <= 1,
            "a finding on a question or correct answer of the set");
    repeats_found += std::strncmp(text, "ta ista otazka", 14) == 0;
}

// The set reviewed as two tiers that hold the same questions; big sets only cost time.
static void check_bank_review(void) {
    if (question_count > 100)
        return;
    repeats_found = 0;
    add_to_bank_review("a");
    add_to_bank_review("b");
    review_bank(count_bank_finding);
    require(repeats_found >= question_count, "each question of the second tier a repeat");
}

static void remove_input(void) {
    std::remove(path);
}

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    std::strcpy(path, "/dev/shm/rebrik-fuzz-XXXXXX");
    int fd = mkstemp(path);
    if (fd < 0) {
        std::strcpy(path, "/tmp/rebrik-fuzz-XXXXXX");
        fd = mkstemp(path);
    }
    require(fd >= 0, "a temporary file");
    close(fd);
    std::atexit(remove_input);
    return 0;
}

static void check_refused(size_t size) {
    require(!question_set && question_count == 0, "no set after a refusal");
    require(load_refusal > LOAD_OK && load_refusal < LOAD_REFUSAL_COUNT, "a refusal reason");
    require(load_refusal_line >= 1 && size_t(load_refusal_line) <= size + 1, "a refusal line");
}

static void check_loaded(void) {
    require(question_set && question_count >= MIN_QUESTIONS, "six questions at least");
    require(load_refusal == LOAD_OK, "no reason after success");
    for (int entry : recent_questions)
        require(entry == -1, "an empty history");
    for (int i = 0; i < question_count; i++) {
        const QuestionRecord &q = question_set[i];
        require(q.line_count == 1 || q.line_count == 2, "one or two lines");
        require(terminated(q.line1) && (q.line_count == 1 || terminated(q.line2)),
                "terminated question lines");
        for (const char(&answer)[ANSWER_MAX + 1] : q.answers)
            require(terminated(answer), "terminated answers");
    }
}

// A tier's five draws with a switch at the third: six different questions, each with the right
// answer at correct_slot.
static void check_draws(void) {
    static const int levels[6] = {1, 2, 3, 3, 4, 5};
    bool *seen = static_cast<bool *>(std::calloc(size_t(question_count), 1));
    for (int d = 0; d < 6; d++) {
        level = levels[d];
        if (d == 3) // the switch keeps the replaced question in the history
            recent_questions[0] = recent_questions[level % 5];
        draw_question();
        int q = recent_questions[level % 5];
        require(q >= 0 && q < question_count && !seen[q], "a question not drawn before");
        seen[q] = true;
        require(correct_slot >= 0 && correct_slot < 4, "a correct slot");
        require(std::strcmp(shown_question.answer_text[correct_slot], question_set[q].answers[0]) ==
                    0,
                "the correct answer at correct_slot");
    }
    std::free(seen);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FILE *f = std::fopen(path, "wb");
    require(f && std::fwrite(data, 1, size, f) == size && std::fclose(f) == 0, "writing input");
    // The author's check: an error exactly when the game refuses, then the review of what it read.
    input_lines = 1 + int(std::count(data, data + size, '\n'));
    errors_found = 0;
    int refused = check_question_file(path, count_check_finding);
    if (question_set)
        review_question_set(ignore_finding);
    if (load_question_file(path) != 0) {
        check_refused(size);
        require(refused && errors_found > 0, "the check refuses what the game refuses");
        return 0;
    }
    require(!refused && errors_found == 0, "the check accepts what the game loads");
    check_loaded();
    review_question_set(ignore_finding);
    check_bank_review();
    check_draws();
    return 0;
}
