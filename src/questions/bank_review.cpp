// Review of the three tiers together for their authors: questions that repeat, share their
// answers or give away another's answer, and correct answers that stand out by their form.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <iterator>
#include <map>
#include <string>
#include <vector>
#include "questions/questions.h"

typedef std::vector<std::string> Words;

// One question as the checks compare it: texts folded into words without case and diacritics.
struct BankEntry {
    std::string file, question; // as given, as written
    int tier, line;             // the order of its file among those added; its question line
    Words text, answers[4];
    std::vector<bool> text_capitals;     // per word of text: starts with a capital letter
    std::string answer_set;              // the folded answers sorted, for a comparison in any order
    bool telling;                        // whether a text naming the correct answer gives it away
    Words content, key;                  // the text's content words; the answer without preposition
    std::vector<bool> key_capitals;      // per word of key: starts with a capital letter
    bool surname, rare_word;             // names_answer's kinds of key, set as the review starts
    int initial[4], number[4], chars[4]; // per answer: starts with "X.", is a number; length
};

static std::vector<BankEntry> bank;
static int tiers_added;

// Slovak letters with diacritics, and a few of the neighbours': capital, small, plain letter.
static const char LETTERS[][6] = {
    "Ááa", "Ääa", "Ččc", "Ďďd", "Éée", "Ěěe", "Ííi", "Ĺĺl", "Ľľl", "Ňňn", "Óóo",
    "Ôôo", "Ööo", "Ŕŕr", "Řřr", "Ššs", "Ťťt", "Úúu", "Ůůu", "Üüu", "Ýýy", "Žžz",
};

// The plain letter of the two-byte letter at s (0 when it is none of the table's), and whether
// it is a capital.
static char plain_letter(const char *s, bool *capital) {
    for (const char *l : LETTERS) {
        *capital = std::strncmp(s, l, 2) == 0;
        if (*capital || std::strncmp(s, l + 2, 2) == 0)
            return l[4];
    }
    return 0;
}

// Splits text into lower-case words without diacritics, anything but letters and digits
// (typographic quotes and dashes too) separating them; bytes of other alphabets stay part of
// their word. Returns the words that start with a capital letter, and marks them in capitals if
// given.
static int fold(const char *text, Words *words, std::vector<bool> *capitals_at = nullptr) {
    int capitals = 0;
    bool word = false;
    for (const char *s = text; *s; s++) {
        unsigned char c = static_cast<unsigned char>(*s);
        bool capital = c >= 'A' && c <= 'Z';
        char plain = c >= 0x80 ? plain_letter(s, &capital) : std::isalnum(c) ? std::tolower(c) : 0;
        // „“ – … (E2 80 xx); a sequence cut short by the text's end is no punctuation, so the
        // skip below never passes the terminating NUL
        bool punctuation = c == 0xE2 && static_cast<unsigned char>(s[1]) == 0x80 && s[2];
        if (!plain && (c < 0x80 || punctuation)) {
            word = false;
            s += punctuation ? 2 : 0;
            continue;
        }
        if (!word && capitals_at)
            capitals_at->push_back(capital);
        if (!word)
            words->push_back(""), capitals += capital;
        word = true;
        words->back() += plain ? plain : char(c);
        s += plain && c >= 0x80;
    }
    return capitals;
}

// Whether an answer starts with an initial: a capital letter and a dot ("M. R. Štefánik").
static bool starts_with_initial(const char *a) {
    bool capital = a[0] >= 'A' && a[0] <= 'Z';
    int length = a[0] & 0x80 ? 2 : 1;
    if (length == 2)
        plain_letter(a, &capital);
    return capital && a[length] == '.';
}

// Whether a text naming this correct answer gives it away: a year, a name of two or more words,
// or an answer of six or more letters and digits. Shorter words (Rysy, Nitra, štyri) turn up in
// texts by chance.
static bool telling(const Words &a, int capitals) {
    size_t letters = 0;
    for (const std::string &w : a)
        letters += w.size();
    bool year = a.size() == 1 && (letters == 3 || letters == 4) &&
                a[0].find_first_not_of("0123456789") == std::string::npos;
    return year || capitals >= 2 || letters >= 6;
}

