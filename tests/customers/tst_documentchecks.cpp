// CPF, CNPJ and state-registration checks. Valid vectors are the examples published with each rule,
// registrations in use quoted in public bug reports, and numbers computed here step by step with the
// published rule and confirmed by independent public validators (js-brasil, inscricaoestadual and
// br-validations on npm) where those implement the rule.
#include "customers/core/DocumentChecks.h"
#include "tests/support/TestMain.h"

#include <QTest>

using namespace qav::docs;

class TestDocumentChecks : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cpf_data();
    void cpf();
    void cnpj_data();
    void cnpj();
    void ie_data();
    void ie();
    void ieOtherInput_data();
    void ieOtherInput();
    void ufValida_data();
    void ufValida();
    void formatting_data();
    void formatting();
    void stripFormatting_data();
    void stripFormatting();
};

void TestDocumentChecks::cpf_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    auto row = [](const char* text, bool valid) {
        QTest::addRow("%s", text) << QString::fromUtf8(text) << valid;
    };
    // 111.444.777: 1x10+1x9+1x8+4x7+4x6+4x5+7x4+7x3+7x2 = 162, 162 mod 11 = 8, first digit 3;
    // second: 1x11+1x10+1x9+4x8+4x7+4x6+7x5+7x4+7x3+3x2 = 204, 204 mod 11 = 6, second digit 5.
    row("111.444.777-35", true);
    row("11144477735", true);
    row("111444777-35", true);
    row("529.982.247-25", true);
    row("000.000.001-91", true);
    row("987.654.321-00", true);   // both remainders below 2
    row(" 529.982.247-25 ", true); // blanks around the number (padded fields)
    row("111.444.777-36", false);  // second check digit wrong
    row("111.444.777-45", false);  // first check digit wrong
    row("111.444.777-53", false);  // check digits swapped
    row("114.144.777-35", false);  // two base digits swapped
    row("111.444.777-3", false);   // 10 digits
    row("111.444.777-350", false); // 12 digits
    row("111.111.111-11", false);  // all equal, although the check digits add up
    row("000.000.000-00", false);  // all equal
    row("529 982 247 25", false);  // blanks inside
    row("529.982.247-2A", false);  // letter
    row("ABC.DEF.GHI-JK", false);
    row("529,982,247-25", false); // comma is not a separator
    row("", false);
}

void TestDocumentChecks::cpf() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QCOMPARE(cpfValido(text), valid);
}

void TestDocumentChecks::cnpj_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    auto row = [](const char* text, bool valid) {
        QTest::addRow("%s", text) << QString::fromUtf8(text) << valid;
    };
    row("11.222.333/0001-81", true);
    row("11222333000181", true);
    row("00.000.000/0001-91", true);
    // The Receita Federal's alphanumeric example, values = ASCII - 48 (A = 17 ... E = 21):
    // 1x5+2x4+17x3+18x2+19x9+3x8+4x7+5x6+0x5+1x4+20x3+21x2 = 459, 459 mod 11 = 8, first digit 11-8 = 3;
    // 1x6+2x5+17x4+18x3+19x2+3x9+4x8+5x7+0x6+1x5+20x4+21x3+3x2 = 424, 424 mod 11 = 6, second digit 5.
    row("12.ABC.345/01DE-35", true);
    row("12ABC34501DE35", true);
    row("12abc34501de35", true); // lower case read as upper case
    row("AB.CDE.FGH/IJKL-80", true);
    row("1A.2B3.C4D/0001-79", true);
    row(" 11.222.333/0001-81 ", true);
    row("11.222.333/0001-82", false);  // second check digit wrong
    row("11.222.333/0001-91", false);  // first check digit wrong
    row("12.ABC.345/01DE-36", false);  // second check digit wrong
    row("12.ABC.345/01DE-53", false);  // check digits swapped
    row("12.BAC.345/01DE-35", false);  // two letters swapped
    row("21.ABC.345/01DE-35", false);  // two digits swapped
    row("12.ABC.354/01DE-35", false);  // two digits swapped
    row("11.222.333/0001-8", false);   // 13 characters
    row("11.222.333/0001-811", false); // 15 characters
    row("00.000.000/0000-00", false);  // all equal, although the check digits add up
    row("11.111.111/1111-11", false);  // all equal
    row("12.ABC.345/01DE-3E", false);  // letter in a check-digit position
    row("12.ABC.345/01DE-AB", false);
    row("12.ÁBC.345/01DE-35", false); // accented letter
    row("12 ABC 345 01DE 35", false); // blanks inside
    row("", false);
}

