#include <gtest/gtest.h>

#include <string>

#include "util/file_name_text.h"
#include "util/text_clean.h"
#include "util/text_edit.h"
#include "util/text_search.h"
#include "util/text_span.h"

using namespace util;

namespace {
// A writable field holding exactly `text`.
std::span<char> field(std::string& text) {
    return std::span<char>(text.data(), text.size());
}
}  // namespace

TEST(TextSearch, FindsAndMeasuresWithinTheCount) {
    EXPECT_EQ(INDSTR("    ", 4), 0);
    EXPECT_EQ(IBGSTR("    ", 4), 0);
    EXPECT_EQ(INDSTR("AB  C  ", 7), 5);
    EXPECT_EQ(INDSTR("AB  C  ", 3), 2);
    EXPECT_EQ(IBGSTR("  AB", 4), 3);
    EXPECT_EQ(IFNDPT("ABCABC", 6, "CA", 2), 3);
    EXPECT_EQ(IFNDPT("AB", 2, "ABC", 3), 0);   // pattern longer than the text
    EXPECT_EQ(IFNDPT("XXAB", 3, "AB", 2), 0);  // would run past N
    EXPECT_EQ(IFNDPT("AB", 50, "AB", 2), 1);   // counts beyond the field are cut
    EXPECT_EQ(IFNDPT("AB", 0, "A", 1), 0);
    EXPECT_EQ(IWDSTR("A.B.C", 5, '.'), 4);
    EXPECT_EQ(IWDSTR("ABC", 3, '.'), 0);
    EXPECT_EQ(KNTCHR("A.B.C", 4, '.'), 2);
    EXPECT_EQ(IFIRSTINT("AB12C345", 8), 3);
    EXPECT_EQ(IFIRSTINT("ABC", 3), 0);
    EXPECT_EQ(ILASTINT("AB12C345", 8, 3), 4);
    EXPECT_EQ(ILASTINT("AB12C345", 8, 6), 8);
    EXPECT_EQ(ILASTINT("AB12C345", 8, 5), 0);
    EXPECT_EQ(ILASTINT("AB12C345", 8, 9), 0);
    EXPECT_EQ(IDNTCL("ABCD", "abXd", 4), 2);
    EXPECT_EQ(IDNTCL("abcd", "abcd", 4), 0);  // A is not upper-cased
}

TEST(TextSearch, KeywordPatternAllowsAbbreviation) {
    EXPECT_TRUE(LCUQEQ("ELEV     ", "ELEVation", 9));
    EXPECT_TRUE(LCUQEQ("ELEVATION", "ELEVation", 9));
    EXPECT_TRUE(LCUQEQ("ELEVation", "ELEVation", 9));
    EXPECT_FALSE(LCUQEQ("ELEX     ", "ELEVation", 9));
    EXPECT_FALSE(LCUQEQ("ELEVXTION", "ELEVation", 9));
    EXPECT_FALSE(LCUQEQ("elev     ", "ELEVation", 9));  // capitals must be exact
}

TEST(TextEdit, ShiftMovesWithinTheCountOnly) {
    std::string s = "ABCDE";
    SHFSTR(field(s), 5, 2);
    EXPECT_EQ(s, "  ABC");
    s = "ABCDE";
    SHFSTR(field(s), 4, -1);
    EXPECT_EQ(s, "BCD E");
    for (int k : {5, -5, 7, 0, -2147483647 - 1}) {
        s = "ABCDE";
        SHFSTR(field(s), 5, k);
        EXPECT_EQ(s, "ABCDE") << k;
    }
}

TEST(TextEdit, CopyFillAndReplaceCharacters) {
    std::string s = "......";
    COPSTR(field(s), "ABCDEFGH", 4);
    EXPECT_EQ(s, "ABCD..");
    COPCHR(field(s), 2, '*');
    EXPECT_EQ(s, "**CD..");
    RPLCHR(field(s), 5, '.', '-');
    EXPECT_EQ(s, "**CD-.");
}

