// Review of a loaded question file for its authors: what loads but plays badly or shows badly.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include "gfx/gfx.h"
#include "questions/questions.h"

// Well-formed UTF-8 by its first byte: the sequence length and the range of the second byte
// (which rules out overlong forms, surrogates and code points past U+10FFFF).
struct Utf8Lead {
    unsigned char first_lo, first_hi;
    int length;
    unsigned char second_lo, second_hi;
};
static const Utf8Lead UTF8_LEADS[] = {
    {0xC2, 0xDF, 2, 0x80, 0xBF}, {0xE0, 0xE0, 3, 0xA0, 0xBF}, {0xE1, 0xEC, 3, 0x80, 0xBF},
    {0xED, 0xED, 3, 0x80, 0x9F}, {0xEE, 0xEF, 3, 0x80, 0xBF}, {0xF0, 0xF0, 4, 0x90, 0xBF},
    {0xF1, 0xF3, 4, 0x80, 0xBF}, {0xF4, 0xF4, 4, 0x80, 0x8F},
};

// Length of the well-formed sequence at s, or 0 when none starts there.
static int utf8_sequence(const unsigned char *s) {
    if (s[0] < 0x80)
        return 1;
    for (const Utf8Lead &lead : UTF8_LEADS) {
        if (s[0] < lead.first_lo || s[0] > lead.first_hi)
            continue;
        if (s[1] < lead.second_lo || s[1] > lead.second_hi)
            return 0;
        for (int k = 2; k < lead.length; k++)
            if (s[k] < 0x80 || s[k] > 0xBF)
                return 0;
        return lead.length;
    }
    return 0;
}

// The code point of the well-formed sequence of n bytes at s.
static int code_point(const unsigned char *s, int n) {
    static const int LEAD_BITS[5] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    int c = s[0] & LEAD_BITS[n];
    for (int k = 1; k < n; k++)
        c = c << 6 | (s[k] & 0x3F);
    return c;
}

int utf8_length(const char *text, int *valid) {
    const unsigned char *s = reinterpret_cast<const unsigned char *>(text);
    int chars = 0;
    while (*s) {
        int n = utf8_sequence(s);
        if (n == 0) {
            *valid = 0;
            n = 1;
        }
        s += n;
        chars++;
    }
    return chars;
}

// The reporter of the review under way, and whether it has named the file's encoding yet.
static void (*reporter)(int line, const char *text);
static bool named_1250;

// The bytes of Windows-1250, the older Slovak Windows encoding, for the letters with diacritics
// of Slovak and Czech and for typographic quotes, dashes and the ellipsis.
static const char WINDOWS_1250_BYTES[] = "\xE1\xC1\xE4\xC4\xE8\xC8\xEF\xCF\xE9\xC9\xEC\xCC\xED\xCD"
                                         "\xE5\xC5\xBE\xBC\xF2\xD2\xF3\xD3\xF4\xD4\xF6\xD6\xE0\xC0"
                                         "\xF8\xD8\x9A\x8A\x9D\x8D\xFA\xDA\xF9\xD9\xFC\xDC\xFD\xDD"
                                         "\x9E\x8E\x84\x93\x94\x82\x91\x92\x96\x97\x85";

// Whether each byte of text past ASCII is one of those.
static bool reads_as_1250(const char *text) {
    for (const char *s = text; *s; s++)
        if ((*s & 0x80) && !std::strchr(WINDOWS_1250_BYTES, *s))
            return false;
    return true;
}

// A text that is not UTF-8: said once per file as Windows-1250, with how to mend the file, when
// it reads as that; otherwise on its own line.
static void review_encoding(int line, const char *text) {
    int valid = 1;
    utf8_length(text, &valid);
    if (valid)
        return;
    if (!reads_as_1250(text)) {
        reporter(line, "text nie je platne UTF-8");
    } else if (!named_1250) {
        reporter(line, "subor je v kodovani Windows-1250, hra cita UTF-8: ulozte ho ako UTF-8 "
                       "(Poznamkovy blok: Ulozit ako, Kodovanie UTF-8)");
        named_1250 = true;
    }
}

