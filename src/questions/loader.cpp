// Reading a question file into the tier's set of records, with every limit checked and the
// reason and line of a refusal kept for whoever reports it.
#include <climits>
#include <cstdio>
#include <cstdlib>
#include "questions/questions.h"

QuestionRecord *question_set = nullptr;
int question_count = 0;
int recent_questions[5] = {-1, -1, -1, -1, -1};

int load_refusal = LOAD_OK;
int load_refusal_line = 0;
char load_file_name[256];
int first_block_line = 0;

static const char *const REFUSAL_TEXTS[LOAD_REFUSAL_COUNT] = {
    "",
    "subor sa neda otvorit",
    "na zaciatku suboru chyba pocet otazok",
    "pocet otazok je mensi ako 6",
    "subor konci uz v riadku s poctom otazok",
    "subor konci uprostred riadku otazky",
    "subor ma menej otazok, nez udava jeho prvy riadok",
    "riadok otazky je dlhsi ako 54 bajtov",
    "odpoved je dlhsia ako 24 bajtov",
    "nedostatok pamate",
};

const char *refusal_text(int refusal) {
    return refusal >= 0 && refusal < LOAD_REFUSAL_COUNT ? REFUSAL_TEXTS[refusal] : "";
}

// Ctrl-Z ends a question file, as text files of old systems did.
constexpr int END_OF_TEXT = 26;
// read_field's result when the next byte would not fit.
constexpr int FIELD_FULL = -2;

// A question file being read, one byte at a time, with line numbers.
struct Reader {
    FILE *file;
    int line;      // line of the next byte
    int last_line; // line of the last byte taken; 1 before the first
    long taken;    // bytes taken so far
    bool ended;    // end of file or Ctrl-Z met: nothing more is read
};

// The next byte, with CR dropped right before LF; EOF from the end of file or a Ctrl-Z on.
static int next_byte(Reader *r) {
    if (r->ended)
        return EOF;
    int c = std::getc(r->file);
    if (c == '\r') {
        int after = std::getc(r->file);
        if (after == '\n')
            c = '\n';
        else if (after != EOF)
            std::ungetc(after, r->file);
    }
    if (c == EOF || c == END_OF_TEXT) {
        r->ended = true;
        return EOF;
    }
    r->last_line = r->line;
    r->taken++;
    if (c == '\n')
        r->line++;
    return c;
}

// The white space that "%d" skips.
static bool is_space(int c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

static bool is_digit(int c) {
    return c >= '0' && c <= '9';
}

// Keeps the reason and line of a refusal; returns 1 for the caller to pass on.
static int refuse(const Reader *r, int why) {
    load_refusal = why;
    load_refusal_line = r->last_line;
    return 1;
}

// The header as "%d" reads it: white space skipped, a sign, digits (clamped to the int range);
// then the rest of its line up to and including the line feed.
static int read_header(Reader *r, int *count) {
    int c = next_byte(r);
    while (is_space(c))
        c = next_byte(r);
    bool negative = c == '-';
    if (c == '-' || c == '+')
        c = next_byte(r);
    if (!is_digit(c))
        return refuse(r, LOAD_NO_NUMBER);
    long long value = 0;
    for (; is_digit(c); c = next_byte(r))
        if (value <= INT_MAX)
            value = value * 10 + (c - '0');
    *count = value > INT_MAX ? (negative ? INT_MIN : INT_MAX) : int(negative ? -value : value);
    if (*count < MIN_QUESTIONS)
        return refuse(r, LOAD_TOO_FEW);
    for (; c != '\n'; c = next_byte(r))
        if (c == EOF)
            return refuse(r, LOAD_HEADER_CUT);
    return 0;
}

// Reads bytes into a field of max bytes and its NUL until a line feed, the end, or (when
// tab_ends) a TAB. Returns the byte that ended it (EOF at the end), not stored, or FIELD_FULL
// when one more byte would not fit; the field is NUL-terminated either way.
static int read_field(Reader *r, char *field, int max, bool tab_ends) {
    int n = 0;
    int c = next_byte(r);
    for (; c != '\n' && c != EOF && !(tab_ends && c == '\t'); c = next_byte(r)) {
        if (n == max) {
            c = FIELD_FULL;
            break;
        }
        field[n++] = char(c);
    }
    field[n] = '\0';
    return c;
}

// The question line of a block: one display line, or two split at the first TAB.
static int read_question(Reader *r, QuestionRecord *q) {
    long before = r->taken;
    int end = read_field(r, q->line1, QUESTION_LINE_MAX, true);
    q->line_count = 1;
    if (end == '\t') {
        end = read_field(r, q->line2, QUESTION_LINE_MAX, false);
        q->line_count = 2;
    }
    if (end == FIELD_FULL)
        return refuse(r, LOAD_QUESTION_TOO_LONG);
    if (end == EOF)
        return refuse(r, r->taken == before ? LOAD_BLOCKS_MISSING : LOAD_QUESTION_CUT);
    return 0;
}

// The four answers of a block; at the end of file the remaining ones are empty.
static int read_answers(Reader *r, QuestionRecord *q) {
    for (char *answer : q->answers)
        if (read_field(r, answer, ANSWER_MAX, false) == FIELD_FULL)
            return refuse(r, LOAD_ANSWER_TOO_LONG);
    return 0;
}

// Makes room for record index `needed`. The set grows as blocks are read, up to the header's
// count, so a header that promises far more questions than the file holds costs no memory.
static int make_room(int needed, int count, int *room) {
    if (needed < *room)
        return 0;
    int grown = *room == 0 ? 64 : *room < count / 2 ? *room * 2 : count;
    if (grown > count)
        grown = count;
    void *bigger = std::realloc(question_set, sizeof(QuestionRecord) * size_t(grown));
    if (!bigger)
        return 1;
    question_set = static_cast<QuestionRecord *>(bigger);
    *room = grown;
    return 0;
}

// The header and the first `count` blocks; 1 on a refusal (already recorded).
static int read_file(Reader *r) {
    int count = 0;
    if (read_header(r, &count))
        return 1;
    first_block_line = r->line;
    int room = 0;
    for (int i = 0; i < count; i++) {
        if (make_room(i, count, &room))
            return refuse(r, LOAD_NO_MEMORY);
        if (read_question(r, &question_set[i]) || read_answers(r, &question_set[i]))
            return 1;
    }
    question_count = count;
    return 0;
}

static void release_set(void) {
    std::free(question_set);
    question_set = nullptr;
    question_count = 0;
}

int load_question_file(const char *path) {
    release_set();
    std::snprintf(load_file_name, sizeof load_file_name, "%s", path);
    load_refusal = LOAD_OK;
    load_refusal_line = 0;
    first_block_line = 0;
    FILE *file = std::fopen(path, "r");
    if (!file) {
        load_refusal = LOAD_NOT_OPENED;
        return 1;
    }
    Reader reader = {file, 1, 1, 0, false};
    int failed = read_file(&reader);
    std::fclose(file);
    if (failed) {
        release_set();
        return 1;
    }
    for (int &entry : recent_questions)
        entry = -1;
    return 0;
}