static void add_near_repeat_words(BankEntry *e, const char *answer);

void add_to_bank_review(const char *file) {
    for (int i = 0; i < question_count; i++) {
        const QuestionRecord &q = question_set[i];
        BankEntry e;
        e.file = file;
        e.tier = tiers_added;
        e.line = first_block_line + 5 * i;
        e.question = q.line1 + (q.line_count == 2 ? "\t" + std::string(q.line2) : "");
        fold(e.question.c_str(), &e.text, &e.text_capitals);
        Words set;
        for (int k = 0; k < 4; k++) {
            int capitals = fold(q.answers[k], &e.answers[k]), valid = 1;
            const char *a = q.answers[k];
            if (k == 0)
                e.telling = telling(e.answers[0], capitals);
            e.initial[k] = starts_with_initial(a);
            e.number[k] = !e.answers[k].empty();
            for (const std::string &w : e.answers[k])
                e.number[k] &= w.find_first_not_of("0123456789") == std::string::npos;
            e.chars[k] = utf8_length(a, &valid);
            std::string joined;
            for (const std::string &w : e.answers[k])
                joined += w + " ";
            set.push_back(joined);
        }
        add_near_repeat_words(&e, q.answers[0]);
        std::sort(set.begin(), set.end());
        for (const std::string &s : set)
            e.answer_set += s + "|";
        bank.push_back(e);
    }
    tiers_added++;
}

// Whether a word of a text is a form of a word of an answer: the same word, or for words of
// letters the same stem with an ending of up to two letters changed or added (Štúr, Štúra;
// Prešporok, Prešporku), but not a longer word (Nitra, Nitrianska). The stem keeps at least
// five letters, so unrelated words that merely start alike stay apart (Viedeň, viedol).
static bool same_word(const std::string &w, const std::string &a) {
    size_t n = a.size();
    if (n < 3 || std::isdigit(static_cast<unsigned char>(a[0])))
        return w == a;
    size_t stem = std::min(n, std::max<size_t>(5, n - 2));
    return w.size() >= n && w.size() <= n + 2 && w.compare(0, stem, a, 0, stem) == 0;
}

// Whether the words of phrase stand one after another in a question's text, each in any form,
// and not as part of a longer name (Morava in Veľká Morava): the words beside them do not
// start with a capital letter, but for the first word of the text.
static bool contains(const BankEntry &e, const Words &phrase) {
    const Words &text = e.text;
    for (size_t i = 0; !phrase.empty() && i + phrase.size() <= text.size(); i++) {
        size_t k = 0, end = i + phrase.size();
        while (k < phrase.size() && same_word(text[i + k], phrase[k]))
            k++;
        bool named_before = i > 1 && e.text_capitals[i - 1];
        bool named_after = end < text.size() && e.text_capitals[end];
        if (k == phrase.size() && !named_before && !named_after)
            return true;
    }
    return false;
}

// Near repeats: the same fact asked again in other words, and a text on the same subject that
// names another question's correct answer where the rule above is too strict: a short answer, a
// surname, a name inside a longer one or with a longer ending.

// Words of a question that say nothing of its subject. Shorter words and those starting with
// "ktor" drop as well.
static const char *const FUNCTION_WORDS[] = {
    "ako",  "aka",    "ake",    "aky",   "akom",   "akej",  "aku",    "akym",      "bol",
    "bola", "bolo",   "boli",   "kto",   "koho",   "komu",  "kolko",  "kolkokrat", "kde",
    "kedy", "ked",    "ale",    "alebo", "pre",    "pri",   "pod",    "nad",       "cez",
    "pred", "pocas",  "podla",  "vola",  "volaju", "volal", "volala", "volali",    "nazyva",
    "roku", "rokoch", "tychto", "tento", "tieto",  "tejto", "tomto",  "ten",       "ich",
    "jeho", "jej",    "aj",     "uz",    "este",   "iba",   "len",    "mal",       "mala",
    "malo", "mali",   "maju",   "su",    "preco",  "tak",   "teda",   "ani"};