TEST(TextEdit, TrailingCharactersAreStripped) {
    std::string s = "1.2500";
    int n = 6;
    NTRAIL(field(s), n, '0');
    EXPECT_EQ(s, "1.25  ");
    EXPECT_EQ(n, 4);
    s = "0000";
    n = 4;
    NTRAIL(field(s), n, '0');
    EXPECT_EQ(s, "    ");
    EXPECT_EQ(n, 0);
    s = "1.25";
    n = 4;
    NTRAIL(field(s), n, '0');
    EXPECT_EQ(s, "1.25");
    EXPECT_EQ(n, 4);
}

TEST(TextEdit, IntegerDigitsOnlyAndSingleBlanks) {
    std::string s = "A1-2 3x";
    INTNUMONLY(field(s), 7);
    EXPECT_EQ(s, "12 3   ");
    s = "ab12";
    INTNUMONLY(field(s), 4);
    EXPECT_EQ(s, "12  ");

    s = "  A   B C  ";
    NODOUBLEBLANK(field(s));
    EXPECT_EQ(s, " A B C     ");
}

TEST(TextEdit, WordsAreReadOneByOne) {
    std::string word(10, '?');
    int ipos = 1;
    NXTWRD("  AB CD", 7, ipos, field(word), 10);
    EXPECT_EQ(word, "AB        ");
    EXPECT_EQ(ipos, 6);
    NXTWRD("  AB CD", 7, ipos, field(word), 10);
    EXPECT_EQ(word, "CD        ");
    EXPECT_EQ(ipos, 8);
    NXTWRD("  AB CD", 7, ipos, field(word), 10);
    EXPECT_EQ(word, std::string(10, ' '));
    EXPECT_EQ(ipos, 8);

    std::string shortWord(3, '?');
    ipos = 1;
    NXTWRD("LONGWORD X", 10, ipos, field(shortWord), 3);
    EXPECT_EQ(shortWord, "LON");
    EXPECT_EQ(ipos, 10);  // past the whole word

    EXPECT_EQ(NWORDS("  AB CD  EF ", 12), 3);
    EXPECT_EQ(NWORDS("     ", 5), 0);
    EXPECT_EQ(NWORDS("AVERYLONGWORDINDEED B", 21), 2);
}

TEST(TextEdit, WordsAreAddedWithOneBlankBetween) {
    std::string dest(10, ' ');
    int ipos = 1;
    ADDWRD(field(dest), 10, ipos, "ABC   ", 6);
    EXPECT_EQ(ipos, 5);
    ADDWRD(field(dest), 10, ipos, "DEFGHIJ", 7);  // cut to NDEST - IPOS
    EXPECT_EQ(dest, "ABC DEFGH ");
    EXPECT_EQ(ipos, 11);
    ADDWRD(field(dest), 10, ipos, "K", 1);  // no room left: unchanged
    EXPECT_EQ(dest, "ABC DEFGH ");
    EXPECT_EQ(ipos, 11);
}

TEST(TextEdit, ReplacingPatternsNeverSearchesInsertedText) {
    std::string s = "A A  ";
    EXPECT_EQ(IRPLPT(field(s), 5, "A", 1, "BB", 2), 2);
    EXPECT_EQ(s, "BB BB");

    s = "AAB";
    EXPECT_EQ(IRPLPT(field(s), 3, "A", 1, "AA", 2), 2);
    EXPECT_EQ(s, "AAA");  // the second A is pushed out of the field

    s = "XAXBX ";
    EXPECT_EQ(IRPLPT(field(s), 6, "X", 1, "", 0), 3);
    EXPECT_EQ(s, "AB    ");

    s = "AB";
    EXPECT_EQ(IRPLPT(field(s), 2, "", 0, "X", 1), 0);
}

TEST(TextEdit, ReplacingWithEmptyTextAtTheEndTerminates) {
    std::string s = "ABCD";
    EXPECT_EQ(IRPLPT(field(s), 4, "CD", 2, "", 0), 1);
    EXPECT_EQ(s, "AB  ");

    s = "ABC";  // the shift cannot happen: the rest is blanked
    EXPECT_EQ(IRPLPT(field(s), 3, "C", 1, "", 0), 1);
    EXPECT_EQ(s, "AB ");

    s = "A B  C  ";  // a blank pattern must not chase the padding
    IRPLPT(field(s), 8, " ", 1, "", 0);
    EXPECT_EQ(s, "ABC     ");

    s = "AB";  // growing by more than the rest
    EXPECT_EQ(IRPLPT(field(s), 2, "B", 1, "XYZ", 3), 1);
    EXPECT_EQ(s, "AX");
}