void TestDocumentChecks::cnpj() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QCOMPARE(cnpjValido(text), valid);
}

void TestDocumentChecks::ie_data() {
    QTest::addColumn<QString>("uf");
    QTest::addColumn<QString>("ie");
    QTest::addColumn<bool>("valid");
    auto ieRow = [](const char* uf, const char* ie, bool valid) {
        QTest::addRow("%s %s", uf, ie) << QString::fromUtf8(uf) << QString::fromUtf8(ie) << valid;
    };
    // SEFAZ-AC rule: 13 digits starting with 01, two modulo-11 check digits (weights 4,3,2,9..2 then
    // 5,4,3,2,9..2).
    ieRow("AC", "01.004.823/001-12", true); // published example
    ieRow("AC", "01.234.567/891-92",
          true);                         // computed; agrees with js-brasil, inscricaoestadual, br-validations
    ieRow("AC", "0100482300113", false); // wrong check digit
    ieRow("AC", "0100482301012", false); // digits swapped
    ieRow("AC", "100482300112", false);  // one digit short
    ieRow("AC", "00100482300112", false); // one digit more
    ieRow("AC", "1100482300112", false);  // wrong prefix
    // SEFAZ-AL rule: 9 digits, "24", company kind 0/3/5/7/8 in the third digit, modulo 11 (weights 9..2).
    ieRow("AL", "240000048", true);    // published example
    ieRow("AL", "24.300.112-6", true); // computed, kind 3; agrees with the three libraries
    ieRow("AL", "24.875.310-0", true); // computed, kind 8, remainder 1 gives 0
    ieRow("AL", "240000049", false);   // wrong check digit
    ieRow("AL", "240000408", false);   // digits swapped
    ieRow("AL", "40000048", false);    // one digit short
    ieRow("AL", "2240000048", false);  // one digit more
    ieRow("AL", "340000048", false);   // wrong prefix
    ieRow("AL", "241000009", false);   // company kind 1 does not exist (check digit right)
    // SEFAZ-AM rule: 9 digits, modulo 11 with weights 9..2.
    ieRow("AM", "999999990", true);    // published example
    ieRow("AM", "05.334.305-0", true); // a registration in use, reported in a public validator's issue
    ieRow("AM", "04.123.456-1", true); // computed
    ieRow("AM", "053343051", false);   // wrong check digit
    ieRow("AM", "053343500", false);   // digits swapped
    ieRow("AM", "53343050", false);    // one digit short
    ieRow("AM", "0053343050", false);  // one digit more
    ieRow("AM", "999999991", false);   // wrong check digit
    ieRow("AM", "99999990", false);    // one digit short
    ieRow("AM", "9999999990", false);  // one digit more
    // SEFAZ-AP rule: 9 digits, "03"; p = 5, d = 0 for bases 03000001-03017000, p = 9, d = 1 for
    // 03017001-03019022, p = 0, d = 0 above; digit = 11 - (p + sum) mod 11, 10 gives 0, 11 gives d.
    ieRow("AP", "030123459", true);    // published example
    ieRow("AP", "03.005.678-6", true); // computed, first range
    ieRow("AP", "030000020", true);    // first range, 11 gives d = 0
    ieRow("AP", "030170071", true);    // second range, 11 gives d = 1
    ieRow("AP", "030190290", true);    // third range, 11 gives d = 0
    ieRow("AP", "030123450", false);   // wrong check digit
    ieRow("AP", "030123549", false);   // digits swapped
    ieRow("AP", "30123459", false);    // one digit short
    ieRow("AP", "0030123459", false);  // one digit more
    ieRow("AP", "130123459", false);   // wrong prefix
    ieRow("AP", "030000021", false);   // first range: 11 gives 0, not 1
    ieRow("AP", "030170070", false);   // second range: 11 gives 1, not 0
    // SEFAZ-BA rule: 8 digits (first digit 0-5 or 8: modulo 10, 6, 7 or 9: modulo 11) or 9 digits (same
    // choice by the second digit); the second check digit is computed first, then the first one on the base
    // followed by the second.
    ieRow("BA", "123456-63", true);   // published example, modulo 10
    ieRow("BA", "612345-57", true);   // published example, modulo 11
    ieRow("BA", "1234567-48", true);  // SEFAZ-BA example, 9 digits, modulo 10
    ieRow("BA", "1623456-51", true);  // SEFAZ-BA example, 9 digits, modulo 11
    ieRow("BA", "077.028.884", true); // in use (public issue report)
    ieRow("BA", "063571830", true);   // in use (public issue report)
    ieRow("BA", "1634567-93", true);  // computed; agrees with the three libraries
    ieRow("BA", "12345664", false);   // wrong check digit
    ieRow("BA", "12346563", false);   // digits swapped
    ieRow("BA", "2345663", false);    // one digit short
    ieRow("BA", "112345663", false);  // one digit more
    ieRow("BA", "123456749", false);  // wrong check digit
    ieRow("BA", "123457648", false);  // digits swapped
    ieRow("BA", "23456748", false);   // one digit short
    ieRow("BA", "1123456748", false); // one digit more
    // SEFAZ-CE rule: 9 digits, modulo 11 (weights 9..2).
    ieRow("CE", "06000001-5", true);   // published example
    ieRow("CE", "06.123.456-7", true); // computed; agrees with the three libraries
    ieRow("CE", "060000016", false);   // wrong check digit
    ieRow("CE", "060000105", false);   // digits swapped
    ieRow("CE", "60000015", false);    // one digit short
    ieRow("CE", "0060000015", false);  // one digit more
    // SEFAZ-DF rule: 13 digits starting with 07 or 08, two modulo-11 check digits as in Acre.
    ieRow("DF", "07300001001-09", true);    // published example
    ieRow("DF", "0759713000214", true);     // in use (public issue report)
    ieRow("DF", "08.765.432.001-84", true); // computed, prefix 08
    ieRow("DF", "0730000100100", false);    // wrong check digit
    ieRow("DF", "0730000101009", false);    // digits swapped
    ieRow("DF", "730000100109", false);     // one digit short
    ieRow("DF", "00730000100109", false);   // one digit more
    ieRow("DF", "1730000100109", false);    // wrong prefix
    // SEFAZ-ES rule: 9 digits, modulo 11 (weights 9..2).
    ieRow("ES", "999999990", true);    // published example
    ieRow("ES", "08.123.456-2", true); // computed; agrees with the three libraries
    ieRow("ES", "081234563", false);   // wrong check digit
    ieRow("ES", "081234652", false);   // digits swapped
    ieRow("ES", "81234562", false);    // one digit short
    ieRow("ES", "0081234562", false);  // one digit more
    ieRow("ES", "999999991", false);   // wrong check digit
    ieRow("ES", "99999990", false);    // one digit short
    ieRow("ES", "9999999990", false);  // one digit more
    // SEFAZ-GO rule: 9 digits, prefix 10, 11, 15 or 20-29; remainder 0 gives 0, remainder 1 gives 1 for the
    // bases 10103105-10119997 and 0 elsewhere, otherwise 11 - remainder; base 11094402 takes 0 or 1.
    ieRow("GO", "10.987.654-7", true); // published example
    ieRow("GO", "11.123.456-5", true); // computed
    ieRow("GO", "15.123.456-6", true); // computed
    ieRow("GO", "20.345.678-5", true); // computed, newer prefix (js-brasil agrees)
    ieRow("GO", "10.103.105-1", true); // remainder 1 inside the range gives 1
    ieRow("GO", "101100061", true);    // remainder 1 inside the range gives 1
    ieRow("GO", "101200030", true);    // remainder 1 outside the range gives 0
    ieRow("GO", "110944020", true);    // the exception base, digit 0
    ieRow("GO", "110944021", true);    // the exception base, digit 1
    ieRow("GO", "109876548", false);   // wrong check digit
    ieRow("GO", "109876457", false);   // digits swapped
    ieRow("GO", "09876547", false);    // one digit short
    ieRow("GO", "1109876547", false);  // one digit more
    ieRow("GO", "209876547", false);   // wrong prefix
    ieRow("GO", "101200031", false);   // remainder 1 outside the range gives 0
    ieRow("GO", "101100060", false);   // remainder 1 inside the range gives 1
    ieRow("GO", "110944022", false);   // the exception base takes only 0 or 1
    ieRow("GO", "123456789", false);   // prefix 12 (check digit right)
    // SEFAZ-MA rule: 9 digits starting with 12, modulo 11.
    ieRow("MA", "120000385", true);    // published example
    ieRow("MA", "12.104.376-2", true); // computed; agrees with the three libraries
    ieRow("MA", "120000386", false);   // wrong check digit
    ieRow("MA", "120000835", false);   // digits swapped
    ieRow("MA", "20000385", false);    // one digit short
    ieRow("MA", "1120000385", false);  // one digit more
    ieRow("MA", "220000385", false);   // wrong prefix
    // SEFAZ-MG rule: 13 digits; first check digit: "0" inserted after the municipality, weights 1,2,1,2..,
    // digits of the products added, complement to the next ten; second: modulo 11 with weights 3,2,11..2.
    ieRow("MG", "062.307.904/0081", true); // published example
    ieRow("MG", "7029855470002", true);    // in use (public issue report)
    ieRow("MG", "433.012.345/0105", true); // computed; agrees with the three libraries
    ieRow("MG", "0623079040082", false);   // wrong check digit
    ieRow("MG", "0623079004081", false);   // digits swapped
    ieRow("MG", "623079040081", false);    // one digit short
    ieRow("MG", "00623079040081", false);  // one digit more
    ieRow("MG", "P011004243002", false);   // letters
    // SEFAZ-MS rule: 9 digits starting with 28, modulo 11.
    ieRow("MS", "283115947", true);    // published example
    ieRow("MS", "28.345.678-7", true); // computed; agrees with the three libraries
    ieRow("MS", "283115948", false);   // wrong check digit
    ieRow("MS", "283115497", false);   // digits swapped
    ieRow("MS", "83115947", false);    // one digit short
    ieRow("MS", "2283115947", false);  // one digit more
    ieRow("MS", "383115947", false);   // wrong prefix
    // SEFAZ-MT rule: 11 digits (zeros completed on the left), modulo 11 on the first ten (weights 3,2,9..2).
    ieRow("MT", "0013000001-9", true);  // published example
    ieRow("MT", "0013245678-8", true);  // computed
    ieRow("MT", "132045494", true);     // nine digits as usually written: read as 00132045494
    ieRow("MT", "0132045494", true);    // ten digits
    ieRow("MT", "00130000010", false);  // wrong check digit
    ieRow("MT", "00130000109", false);  // digits swapped
    ieRow("MT", "30000019", false);     // one digit short
    ieRow("MT", "000130000019", false); // one digit more
    // SEFA-PA rule: 9 digits starting with 15 (or 75, newer numbering), modulo 11.
    ieRow("PA", "15-999999-5", true);  // published example
    ieRow("PA", "15.123.456-6", true); // computed
    ieRow("PA", "75.123.456-7", true); // computed, prefix 75 (js-brasil agrees)
    ieRow("PA", "159999996", false);   // wrong check digit
    ieRow("PA", "195999995", false);   // digits swapped
    ieRow("PA", "59999995", false);    // one digit short
    ieRow("PA", "1159999995", false);  // one digit more
    ieRow("PA", "259999995", false);   // wrong prefix
    // SEFAZ-PB rule: 9 digits, modulo 11.
    ieRow("PB", "06000001-5", true);   // published example
    ieRow("PB", "16.123.456-9", true); // computed; agrees with the three libraries
    ieRow("PB", "060000016", false);   // wrong check digit
    ieRow("PB", "060000105", false);   // digits swapped
    ieRow("PB", "60000015", false);    // one digit short
    ieRow("PB", "0060000015", false);  // one digit more
    // SEFAZ-PE rules: e-Fisco 9 digits, two modulo-11 check digits (weights 8..2, then 9..2); older 14
    // digits,
    // weights 5,4,3,2,1,9..2, 11 - remainder less 10 when it reaches 10 or 11.
    ieRow("PE", "0321418-40", true);         // published example, e-Fisco
    ieRow("PE", "0192310-24", true);         // computed, e-Fisco
    ieRow("PE", "18.1.001.0000004-9", true); // published example, older form
    ieRow("PE", "18119003256336", true);     // older form in use (public issue report)
    ieRow("PE", "1811500337842-7", true);    // older form in use (public issue report)
    ieRow("PE", "032141841", false);         // wrong check digit
    ieRow("PE", "032148140", false);         // digits swapped
    ieRow("PE", "32141840", false);          // one digit short
    ieRow("PE", "0032141840", false);        // one digit more
    ieRow("PE", "18100100000040", false);    // wrong check digit
    ieRow("PE", "18100100000409", false);    // digits swapped
    ieRow("PE", "8100100000049", false);     // one digit short
    ieRow("PE", "118100100000049", false);   // one digit more
    // SEFAZ-PI rule: 9 digits, modulo 11.
    ieRow("PI", "012345679", true);    // published example
    ieRow("PI", "19.123.456-7", true); // computed
    ieRow("PI", "012345670", false);   // wrong check digit
    ieRow("PI", "012345769", false);   // digits swapped
    ieRow("PI", "12345679", false);    // one digit short
    ieRow("PI", "0012345679", false);  // one digit more
    // SEFA-PR rule: 10 digits, two modulo-11 check digits with weights 2..7 from the right.
    ieRow("PR", "123.45678-50", true); // published example
    ieRow("PR", "90258216-93", true);  // in use (public issue report)
    ieRow("PR", "412.34567-30", true); // computed
    ieRow("PR", "1234567851", false);  // wrong check digit
    ieRow("PR", "1234568750", false);  // digits swapped
    ieRow("PR", "234567850", false);   // one digit short
    ieRow("PR", "11234567850", false); // one digit more
    // SEFAZ-RJ rule: 8 digits, modulo 11 with weights 2,7,6,5,4,3,2.
    ieRow("RJ", "99.999.99-3", true); // published example
    ieRow("RJ", "78.123.45-1", true); // computed; agrees with the three libraries
    ieRow("RJ", "99999994", false);   // wrong check digit
    ieRow("RJ", "9999993", false);    // one digit short
    ieRow("RJ", "999999993", false);  // one digit more
    // SET-RN rule: 9 or 10 digits starting with 20, (sum x 10) mod 11, 10 gives 0.
    ieRow("RN", "20.040.040-1", true);   // published example, 9 digits
    ieRow("RN", "20.0.040.040-0", true); // published example, 10 digits
    ieRow("RN", "20.123.456-4", true);   // computed
    ieRow("RN", "200400402", false);     // wrong check digit
    ieRow("RN", "200400041", false);     // digits swapped
    ieRow("RN", "00400401", false);      // one digit short
    ieRow("RN", "2200400401", false);    // one digit more
    ieRow("RN", "300400401", false);     // wrong prefix
    // SEFIN-RO rules: before August 2000 9 digits, check digit on digits 4-8 (weights 6..2); since then 14
    // digits
    // (weights 6,5,4,3,2,9..2); 11 - remainder, less 10 when it reaches 10 or 11.
    ieRow("RO", "101.62521-3", true);      // published example, older form
    ieRow("RO", "0000000062521-3", true);  // published example, 14 digits
    ieRow("RO", "101.12345-5", true);      // computed, older form
    ieRow("RO", "0000000123456-1", true);  // computed, 14 digits
    ieRow("RO", "101625214", false);       // wrong check digit
    ieRow("RO", "101625123", false);       // digits swapped
    ieRow("RO", "01625213", false);        // one digit short
    ieRow("RO", "1101625213", false);      // one digit more
    ieRow("RO", "00000000625214", false);  // wrong check digit
    ieRow("RO", "00000000625123", false);  // digits swapped
    ieRow("RO", "0000000625213", false);   // one digit short
    ieRow("RO", "000000000625213", false); // one digit more
    // SEFAZ-RR rule: 9 digits starting with 24, weights 1..8, modulo 9.
    ieRow("RR", "24006628-1", true);   // published example
    ieRow("RR", "24.123.456-8", true); // computed; agrees with the three libraries
    ieRow("RR", "240066282", false);   // wrong check digit
    ieRow("RR", "240066821", false);   // digits swapped
    ieRow("RR", "40066281", false);    // one digit short
    ieRow("RR", "2240066281", false);  // one digit more
    ieRow("RR", "340066281", false);   // wrong prefix
    // SEFAZ-RS rule: 10 digits, modulo 11 with weights 2,9..2.
    ieRow("RS", "224/3658792", true);  // published example
    ieRow("RS", "468/0001479", true);  // in use (public issue report)
    ieRow("RS", "096/1234563", true);  // computed
    ieRow("RS", "2243658793", false);  // wrong check digit
    ieRow("RS", "2243658972", false);  // digits swapped
    ieRow("RS", "243658792", false);   // one digit short
    ieRow("RS", "22243658792", false); // one digit more
    // SEF-SC rule: 9 digits, modulo 11.
    ieRow("SC", "251.040.852", true); // published example
    ieRow("SC", "251.234.568", true); // computed
    ieRow("SC", "251040853", false);  // wrong check digit
    ieRow("SC", "251040582", false);  // digits swapped
    ieRow("SC", "51040852", false);   // one digit short
    ieRow("SC", "2251040852", false); // one digit more
    ieRow("SC", "000000000", false);  // zero is not a registration
    // SEFAZ-SE rule: 9 digits, modulo 11.
    ieRow("SE", "27123456-3", true);   // published example
    ieRow("SE", "27.234.567-9", true); // computed
    ieRow("SE", "271234564", false);   // wrong check digit
    ieRow("SE", "271234653", false);   // digits swapped
    ieRow("SE", "71234563", false);    // one digit short
    ieRow("SE", "2271234563", false);  // one digit more
    // SEFAZ-SP rules: industry and trade 12 digits, ninth digit on the first eight (weights
    // 1,3,4,5,6,7,8,10),
    // twelfth on the first eleven (weights 3,2,10..2), the last digit of the remainder mod 11; rural producer
    // "P", 8 digits, a check digit as the ninth above, 3 digits.
    ieRow("SP", "110.042.490.114", true);   // published example
    ieRow("SP", "123.456.785.120", true);   // computed
    ieRow("SP", "P-01100424.3/002", true);  // published example, rural producer
    ieRow("SP", "p-01100424.3/002", true);  // lower-case p
    ieRow("SP", "P-12345678.5/001", true);  // computed, rural producer
    ieRow("SP", "110042490115", false);     // wrong check digit
    ieRow("SP", "110042410914", false);     // digits swapped
    ieRow("SP", "10042490114", false);      // one digit short
    ieRow("SP", "1110042490114", false);    // one digit more
    ieRow("SP", "P-01100424.4/002", false); // rural producer, wrong check digit
    ieRow("SP", "P0110042430", false);      // rural producer, too short
    // SEFAZ-TO rules: 9 digits, modulo 11 (current); 11 digits with category 01, 02, 03 or 99 in digits 3-4,
    // left out of the modulo-11 check digit (older).
    ieRow("TO", "29.01.022783-6", true); // published example, older form
    ieRow("TO", "32034106890", true);    // older form in use (public issue report)
    ieRow("TO", "29.02.123456-9", true); // computed, older form
    ieRow("TO", "29.123.456-9", true);   // computed, current form
    ieRow("TO", "290227836", true);      // current form
    ieRow("TO", "29010227837", false);   // wrong check digit
    ieRow("TO", "29010227386", false);   // digits swapped
    ieRow("TO", "9010227836", false);    // one digit short
    ieRow("TO", "229010227836", false);  // one digit more
    ieRow("TO", "29040227836", false);   // category 04 does not exist (check digit right)
}