// Prepositions an answer may start with (v Košiciach, s Košicami).
static const char *const PREPOSITIONS[] = {"v",   "vo",  "na",  "s",  "so", "z",
                                           "zo",  "do",  "od",  "k",  "ku", "o",
                                           "pri", "nad", "pod", "za", "po", "pred"};

static bool listed(const std::string &w, const char *const *list, size_t count) {
    for (size_t i = 0; i < count; i++)
        if (w == list[i])
            return true;
    return false;
}

static bool content_word(const std::string &w) {
    return w.size() >= 3 && w.compare(0, 4, "ktor") != 0 &&
           !listed(w, FUNCTION_WORDS, std::size(FUNCTION_WORDS));
}

// How many texts of the bank hold each word.
static std::map<std::string, int> texts_with;

// The content words of e's text, and its correct answer without a leading preposition.
static void add_near_repeat_words(BankEntry *e, const char *answer) {
    for (const std::string &w : e->text)
        if (content_word(w))
            e->content.push_back(w);
    Words words = e->text;
    std::sort(words.begin(), words.end());
    words.erase(std::unique(words.begin(), words.end()), words.end());
    for (const std::string &w : words)
        texts_with[w]++;
    fold(answer, &e->key, &e->key_capitals);
    if (e->key.size() > 1 && listed(e->key[0], PREPOSITIONS, std::size(PREPOSITIONS))) {
        e->key.erase(e->key.begin());
        e->key_capitals.erase(e->key_capitals.begin());
    }
}

// Whether two words are forms of one: numbers equal, words of letters starting with the same five
// letters (Bratislava, Bratislave; šansónov, šansoniérka), a shorter word starting the other that
// is at most two letters longer (slov, slovo, not slovenský).
static bool same_stem(const std::string &a, const std::string &b) {
    if (std::isdigit(static_cast<unsigned char>(a[0])) ||
        std::isdigit(static_cast<unsigned char>(b[0])))
        return a == b;
    size_t shorter = std::min(a.size(), b.size()), longer = std::max(a.size(), b.size());
    if (shorter <= 4)
        return longer <= shorter + 2 && a.compare(0, shorter, b, 0, shorter) == 0;
    return a.compare(0, 5, b, 0, 5) == 0;
}

// The same correct answer in any case or form: the shorter one's words start the longer one's
// (vretenica, vretenica severná).
static bool same_key(const BankEntry &a, const BankEntry &b) {
    const Words &x = a.key.size() <= b.key.size() ? a.key : b.key,
                &y = &x == &a.key ? b.key : a.key;
    if (x.empty())
        return false;
    for (size_t i = 0; i < x.size(); i++)
        if (!same_stem(x[i], y[i]))
            return false;
    return true;
}

// The content words of a that b's text shares.
static size_t shared_words(const BankEntry &a, const BankEntry &b) {
    size_t shared = 0;
    for (const std::string &w : a.content)
        for (const std::string &v : b.content)
            if (same_stem(w, v)) {
                shared++;
                break;
            }
    return shared;
}

// The same correct answer, and texts sharing most of the shorter one's content words.
static bool near_repeat(const BankEntry &a, const BankEntry &b) {
    if (!same_key(a, b))
        return false;
    size_t shared = std::min(shared_words(a, b), shared_words(b, a));
    size_t fewer = std::min(a.content.size(), b.content.size());
    return shared >= 2 && 2 * shared > fewer;
}

// How many letters of an answer word start each of its forms (word_form): all but the last two of
// eight or more, but the last one of five to seven, all of a shorter word or a number.
static size_t form_base(const std::string &a) {
    size_t n = a.size();
    if (n < 5 || std::isdigit(static_cast<unsigned char>(a[0])))
        return n;
    return n >= 8 ? n - 2 : n - 1;
}

