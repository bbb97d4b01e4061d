// Question bank: tier files, the question draw and answer shuffle, and the review of a question
// file for its authors.
#pragma once

// Byte limits of a question file: a display line of a question, an answer, and the fewest
// questions a tier may hold (five levels and one switch, all different).
constexpr int QUESTION_LINE_MAX = 54;
constexpr int ANSWER_MAX = 24;
constexpr int MIN_QUESTIONS = 6;

// One question of a tier file in memory; each text ends in a zero byte.
struct QuestionRecord {
    char line1[QUESTION_LINE_MAX + 1];
    char line2[QUESTION_LINE_MAX + 1]; // set only when line_count is 2
    char answers[4][ANSWER_MAX + 1];   // answers[0] is the correct one
    int line_count;
};

// The question on the board, answers in slot order A..D; "" marks a removed answer.
struct ShownQuestion {
    char line1[QUESTION_LINE_MAX + 1];
    char line2[QUESTION_LINE_MAX + 1];
    char answer_text[4][ANSWER_MAX + 1];
};

// Tier state.
extern QuestionRecord *question_set; // null before the first load and after a failed one
extern int question_count;           // 0 after a failed load
extern int recent_questions[5];

// The drawn question.
extern ShownQuestion shown_question;
extern int question_lines;
extern int correct_slot;
extern int answer_state[4]; // 0 normal, 1 selected, 2 correct

// Why the last load failed; LOAD_OK after one that succeeded.
enum LoadRefusal {
    LOAD_OK,
    LOAD_NOT_OPENED,        // the file cannot be opened
    LOAD_NO_NUMBER,         // the header holds no number
    LOAD_TOO_FEW,           // the header's number is below MIN_QUESTIONS
    LOAD_HEADER_CUT,        // the file ends before the header's line feed
    LOAD_QUESTION_CUT,      // the file ends inside a question line
    LOAD_BLOCKS_MISSING,    // the file ends before the question line of a promised block
    LOAD_QUESTION_TOO_LONG, // a display line of a question over QUESTION_LINE_MAX bytes
    LOAD_ANSWER_TOO_LONG,   // an answer over ANSWER_MAX bytes
    LOAD_NO_MEMORY,         // no memory for the records
    LOAD_FOLDER,            // a folder stands in the file's place
    LOAD_NOT_A_FILE,        // something else (a device, a pipe) stands there
    LOAD_UTF16,             // the file is in UTF-16
    LOAD_TOO_BIG,           // the file is over 8 MB
    LOAD_REFUSAL_COUNT
};

// Room for the path of a question file, its NUL included.
constexpr int QUESTION_PATH_SIZE = 1024;

// What the last load found: the LoadRefusal, the 1-based line it was found on (0 when the file
// was not read), the file's path as given, the line of the first block's question line (block i
// starts 5 * i lines below it), and the last line read (0 when the file was not read): a line
// past it is not in the file.
extern int load_refusal;
extern int load_refusal_line;
extern char load_file_name[QUESTION_PATH_SIZE];
extern int first_block_line;
extern int last_line_read;

// The reason of a refusal in plain Slovak without diacritics, lower case, no final stop.
const char *refusal_text(int refusal);

// Reads a question file into question_set and question_count, releasing the set held before; a
// file in Windows-1250 is read converted to UTF-8, one in UTF-8 byte for byte. 0 on success (and
// the history emptied); 1 when the file is missing or refused, holding no set.
int load_question_file(const char *path);

// Reads a question file as load_question_file does, for its author: reads on past every refusal
// it can (a line too long is taken up to its limit, a count of one to five as it stands),
// reporting each as an error (the first is the one load_refusal keeps; a file not opened is
// reported on line 0), and warns on a NUL byte, once on a Windows-1250 file, and on the first line
// of blocks that look shifted by a line missing or left over. Findings come in no particular order.
// The blocks read stay loaded, refused or not, for review_question_set. 1 when the game would
// refuse the file.
int check_question_file(const char *path, void (*report)(int line, const char *text, int error));

// The file of the tier that starts at this level ("lahke.txt", "stredne.txt", "tazke.txt").
const char *tier_file_name(int at_level);

// The path of the tier file that starts at this level in folder ("" for the working directory),
// written into path. 1 when it does not fit in size bytes.
int tier_path(char *path, int size, const char *folder, int at_level);

// Sets the folder the game reads its tier files from: "" (as at start) for the working directory;
// a relative folder is taken from the folder the player started the game in. 1 when the paths of
// its files would not fit in QUESTION_PATH_SIZE, leaving the folder as it was.
int set_question_folder(const char *folder);
// The folder set last, absolute; "" for the working directory.
const char *question_folder_path(void);

// Loads the tier file chosen by level (or that starts at at_level) from the question folder. 0 on
// success; 1 when it is missing or refused.
int load_tier(void);
int load_tier_of(int at_level);

// Puts a question of the loaded tier not drawn before on the board, answers shuffled. Without a
// loaded tier it changes nothing and takes no random numbers.
void draw_question(void);

// Tells the draw which questions the player met in earlier games (null: none known, as at start).
// The draw passes over them while the tier has a question neither met nor drawn before.
void use_met_questions(bool (*met)(const QuestionRecord &q));

// The message end_on_tier_failure shows, written into text (always NUL-terminated).
void tier_failure_message(char *text, int size);

// Ends the program in an orderly way after load_tier failed: message, exit status 1.
void end_on_tier_failure(void);

// Length of the well-formed UTF-8 sequence at s, or 0 when none starts there (reads no further
// than a byte that ends it, such as a NUL).
int utf8_sequence(const unsigned char *s);

// Display width of a question line in characters of the 8-pixel font: a character per UTF-8
// sequence, a byte that starts none counts as one. *valid is cleared on any bad byte.
int utf8_length(const char *text, int *valid);

// Reports what an author should look at in the loaded set, in file order, each with its line:
// empty answers, equal answers, a question twice, bad UTF-8, a line wider than the box.
void review_question_set(void (*report)(int line, const char *text));

// Adds the loaded set to the review of the whole bank, as the tier read from file.
void add_to_bank_review(const char *file);

// Reports what an author should look at across the tiers added since the last call, each on its
// file and line and naming the other place, and then forgets them: a question twice, two
// questions with the same answers in any order, a question whose text gives away another's
// correct answer, the same correct answer asked in nearly the same words, and a correct answer
// whose form alone differs from the wrong ones'.
void review_bank(void (*report)(const char *file, int line, const char *text));