// Each character of a text (a record's, so at most QUESTION_LINE_MAX bytes) that the game's font
// cannot draw, named once; bytes that are not UTF-8 are review_encoding's.
static void review_glyphs(int line, const char *text) {
    int named[QUESTION_LINE_MAX], count = 0;
    for (const unsigned char *s = reinterpret_cast<const unsigned char *>(text); *s;) {
        int n = utf8_sequence(s), c = n ? code_point(s, n) : -1;
        const unsigned char *at = s;
        s += n ? n : 1;
        if (c < 0 || glyph_drawable(c) || std::count(named, named + count, c))
            continue;
        named[count++] = c;
        char message[96];
        if (c >= 0x20 && (c < 0x80 || c >= 0xA0)) // shown as it stands, but for control characters
            std::snprintf(message, sizeof message,
                          "hra nevie nakreslit znak \"%.*s\" (U+%04X), ukaze namiesto neho ^", n,
                          reinterpret_cast<const char *>(at), c);
        else
            std::snprintf(message, sizeof message,
                          "hra nevie nakreslit znak U+%04X, ukaze namiesto neho ^", c);
        reporter(line, message);
    }
}

// What a text is and how many characters of the font fit where it stands.
enum TextPlace { WHOLE_QUESTION, FIRST_HALF, SECOND_HALF, ANSWER };
struct Room {
    const char *too_wide; // the warning, with the text's characters and the room's
    int fits;
};
static const Room ROOMS[] = {
    {"riadok otazky ma %d znakov, do ramceka sa zmesti %d", QUESTION_BOX_CHARS},
    {"prva polovica otazky (pred TAB) ma %d znakov, do ramceka sa zmesti %d", QUESTION_BOX_CHARS},
    {"druha polovica otazky (za TAB) ma %d znakov, do ramceka sa zmesti %d", QUESTION_BOX_CHARS},
    {"odpoved ma %d znakov, na tlacidlo sa zmesti %d", ANSWER_BUTTON_CHARS},
};

// A text as it will show: bad bytes, characters the font lacks, wider than its place.
static void review_text(int line, const char *text, TextPlace place) {
    int valid = 1, chars = utf8_length(text, &valid);
    review_encoding(line, text);
    review_glyphs(line, text);
    if (chars > ROOMS[place].fits) {
        char message[96];
        std::snprintf(message, sizeof message, ROOMS[place].too_wide, chars, ROOMS[place].fits);
        reporter(line, message);
    }
}

// The answers of a block, the first on line `line`: missing at the end of the file, empty, bad
// bytes, equal to an earlier one.
static void review_answers(int line, const QuestionRecord &q) {
    for (int k = 0; k < 4; k++) {
        const char *answer = q.answers[k];
        if (line + k > last_line_read) {
            char message[96];
            std::snprintf(message, sizeof message, "subor konci pred %d. odpovedou bloku: %s",
                          k + 1, k == 0 ? "otazka sa neda vyhrat" : "chybajuce hra ukaze prazdne");
            reporter(last_line_read, message);
            return;
        }
        review_text(line + k, answer, ANSWER);
        if (!answer[0]) {
            reporter(line + k, k == 0 ? "spravna odpoved je prazdna, otazka sa neda vyhrat"
                                      : "nespravna odpoved je prazdna");
            continue;
        }
        for (int j = 0; j < k; j++) {
            if (std::strcmp(q.answers[j], answer) != 0)
                continue;
            char message[96];
            std::snprintf(message, sizeof message, "odpoved je rovnaka ako na riadku %d", line + j);
            reporter(line + k, message);
            break;
        }
    }
}

static bool same_question(const QuestionRecord &a, const QuestionRecord &b) {
    return a.line_count == b.line_count && std::strcmp(a.line1, b.line1) == 0 &&
           (a.line_count != 2 || std::strcmp(a.line2, b.line2) == 0);
}

// The line of block i's question line.
static int block_line(int i) {
    return first_block_line + 5 * i;
}

void review_question_set(void (*report)(int line, const char *text)) {
    reporter = report;
    named_1250 = false;
    for (int i = 0; i < question_count; i++) {
        const QuestionRecord &q = question_set[i];
        int line = block_line(i);
        for (int j = 0; j < i; j++) {
            if (!same_question(question_set[j], q))
                continue;
            char message[96];
            std::snprintf(message, sizeof message, "otazka uz je v subore na riadku %d",
                          block_line(j));
            reporter(line, message);
            break;
        }
        review_text(line, q.line1, q.line_count == 2 ? FIRST_HALF : WHOLE_QUESTION);
        if (q.line_count == 2)
            review_text(line, q.line2, SECOND_HALF);
        review_answers(line + 1, q);
    }
}
