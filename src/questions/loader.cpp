// Reading a question file into the tier's set of records, with every limit checked and the
// reason and line of a refusal kept for whoever reports it.
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include "platform/platform.h"
#include "questions/questions.h"

QuestionRecord *question_set = nullptr;
int question_count = 0;
int recent_questions[5] = {-1, -1, -1, -1, -1};

int load_refusal = LOAD_OK;
int load_refusal_line = 0;
char load_file_name[QUESTION_PATH_SIZE];
int first_block_line = 0;
int last_line_read = 0;

// How an author mends a file in another encoding.
#define SAVE_AS_UTF8 "ulozte ho ako UTF-8 (Poznamkovy blok: Ulozit ako, Kodovanie UTF-8)"

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
    "na mieste suboru je priecinok",
    "na mieste suboru je nieco ine ako subor",
    ("subor je v kodovani UTF-16 (Unicode), hra cita UTF-8: " SAVE_AS_UTF8),
    "subor je vacsi ako 8 MB",
};

const char *refusal_text(int refusal) {
    return refusal >= 0 && refusal < LOAD_REFUSAL_COUNT ? REFUSAL_TEXTS[refusal] : "";
}

// Ctrl-Z ends a question file, as text files of old systems did.
constexpr int END_OF_TEXT = 26;

// A question file being read, one byte at a time, with line numbers.
struct Reader {
    const std::string *text; // the whole file, in UTF-8
    size_t at;               // the next byte's index
    int line;                // line of the next byte
    int last_line;           // line of the last byte taken; 1 before the first
    long taken;              // bytes taken so far
    bool ended;              // end of file or Ctrl-Z met: nothing more is read
    // Null while the game loads, which stops at the first refusal; the author's check gets
    // every finding here and reads on.
    void (*report)(int line, const char *text, int error);
    // The field read last, in full: bytes, UTF-8 characters, its last three bytes but spaces.
    long field_bytes, field_chars;
    unsigned field_tail;
    // Per block read while checking, the marks the check for shifted blocks looks at.
    std::vector<unsigned char> marks;
    int nul_line; // the last line named for a NUL byte
};

// The next byte, with CR dropped right before LF; EOF from the end of file or a Ctrl-Z on.
static int next_byte(Reader *r) {
    if (r->ended)
        return EOF;
    const std::string &text = *r->text;
    int c = r->at < text.size() ? (unsigned char)text[r->at++] : EOF;
    if (c == '\r' && r->at < text.size() && text[r->at] == '\n')
        c = text[r->at++];
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
        if (c == 0 && r->report && r->nul_line != r->last_line) {
            r->nul_line = r->last_line;
            r->report(r->last_line, "v riadku je bajt 0 (NUL): hra text od neho neukaze", 0);
        }
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

// Windows-1250, the older Slovak Windows encoding: the code point of each byte from 0x80 on, 0
// where it has none.
static const unsigned short WINDOWS_1250[128] = {
    0x20AC, 0,      0x201A, 0,      0x201E, 0x2026, 0x2020, 0x2021, 0,      0x2030, 0x0160, 0x2039,
    0x015A, 0x0164, 0x017D, 0x0179, 0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0,      0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141,
    0x00A4, 0x0104, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB,
    0x013D, 0x02DD, 0x013E, 0x017C, 0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3,
    0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, 0x010D, 0x00E9, 0x0119, 0x00EB,
    0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

// A file is Windows-1250 when more of its bytes past ASCII break UTF-8 than form it (a UTF-8
// file with a stray byte stays as it is) and each of them is a character there. It is then
// converted to UTF-8 in place; the line of its first byte past ASCII is returned, else 0.
static int convert_windows_1250(std::string *text) {
    const unsigned char *s = reinterpret_cast<const unsigned char *>(text->c_str());
    size_t size = text->size(), broken = 0, formed = 0;
    for (size_t i = 0; i < size;) {
        int n = utf8_sequence(s + i);
        broken += n == 0;
        formed += n > 1;
        i += n ? size_t(n) : 1;
    }
    if (broken <= formed)
        return 0;
    std::string utf8;
    int line = 1, first = 0;
    for (size_t i = 0; i < size; i++) {
        unsigned c = s[i] < 0x80 ? s[i] : WINDOWS_1250[s[i] - 0x80];
        line += c == '\n';
        if (s[i] < 0x80) {
            utf8 += char(c);
            continue;
        }
        if (!c)
            return 0; // no character of Windows-1250: the file stays as it is
        first = first ? first : line;
        if (c >= 0x800)
            utf8 += char(0xE0 | c >> 12);
        utf8 += char((c >= 0x800 ? 0x80 | (c >> 6 & 0x3F) : 0xC0 | c >> 6));
        utf8 += char(0x80 | (c & 0x3F));
    }
    *text = utf8;
    return first;
}

// Notepad's "Unicode": UTF-16 with its byte-order mark, or without one little-endian, its first
// character ASCII.
static bool is_utf16(const std::string &text) {
    return text.size() >= 2 && ((text[0] == '\xFF' && text[1] == '\xFE') ||
                                (text[0] == '\xFE' && text[1] == '\xFF') || (text[0] && !text[1]));
}

// A bank of this size holds some 40,000 questions of the longest kind (the game's three hold 2,126
// in 0.2 MB): a bigger file is something else under the name (a picture, a film), refused before
// it is read into memory.
constexpr long MAX_QUESTION_FILE = 8L << 20;

// The refusal for what read_whole_file found, by READ_*.
static const int READ_REFUSALS[] = {LOAD_OK,         LOAD_NOT_OPENED, LOAD_TOO_BIG,
                                    LOAD_NOT_OPENED, LOAD_FOLDER,     LOAD_NOT_A_FILE};

// Reads the file with the reader's reporting; the result of read_file, or 1 when not read.
static int read_path(const char *path, void (*report)(int line, const char *text, int error)) {
    release_set();
    std::snprintf(load_file_name, sizeof load_file_name, "%s", path);
    load_refusal = LOAD_OK;
    load_refusal_line = 0;
    first_block_line = 0;
    last_line_read = 0;
    std::string text;
    int unread = READ_REFUSALS[read_whole_file(path, &text, MAX_QUESTION_FILE)];
    if (unread == LOAD_OK && is_utf16(text)) {
        load_refusal_line = 1;
        unread = LOAD_UTF16;
    }
    if (unread != LOAD_OK) {
        load_refusal = unread;
        if (report)
            report(load_refusal_line, refusal_text(unread), 1);
        return 1;
    }
    int converted_at = convert_windows_1250(&text);
    if (converted_at && report)
        report(converted_at, "subor je v kodovani Windows-1250, hra ho prevedie: " SAVE_AS_UTF8, 0);
    Reader reader = {&text, 0, 1, 1, 0, false, report, 0, 0, 0, {}, 0};
    int failed = read_file(&reader);
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
