// The review of the tiers together that rebrik-check prints.
#include <gtest/gtest.h>
#include <algorithm>
#include <fstream>
#include "harness/harness.h"

static std::string found;

// Loads a's and b's blocks as tiers a.txt and b.txt, each filled to six; what their review finds.
static std::string review(const std::string &a, const std::string &b) {
    found.clear();
    for (std::string tier : {"a", "b"}) {
        std::string text = "6\n" + (tier == "a" ? a : b),
                    path = scratch_folder(tier.c_str()) + "/q";
        for (int i = std::count(text.begin(), text.end(), '\n') / 5; i < 6; i++)
            for (const char *part : {"Výplň ", "k", "l", "m", "n"})
                text += part + tier + std::to_string(i) + (part[1] ? "?\n" : "\n");
        std::ofstream(path) << text;
        EXPECT_TRUE(load_question_file(path.c_str()) == 0) << text;
        add_to_bank_review((tier + ".txt").c_str());
    }
    review_bank([](const char *file, int line, const char *text) {
        found += std::string(file) + ":" + std::to_string(line) + ": " + text + "\n";
    });
    return found;
}

static const std::string STUR = "Ľudovít Štúr\nJán Kollár\nAnton Bernolák\nJán Hollý\n",
                         XYZW = "\nx\ny\nz\nw\n", KRIVAN = "Kde je Kriváň?\n1\n2\n3\n4\n",
                         GIVEN = "a.txt:2: spravnu odpoved prezradza text otazky na b.txt:2",
                         NEAR = "b.txt:2: na tu istu vec sa pyta aj otazka na a.txt:2\n",
                         BARDS = "William Shakespeare\nChristopher Marlowe\nOscar Wilde\n";

// Each rule of the review across tiers warns on its pair of questions and not on the near one:
// the same question in any case, diacritics, spacing or split, also in one file (an exact copy is
// the per-file review's); the same answers in any order (not three of four, nor four numbers); a
// text holding another's correct answer, a year or a name or long word in another form, as a
// whole word (once per question, with the count); the correct answer alone abbreviated to an
// initial, alone a number (not inside a name), longer than each wrong one by half; the same
// correct answer in any form with texts sharing most content words (not another fact of the same
// answer); on the same subject, a short answer or a surname in a text in any form.
TEST(BankReview, EachRuleWarnsOnItsPairAndNotOnTheNearOne) {
    const std::string cases[][3] = {
        {KRIVAN, "KDE  je\tKRIVAN ?\n5\n6\n7\n8\n", "b.txt:2: ta ista otazka je aj na a.txt:2\n"},
        {KRIVAN + "Kde je kriváň?\n5\n6\n7\n8\n", "", "a.txt:7: ta ista otazka je aj na a.txt:2\n"},
        {KRIVAN, "Kde je Sitno?\n5\n6\n7\n8\n", ""},
        {KRIVAN + "Kde je Kriváň?\n5\n6\n7\n8\n", "", ""}, // exact: the per-file review's
        {"Kto?\nEva\nIvan\nJán\nOľga\n", "Kde?\nján\nOľga\nEva\nIvan\n",
         "b.txt:2: tie iste odpovede ma aj otazka na a.txt:2\n"},
        {"Kto?\nEva\nIvan\nJán\nOľga\n", "Kde?\nEva\nIvan\nJán\nPeter\n", ""},
        {"Koľko?\n5\n6\n7\n8\n", "Koľko ešte?\n8\n7\n6\n5\n", ""},
        {"Kedy vznikla SR?\n1993\n1989\n1918\n1968\n",
         "V roku 1993 čo?" + XYZW + "Aj 1993?\nx\ny\nz\nv\n", GIVEN + " (a dalsich: 1)\n"},
        {"Koľko je 6 + 6?\n12\n11\n13\n14\n", "Prečo 12 mesiacov?" + XYZW, ""}, // 12 is no year
        {"Kto kodifikoval?\n" + STUR, "Čo s Ľudovítom Štúrom?" + XYZW, GIVEN + "\n"},
        {"Kto kodifikoval?\n" + STUR, "Čo so Štúrom?" + XYZW, ""},
        {"Aké mesto?\nTrenčín\nTrnava\nNitra\nŽilina\n", "Hrad v Trenčíne?" + XYZW, GIVEN + "\n"},
        {"Aké mesto?\nTrenčín\nTrnava\nNitra\nŽilina\n", "Aké sú trenčianske hrady?" + XYZW, ""},
        {"Aká rieka?\nMorava\nDunaj\nHron\nVáh\n", "Kde tečie rieka Morava?" + XYZW, GIVEN + "\n"},
        {"Aká rieka?\nMorava\nDunaj\nHron\nVáh\n", "Kto vládol Veľkej Morave?" + XYZW, ""},
        {"Aké mesto?\nNitra\nTrnava\nSenec\nŽilina\n", "Hrad v Nitre?" + XYZW, ""},
        {"Kto?\nĽ. Štúr\nJán Kollár\nAnton Bernolák\nJán Hollý\n", "",
         "a.txt:3: spravna odpoved sa od nespravnych lisi skratenim mena (inicialou s bodkou)\n"},
        {"Kto?\nĽ. Štúr\nJ. Kollár\nAnton Bernolák\nJán Hollý\n", "", ""},
        {"Koľko?\n4\ntri\npäť\nšesť\n", "",
         "a.txt:3: spravna odpoved sa od nespravnych lisi tym, ci je cislom\n"},
        {"Ktorá?\n0 negatívna\nAB pozitívna\nA negatívna\nB pozitívna\n", "", ""},
        {"Kde?\nBanská Štiavnica\nNitra\nŽilina\nKošice\n", "",
         "a.txt:3: spravna odpoved je o viac ako polovicu dlhsia ako kazda nespravna\n"},
        {"Koľko?\ndesať\ntri\ndva\npäť\n", "", ""},
        {"Ktorá speváčka vydala v roku 2011 album 21?\nAdele\nDuffy\nDido\nSia\n",
         "Kto vydal album 21 v roku 2011?\nadele\nMadonna\nCher\nBjörk\n", NEAR},
        {"Kto napísal Hamleta?\n" + BARDS + "Ben Jonson\n",
         "Kto napísal Rómea?\n" + BARDS + "Ján Hollý\n", ""}, // the same answer, another fact
        {"Ktorá rieka preteká Ružomberkom?\nVáh\nHron\nNitra\nOrava\n",
         "Ktorá rieka ústi do Váhu v Ružomberku?" + XYZW, GIVEN + "\n"},
        {"Ktorá rieka preteká Ružomberkom?\nVáh\nHron\nNitra\nOrava\n", "Kde pramení Váh?" + XYZW,
         ""}, // another subject
        {"Kto napísal Hamleta?\n" + BARDS + "Ben Jonson\n",
         "Kde žil Shakespeare, autor Hamleta?" + XYZW, GIVEN + "\n"},
        {"Kto povedal Myslím, teda som?\nRené Descartes\nJohn Locke\nDavid Hume\nImmanuel Kant\n",
         "Kde povedal Descartes vetu „Myslím, teda som“?" + XYZW, GIVEN + "\n"},
    };
    for (const auto &[a, b, want] : cases)
        EXPECT_EQ(review(a, b), want) << a << "--\n" << b;
}
