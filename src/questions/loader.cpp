// Reading a question file into the tier's set of records, with every limit checked and the
// reason and line of a refusal kept for whoever reports it.
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <vector>
#include "questions/questions.h"

QuestionRecord *question_set = nullptr;
int question_count = 0;
int recent_questions[5] = {-1, -1, -1, -1, -1};

int load_refusal = LOAD_OK;
int load_refusal_line = 0;
char load_file_name[QUESTION_PATH_SIZE];
int first_block_line = 0;
int last_line_read = 0;

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

// A question file being read, one byte at a time, with line numbers.
struct Reader {
    FILE *file;
    int line;      // line of the next byte
    int last_line; // line of the last byte taken; 1 before the first
    long taken;    // bytes taken so far
    bool ended;    // end of file or Ctrl-Z met: nothing more is read
    // Null while the game loads, which stops at the first refusal; the author's check gets
    // every finding here and reads on.
    void (*report)(int line, const char *text, int error);
    // The field read last, in full: bytes, UTF-8 characters, its last three bytes but spaces.
    long field_bytes, field_chars;
    unsigned field_tail;
    // Per block read while checking, the marks the check for shifted blocks looks at.
    std::vector<unsigned char> marks;
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

// Keeps the reason and line of the first refusal, and reports it (or text) while checking.
// Returns 1 when reading stops there, which the game's load does at every refusal.
static int refuse(Reader *r, int why, const char *text = nullptr) {
    if (load_refusal == LOAD_OK) {
        load_refusal = why;
        load_refusal_line = r->last_line;
    }
    if (!r->report)
        return 1;
    r->report(r->last_line, text ? text : refusal_text(why), 1);
    return 0;
}

// A refusal after which nothing can be read, checking or not.
static int stop(Reader *r, int why) {
    refuse(r, why);
    return 1;
}

// The header as "%d" reads it: white space skipped, a sign, digits (clamped to the int range);
// then the rest of its line up to and including the line feed. A UTF-8 byte-order mark first
// (Notepad writes one) is skipped; a byte that only starts one is no number.
static int read_header(Reader *r, int *count) {
    int c = next_byte(r);
    if (c == 0xEF) {
        if (next_byte(r) != 0xBB || next_byte(r) != 0xBF)
            return stop(r, LOAD_NO_NUMBER);
        c = next_byte(r);
    }
    while (is_space(c))
        c = next_byte(r);
    bool negative = c == '-';
    if (c == '-' || c == '+')
        c = next_byte(r);
    if (!is_digit(c))
        return stop(r, LOAD_NO_NUMBER);
    long long value = 0;
    for (; is_digit(c); c = next_byte(r))
        if (value <= INT_MAX)
            value = value * 10 + (c - '0');
    *count = value > INT_MAX ? (negative ? INT_MIN : INT_MAX) : int(negative ? -value : value);
    // A check reads on through a count of one to five blocks.
    if (*count < MIN_QUESTIONS && (refuse(r, LOAD_TOO_FEW) || *count <= 0))
        return 1;
    for (; c != '\n'; c = next_byte(r))
        if (c == EOF)
            return stop(r, LOAD_HEADER_CUT);
    return 0;
}

// Reads a field up to a line feed, the end, or (when tab_ends) a TAB: its first max bytes into
// field, NUL-terminated, the rest only counted. Returns the byte that ended it (EOF at the end).
static int read_field(Reader *r, char *field, int max, bool tab_ends) {
    int n = 0;
    r->field_bytes = r->field_chars = 0;
    r->field_tail = 0;
    int c = next_byte(r);
    for (; c != '\n' && c != EOF && !(tab_ends && c == '\t'); c = next_byte(r)) {
        if (n < max)
            field[n++] = char(c);
        r->field_bytes++;
        r->field_chars += (c & 0xC0) != 0x80;
        if (c != ' ')
            r->field_tail = (r->field_tail << 8 | unsigned(c)) & 0xFFFFFF;
    }
    field[n] = '\0';
    return c;
}

// Refuses the field read last when it is over max bytes; the author is told both its bytes and
// its characters, since a letter with a diacritic takes two bytes.
static int refuse_if_long(Reader *r, int max, int why, const char *what) {
    if (r->field_bytes <= max)
        return 0;
    char text[128];
    std::snprintf(text, sizeof text, "%s: %ld bajtov, %ld znakov; najviac %d bajtov", what,
                  r->field_bytes, r->field_chars, max);
    return refuse(r, why, text);
}

// Marks of a block for the check for shifted blocks: its question line reads like a question
// (ends in "?", "...", "…" or ":"), could be an answer (one short display line), and which of its
// answers end in "?" (from bit 2 on).
enum { MARK_ASKS = 1, MARK_ANSWER_LIKE = 2, MARK_ANSWER_ASKS = 4 };

// Whether the last three bytes of a field (but spaces) end a question: "?", ":", three dots, or
// the ellipsis character (E2 80 A6 in UTF-8).
static bool ends_asking(unsigned tail) {
    unsigned last = tail & 0xFF;
    return last == '?' || last == ':' || tail == 0x2E2E2E || tail == 0xE280A6;
}

// The question line of a block: one display line, or two split at the first TAB.
static int read_question(Reader *r, QuestionRecord *q, unsigned char *marks) {
    long before = r->taken;
    const char *what = "riadok otazky je pridlhy";
    int end = read_field(r, q->line1, QUESTION_LINE_MAX, true);
    q->line_count = 1;
    bool short_line = r->field_bytes <= ANSWER_MAX;
    if (refuse_if_long(r, QUESTION_LINE_MAX, LOAD_QUESTION_TOO_LONG, what))
        return 1;
    if (end == '\t') {
        end = read_field(r, q->line2, QUESTION_LINE_MAX, false);
        q->line_count = 2;
        short_line = false;
        if (refuse_if_long(r, QUESTION_LINE_MAX, LOAD_QUESTION_TOO_LONG, what))
            return 1;
    }
    if (end == EOF)
        return stop(r, r->taken == before ? LOAD_BLOCKS_MISSING : LOAD_QUESTION_CUT);
    *marks = (ends_asking(r->field_tail) ? MARK_ASKS : 0) | (short_line ? MARK_ANSWER_LIKE : 0);
    return 0;
}

// The four answers of a block; at the end of file the remaining ones are empty.
static int read_answers(Reader *r, QuestionRecord *q, unsigned char *marks) {
    for (int k = 0; k < 4; k++) {
        read_field(r, q->answers[k], ANSWER_MAX, false);
        if (refuse_if_long(r, ANSWER_MAX, LOAD_ANSWER_TOO_LONG, "odpoved je pridlha"))
            return 1;
        if ((r->field_tail & 0xFF) == '?')
            *marks |= MARK_ANSWER_ASKS << k;
    }
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

// The header and the first `count` blocks; 1 when reading stopped at a refusal (recorded).
static int read_file(Reader *r) {
    int count = 0;
    if (read_header(r, &count))
        return 1;
    first_block_line = r->line;
    int room = 0;
    for (int i = 0; i < count; i++) {
        if (make_room(i, count, &room))
            return stop(r, LOAD_NO_MEMORY);
        unsigned char marks = 0;
        if (read_question(r, &question_set[i], &marks) || read_answers(r, &question_set[i], &marks))
            return 1;
        question_count = i + 1;
        if (r->report)
            r->marks.push_back(marks);
    }
    return 0;
}

// Warns on the first line of a shifted block, its marks m and k its first answer that asks (4 for
// none): a question line that does not ask, followed by one that does, is a line left over from
// the block above; an answer that asks further down stands where a missing line should be.
static void report_shift(Reader *r, int line, unsigned char m, int k) {
    char text[160];
    if (!(m & MARK_ASKS) && (k == 0 || k == 4))
        std::snprintf(text, sizeof text,
                      "blok je asi posunuty: riadok otazky vyzera ako odpoved (nie je tu alebo "
                      "vyssie riadok navyse?)");
    else
        std::snprintf(text, sizeof text,
                      "blok je asi posunuty: odpoved na riadku %d konci otaznikom ako otazka "
                      "(nechyba v bloku riadok?)",
                      line + 1 + k);
    r->report(line, text, 0);
}

// A block that looks shifted by a line missing or left over: an answer ends in "?", or its
// question line reads like an answer between two that ask. Each run of such blocks (a shift
// moves every later block) is reported once, on its first block, where the mistake is.
static void report_shifted_blocks(Reader *r) {
    const std::vector<unsigned char> &m = r->marks;
    bool in_run = false;
    for (size_t i = 0; i < m.size(); i++) {
        int k = 0;
        while (k < 4 && !(m[i] & MARK_ANSWER_ASKS << k))
            k++;
        bool asked_around = i > 0 && i + 1 < m.size() && (m[i - 1] & m[i + 1] & MARK_ASKS);
        bool shifted =
            k < 4 || (asked_around && (m[i] & (MARK_ASKS | MARK_ANSWER_LIKE)) == MARK_ANSWER_LIKE);
        if (shifted && !in_run)
            report_shift(r, first_block_line + 5 * int(i), m[i], k);
        in_run = shifted;
    }
}

static void release_set(void) {
    std::free(question_set);
    question_set = nullptr;
    question_count = 0;
}

// Reads the file with the reader's reporting; the result of read_file, or 1 when not opened.
static int read_path(const char *path, void (*report)(int line, const char *text, int error)) {
    release_set();
    std::snprintf(load_file_name, sizeof load_file_name, "%s", path);
    load_refusal = LOAD_OK;
    load_refusal_line = 0;
    first_block_line = 0;
    last_line_read = 0;
    FILE *file = std::fopen(path, "r");
    if (!file) {
        load_refusal = LOAD_NOT_OPENED;
        if (report)
            report(0, refusal_text(LOAD_NOT_OPENED), 1);
        return 1;
    }
    Reader reader = {file, 1, 1, 0, false, report, 0, 0, 0, {}};
    int failed = read_file(&reader);
    std::fclose(file);
    last_line_read = reader.last_line;
    if (report)
        report_shifted_blocks(&reader);
    return failed;
}

int load_question_file(const char *path) {
    if (read_path(path, nullptr)) {
        release_set();
        return 1;
    }
    for (int &entry : recent_questions)
        entry = -1;
    return 0;
}

int check_question_file(const char *path, void (*report)(int line, const char *text, int error)) {
    read_path(path, report);
    return load_refusal != LOAD_OK;
}