TEST(TextClean, CaseConversion) {
    std::string s = "abZ9\xe9q";
    LCTOUC(field(s), 5);
    EXPECT_EQ(s, "ABZ9\xe9q");
    UCTOLC(field(s), 2, 3);
    EXPECT_EQ(s, "Abz9\xe9q");
    UCTOLC(field(s), 3, 2);
    EXPECT_EQ(s, "Abz9\xe9q");
    UCTOLC(field(s), -3, 99);
    EXPECT_EQ(s, "abz9\xe9q");
}

TEST(TextClean, UniquePrefixesStayInUpperCase) {
    std::vector<base::FixedString<10>> names = {"PROFILE1", "PROFILE2", "MAP"};
    UNQ10(names, 3);
    EXPECT_EQ(names[0], base::FixedString<10>("PROFILE1"));
    EXPECT_EQ(names[1], base::FixedString<10>("PROFILE2"));
    EXPECT_EQ(names[2], base::FixedString<10>("Map"));

    std::vector<base::FixedString<10>> pair = {"GRAVITY", "GRADIENT"};
    UNQ10(pair, 2);
    EXPECT_EQ(pair[0], base::FixedString<10>("GRAVity"));
    EXPECT_EQ(pair[1], base::FixedString<10>("GRADient"));
}

TEST(TextClean, UnprintableBytesAreBlanked) {
    std::string s =
        "\xe9\x85\xb0\x09"
        "A\x7f\xa8\xa9\xdf\xe0\xfc\xfd";
    EXPECT_EQ(NCHRCK(field(s), static_cast<int>(s.size())), 6);
    EXPECT_EQ(s, "\xe9\x85  A \xa8  \xe0\xfc ");
    std::string t = "\x01";
    CHR_CHK(field(t), 0);
    EXPECT_EQ(t, "\x01");
    CHR_CHK(field(t), 1);
    EXPECT_EQ(t, " ");
}

TEST(TextClean, FileNameCharactersAreReplaced) {
    std::string s = "a<b>c\\d/e:f\"g*h?i|j\tk";
    VALIDATEFILENAME(field(s), static_cast<int>(s.size()), '_');
    EXPECT_EQ(s, "a_b_c_d_e_f_g_h_i_j_k");
}

TEST(TextClean, EbcdicBecomesAscii) {
    std::string s = "\xc8\x85\x93\x93\x96\x40\xe6\xf1\x4b\x5c\x7d\x7f\xc0\xd0\xe0\x6a";
    ECD2ASC(field(s), static_cast<int>(s.size()));
    EXPECT_EQ(s, "Hello W1.*'\"{}\\|");
    std::string all(256, ' ');
    for (int b = 0; b < 256; ++b)
        all[b] = static_cast<char>(b);
    ECD2ASC(field(all), 256);
    EXPECT_EQ(all[0xC1], 'A');
    EXPECT_EQ(all[0xE9], 'Z');
    EXPECT_EQ(all[0xA2], 's');
    EXPECT_EQ(all[0xF9], '9');
    EXPECT_EQ(all[0x79], '\'');
    EXPECT_EQ(all[0xCA], ' ');
    EXPECT_EQ(all[0x00], ' ');
}

TEST(FileNameText, DirectoryAndExtensionAreRemoved) {
    std::string s = "C:\\DATA\\SURVEY\\LINE1.TQM   ";
    FILENAMEONLY(field(s));
    EXPECT_EQ(s, "LINE1" + std::string(s.size() - 5, ' '));
    s = "C:\\DATA\\SURVEY\\LINE1.TQM   ";
    FILENAMEEXTONLY(field(s));
    EXPECT_EQ(s, "LINE1.TQM" + std::string(s.size() - 9, ' '));
    s = "/home/me/profiles/LINE2.TQM";
    FILENAMEEXTONLY(field(s));
    EXPECT_EQ(s, "LINE2.TQM" + std::string(s.size() - 9, ' '));
    s = "DIR\\NOEXT  ";
    FILENAMEONLY(field(s));
    EXPECT_EQ(s, "NOEXT      ");
    s = "DIR\\";  // separator in the last place: no name
    FILENAMEEXTONLY(field(s));
    EXPECT_EQ(s, "    ");
}