void TestDocumentChecks::ie() {
    QFETCH(QString, uf);
    QFETCH(QString, ie);
    QFETCH(bool, valid);
    QCOMPARE(ieValida(ie, uf), valid);
}

void TestDocumentChecks::ieOtherInput_data() {
    QTest::addColumn<QString>("uf");
    QTest::addColumn<QString>("ie");
    QTest::addColumn<bool>("valid");
    auto row = [](const char* name, const char* uf, const char* ie, bool valid) {
        QTest::newRow(name) << QString::fromUtf8(uf) << QString::fromUtf8(ie) << valid;
    };
    row("ISENTO is left to the form", "SP", "ISENTO", false);
    row("isento", "MG", "isento", false);
    row("empty", "SP", "", false);
    row("separators only", "SP", "..-/", false);
    row("unknown state", "XX", "110042490114", false);
    row("foreign", "EX", "110042490114", false);
    row("empty state", "", "110042490114", false);
    row("lower-case state", "sp", "110042490114", true);
    row("state with blanks", " SP ", "110042490114", true);
    row("blanks around", "SP", "  110.042.490.114  ", true);
    row("blanks inside", "SP", "110 042 490 114", false);
    row("another state's number", "MG", "110042490114", false);
    row("letters", "SC", "25104085A", false);
    row("all zeros, checksum adds up", "ES", "000000000", false);
    row("very long", "SP", "110042490114110042490114", false);
}

