// The normalisers of legacy values: masks, dates, separators, accents, phones.
#include <gtest/gtest.h>

#include "platform/DateTime.h"
#include "platform/Regional.h"
#include "toolkit/classConversao.h"

namespace {

UString U(const char* utf8) { return Utf8ToU(utf8); }
std::string S(const UString& u) { return UToUtf8(u); }

// Each input (UTF-8) against what `f` makes of it.
void Check(UString (*f)(const UString&), std::initializer_list<std::pair<const char*, const char*>> cases) {
  for (const auto& [in, out] : cases) EXPECT_EQ(S(f(U(in))), out) << "input: \"" << in << '"';
}

// FValidaData returns what it leaves in its argument.
UString Validada(const UString& texto, const FormatSettings& fs = FormatSettings{}) {
  UString data = texto;
  const UString r = TConversao::FValidaData(data, fs);
  EXPECT_EQ(r, data) << S(texto);
  return r;
}

void CheckDates(std::initializer_list<std::pair<const char16_t*, const char16_t*>> cases) {
  for (const auto& [in, out] : cases) EXPECT_EQ(Validada(in), out) << S(in);
}

}  // namespace

TEST(TiraMascara, DigitsOnlyButIsentoKeptWithItsBlanksAndOtherExemptionsEmpty) {
  Check(TConversao::TiraMascara,
        {{"123.456.789-01", "12345678901"}, {" 12.345.678/0001-90 ", "12345678000190"}, {"ABC", ""}, {"", ""},
         {"１２3", "3"},  // only ASCII digits count
         {"isento", "ISENTO"}, {" isento ", " ISENTO "}, {"\tIsento\r\n", "\tISENTO\r\n"},
         {"Isenta", ""}, {"ISENCAO", ""}, {"ISENTOS", ""}, {"IE 123 isento", ""}, {"ISENTO 1", ""}});
}

TEST(FValidaData, SeparatorsBecomeDotsAndTheArgumentIsRewritten) {
  // The slash case comes first, so the hyphens stay; texts that are not dates at
  // all are only rewritten, not checked; a negative number has a separator.
  CheckDates({{u"21/05/2013", u"21.05.2013"}, {u"2013-05-21", u"2013.05.21"}, {u"21.05.2013", u"21.05.2013"},
              {u"21/05-2013", u"21.05-2013"}, {u"a-b", u"a.b"}, {u"-1", u".1"},
              {u" -   -", u" .   ."}});  // only the exact mask is the empty date
}

TEST(FValidaData, EmptyAndMaskedEmptyDatesBecomeTodayInTheShortFormatGiven) {
  const TDateTime antes = Date();
  const UString vazia = Validada(u""), mascarada = Validada(u"  -   -");
  const TDateTime depois = Date();
  for (const UString& r : {vazia, mascarada})
    EXPECT_TRUE(r == DateToStr(antes, FormatSettings{}) || r == DateToStr(depois, FormatSettings{})) << S(r);
  int y, m, d;
  DecodeDate(antes, y, m, d);
  EXPECT_EQ(vazia.size(), 10u);
  EXPECT_EQ(vazia.substr(6), IntToU(y));  // Brazilian default, day first

  FormatSettings iso;
  iso.ShortDateFormat = u"yyyy/mm/dd";
  iso.DateSeparator = u'-';
  const UString hoje = Validada(u"", iso);
  EXPECT_EQ(hoje.substr(0, 4), IntToU(y)) << S(hoje);
  EXPECT_EQ(hoje[4], u'-');
}

TEST(FValidaData, ANumberIsADateSerialAndAnythingElseEmptiesTheArgument) {
  // The time of day is dropped; the fraction uses the regional decimal separator.
  CheckDates({{u"41415", u"21/05/2013"}, {u"0", u"30/12/1899"}, {u"2958465", u"31/12/9999"},
              {u"41415,75", u"21/05/2013"}, {u" 41415 ", u"21/05/2013"}, {u"abc", u""}, {u"99999999", u""},
              {u"2958466", u""}, {u"12a", u""}, {u" ", u""}, {u"1e400", u""}});

  FormatSettings outra;
  outra.ShortDateFormat = u"mm/dd/yyyy";  // not used by the serial case
  outra.DateSeparator = u'-';
  outra.DecimalSeparator = u'.';
  EXPECT_EQ(Validada(u"41415", outra), u"21-05-2013");
  EXPECT_EQ(Validada(u"41415,75", outra), u"");
}

TEST(FRemoveCaracter, RemovesTheSeparatorsOfDocumentNumbersAndTrimsOnlyWhenItDid) {
  Check(TConversao::FRemoveCaracter,
        {{"12.345.678/0001-90", "12345678000190"}, {"D'AVILA", "DAVILA"}, {"-./'", ""}, {"", ""},
         {"12 34,5", "12 34,5"},  // other separators stay
         {" 12-3 ", "123"}, {"\t12.3\r\n", "123"}, {" 123 ", " 123 "},
         {"12 - 3", "12  3"}});  // the blanks the removal brings together inside stay
}

TEST(FRemoveCaracter, KeepsAWindowOf100CodeUnitsAfterEachSeparator) {
  const UString cem(100, u'9');
  EXPECT_EQ(TConversao::FRemoveCaracter(u"1-" + cem), u"1" + cem);
  EXPECT_EQ(TConversao::FRemoveCaracter(u"1-" + cem + u"8"), u"1" + cem);
  // Every removal cuts again, counting from its own separator: the hyphen keeps
  // "2." and 98 nines, the dot then keeps those.
  EXPECT_EQ(TConversao::FRemoveCaracter(u"1-2." + cem + u"8"), u"12" + UString(98, u'9'));
  EXPECT_EQ(TConversao::FRemoveCaracter(u"1." + cem + u"-2"), u"1" + cem);

  const UString noventaENove(99, u'X');
  // A precomposed accent is one code unit and fits in the window.
  EXPECT_EQ(TConversao::FRemoveCaracter(u"1-" + noventaENove + U("ÃB")), u"1" + noventaENove + U("Ã"));
  // A decomposed one loses its combining mark at the cut.
  EXPECT_EQ(TConversao::FRemoveCaracter(u"1-" + noventaENove + U("A\u0303")), u"1" + noventaENove + u"A");
  // A character outside the BMP is two code units; the cut falls between them.
  EXPECT_EQ(TConversao::FRemoveCaracter(u"1-" + noventaENove + U("😀")), u"1" + noventaENove + char16_t(0xD83D));
}

TEST(FRetiraAcento, UpperCasesAndReplacesTheTablesAccentsOneForOne) {
  Check(TConversao::FRetiraAcento,
        {{"ÀÁÂÃÄàáâãä", "AAAAAAAAAA"}, {"ÈÉÊèéê ÌÍÎìíî", "EEEEEE IIIIII"},
         {"ÒÓÔÕÖòóôõö ÙÚÜùúü Çç", "OOOOOOOOOO UUUUUU CC"}, {"a;b:c", "A.B.C"}, {"", ""},
         // Letters outside the table stay as they are.
         {"Niño", "NIñO"}, {"ËÏÛÑ ëïûñ Ýý Åå Øø", "ËÏÛÑ ëïûñ Ýý Åå Øø"},
         {"é😀ã", "E😀A"}});  // the length is kept around a character of two code units
}

TEST(FSoNumero, KeepsThePhoneDigits) {
  Check(TConversao::FSoNumero, {{"(31) 3333-4444", "3133334444"}, {"+55 (31) 9.8888-7777 r. 12", "553198888777712"},
                                {"sem telefone", ""}, {"", ""}});
}