// Whether a word of a text is a form of a word of an answer, looser than same_word: the answer
// word less its last letter or two (two of eight or more, one of five to seven, none of four)
// starts the word, which ends in up to four more letters (Bohunice, Bohuniciach; Dunaji, Dunaj;
// ozón, ozónovú; Shakespeare, Shakespearova), one more for three letters (Váh, Váhu, not med,
// medzi), but not a word derived with -sk- or -ár- (Berlín, Berlínsky; slalom, slalomárka).
// Numbers and shorter words are equal.
static bool word_form(const std::string &w, const std::string &a) {
    size_t n = a.size(), base = form_base(a);
    if (n < 3 || std::isdigit(static_cast<unsigned char>(a[0])))
        return w == a;
    size_t longest = n == 3 ? 4 : base + 4;
    if (w.size() < base || w.size() > longest || w.compare(0, base, a, 0, base) != 0)
        return false;
    std::string ending = w.substr(base);
    return ending.find("sk") == std::string::npos && ending.compare(0, 2, "ar") != 0;
}

// Whether the key of a (all of it, or its last word alone) stands in e's text in any form, a
// word of the key that starts with a capital letter as a word that does too (Francúzsko, not
// francúzsky); unless inside is set, not as part of a longer name (the words beside it start
// with a capital letter, but for the first word of the text).
static bool names_key(const BankEntry &e, const BankEntry &a, bool last_alone, bool inside) {
    size_t from = last_alone ? a.key.size() - 1 : 0, words = a.key.size() - from;
    for (size_t i = 0; i + words <= e.text.size(); i++) {
        size_t k = 0, end = i + words;
        while (k < words && word_form(e.text[i + k], a.key[from + k]) &&
               (!a.key_capitals[from + k] || e.text_capitals[i + k]))
            k++;
        bool named =
            (i > 1 && e.text_capitals[i - 1]) || (end < e.text.size() && e.text_capitals[end]);
        if (k == words && (inside || !named))
            return true;
    }
    return false;
}

// Whether many texts of the bank hold a word: one in 150, ten at least.
static bool common(const std::string &w) {
    return texts_with[w] > std::max<int>(10, int(bank.size() / 150));
}

// How many texts hold a form of a's answer of one word: of the words that start as its forms do.
static int texts_naming(const BankEntry &a) {
    const std::string &k = a.key[0], base = k.substr(0, form_base(k));
    int texts = 0;
    for (auto at = texts_with.lower_bound(base);
         at != texts_with.end() && at->first.compare(0, base.size(), base) == 0; ++at)
        texts += word_form(at->first, k) ? at->second : 0;
    return texts;
}

// Whether b's text shares a content word with a's other than a's correct answer and other than
// the words many texts hold (mesto, Slovensko): the two speak of one subject.
static bool same_subject(const BankEntry &a, const BankEntry &b) {
    for (const std::string &w : a.content) {
        bool skip = common(w);
        for (const std::string &k : a.key)
            skip |= word_form(w, k);
        for (const std::string &v : b.content)
            if (!skip && !common(v) && same_stem(w, v))
                return true;
    }
    return false;
}

// Which of names_answer's kinds a's correct answer is, once the bank's texts are counted: a name
// of two or more words whose last word of five letters or more is a surname (Descartes,
// Shakespearova), or one word of three letters or more (Váh, Dunaj) that at most eight texts name
// (not rok, USA), but not a number (a year is given_away's).
static void sort_key(BankEntry *a) {
    const Words &key = a->key;
    int capitals = int(std::count(a->key_capitals.begin(), a->key_capitals.end(), true));
    a->surname = key.size() >= 2 && capitals >= 2 && key.back().size() >= 5;
    a->rare_word = key.size() == 1 && key[0].size() >= 3 &&
                   key[0].find_first_not_of("0123456789") != std::string::npos &&
                   texts_naming(*a) <= 8;
}

// The correct answer of a named by b's text on the same subject where given_away's rule is too
// strict: a name of two or more words also inside a longer one (Matúš Čák Trenčiansky) or with a
// longer ending, its surname alone, and a rare word (sort_key).
static bool names_answer(const BankEntry &a, const BankEntry &b) {
    bool named = (a.key.size() >= 2 && names_key(b, a, false, true)) ||
                 ((a.surname || a.rare_word) && names_key(b, a, true, false));
    return named && same_subject(a, b);
}