void TestDocumentChecks::ieOtherInput() {
    QFETCH(QString, uf);
    QFETCH(QString, ie);
    QFETCH(bool, valid);
    QCOMPARE(ieValida(ie, uf), valid);
}

void TestDocumentChecks::ufValida_data() {
    QTest::addColumn<QString>("uf");
    QTest::addColumn<bool>("known");
    const char* const all[] = {"AC", "AL", "AP", "AM", "BA", "CE", "DF", "ES", "GO",
                               "MA", "MT", "MS", "MG", "PA", "PB", "PR", "PE", "PI",
                               "RJ", "RN", "RS", "RO", "RR", "SC", "SP", "SE", "TO"};
    for (const char* uf : all)
        QTest::newRow(uf) << QString::fromLatin1(uf) << true;
    QTest::newRow("rs") << QStringLiteral("rs") << true;
    QTest::newRow("XX") << QStringLiteral("XX") << false;
    QTest::newRow("EX") << QStringLiteral("EX") << false;
    QTest::newRow("S") << QStringLiteral("S") << false;
    QTest::newRow("SPX") << QStringLiteral("SPX") << false;
    QTest::newRow("-") << QStringLiteral("-") << false;
}

void TestDocumentChecks::ufValida() {
    QFETCH(QString, uf);
    QFETCH(bool, known);
    QCOMPARE(qav::docs::ufValida(uf), known);
}