// The same words; a question written twice exactly so in one file the review of that file
// reports already.
static bool same_question(const BankEntry &a, const BankEntry &b) {
    return a.text == b.text && !(a.tier == b.tier && a.question == b.question);
}

// Four numbers (5, 6, 7, 8) recur naturally and give nothing away.
static bool same_answers(const BankEntry &a, const BankEntry &b) {
    bool numbers = a.number[0] && a.number[1] && a.number[2] && a.number[3];
    return !numbers && a.answer_set == b.answer_set;
}

// The correct answer of a in the text of b.
static bool given_away(const BankEntry &a, const BankEntry &b) {
    return (a.telling && contains(b, a.answers[0])) || names_answer(a, b);
}

// A check of two questions: the warning stands on the first and names the first of the others
// found, and how many more there are. Checks that hold both ways look only at earlier questions.
struct PairCheck {
    bool (*found)(const BankEntry &a, const BankEntry &b);
    bool both_ways;
    const char *message;
};
static const PairCheck PAIR_CHECKS[] = {
    {same_question, false, "ta ista otazka je aj na"},
    {same_answers, false, "tie iste odpovede ma aj otazka na"},
    {given_away, true, "spravnu odpoved prezradza text otazky na"},
    {near_repeat, false, "na tu istu vec sa pyta aj otazka na"},
};

// Whether the correct answer alone differs from the three wrong ones in a feature.
static bool alone(const int feature[4]) {
    return feature[0] != feature[1] && feature[0] != feature[2] && feature[0] != feature[3];
}
static bool alone_initial(const BankEntry &e) {
    return alone(e.initial);
}
static bool alone_number(const BankEntry &e) {
    return alone(e.number);
}
// Longer by more than half, and by three characters at least (desať against tri, dva, päť).
static bool much_longer(const BankEntry &e) {
    int wrong = std::max(e.chars[1], std::max(e.chars[2], e.chars[3]));
    return 2 * e.chars[0] > 3 * wrong && e.chars[0] >= wrong + 3;
}

// A check of the form of one question's answers; the warning stands on the correct answer.
struct FormCheck {
    bool (*found)(const BankEntry &e);
    const char *message;
};
static const FormCheck FORM_CHECKS[] = {
    {alone_initial, "spravna odpoved sa od nespravnych lisi skratenim mena (inicialou s bodkou)"},
    {alone_number, "spravna odpoved sa od nespravnych lisi tym, ci je cislom"},
    {much_longer, "spravna odpoved je o viac ako polovicu dlhsia ako kazda nespravna"},
};

void review_bank(void (*report)(const char *file, int line, const char *text)) {
    for (BankEntry &e : bank)
        sort_key(&e);
    for (size_t i = 0; i < bank.size(); i++) {
        const BankEntry &a = bank[i];
        for (const PairCheck &check : PAIR_CHECKS) {
            size_t first = i, more = 0, end = check.both_ways ? bank.size() : i;
            for (size_t j = 0; j < end; j++) {
                if (j == i || !check.found(a, bank[j]))
                    continue;
                more += first != i;
                first = first == i ? j : first;
            }
            if (first == i)
                continue;
            std::string message = check.message + (" " + bank[first].file) + ":" +
                                  std::to_string(bank[first].line) +
                                  (more ? " (a dalsich: " + std::to_string(more) + ")" : "");
            report(a.file.c_str(), a.line, message.c_str());
        }
        bool answered = !a.answers[0].empty() && !a.answers[1].empty() && !a.answers[2].empty() &&
                        !a.answers[3].empty();
        for (const FormCheck &check : FORM_CHECKS)
            if (answered && check.found(a))
                report(a.file.c_str(), a.line + 1, check.message);
    }
    bank.clear();
    texts_with.clear();
    tiers_added = 0;
}