void TestDocumentChecks::formatting_data() {
    QTest::addColumn<bool>("isCnpj");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("formatted");
    auto row = [](bool isCnpj, const char* text, const char* formatted) {
        QTest::addRow("%s %s", isCnpj ? "cnpj" : "cpf", text)
            << isCnpj << QString::fromUtf8(text) << QString::fromUtf8(formatted);
    };
    row(false, "52998224725", "529.982.247-25");
    row(false, "529.982.247-25", "529.982.247-25");
    row(false, "529982247-25", "529.982.247-25");
    row(false, "5299822472", "5299822472");   // 10 digits: left as typed
    row(false, "ABCDEFGHIJK", "ABCDEFGHIJK"); // not digits: left as typed
    row(false, "", "");
    row(true, "11222333000181", "11.222.333/0001-81");
    row(true, "12ABC34501DE35", "12.ABC.345/01DE-35");
    row(true, "12abc34501de35", "12.ABC.345/01DE-35");
    row(true, "11.222.333/0001-81", "11.222.333/0001-81");
    row(true, "1122233300018", "1122233300018"); // 13 characters: left as typed
    row(true, "52998224725", "52998224725");     // a CPF is not formatted as a CNPJ
}

void TestDocumentChecks::formatting() {
    QFETCH(bool, isCnpj);
    QFETCH(QString, text);
    QFETCH(QString, formatted);
    QCOMPARE(isCnpj ? formatCnpj(text) : formatCpf(text), formatted);
}

void TestDocumentChecks::stripFormatting_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("plain");
    QTest::newRow("cnpj") << QStringLiteral(" 12.abc.345/01de-35 ") << QStringLiteral("12ABC34501DE35");
    QTest::newRow("cpf") << QStringLiteral("529.982.247-25") << QStringLiteral("52998224725");
    QTest::newRow("rural") << QStringLiteral("p-01100424.3/002") << QStringLiteral("P011004243002");
    QTest::newRow("inner blank kept") << QStringLiteral("1 2") << QStringLiteral("1 2");
}

void TestDocumentChecks::stripFormatting() {
    QFETCH(QString, text);
    QFETCH(QString, plain);
    QCOMPARE(qav::docs::stripFormatting(text), plain);
}

QAV_TEST_GUILESS_MAIN(TestDocumentChecks)
#include "tst_documentchecks.moc"
