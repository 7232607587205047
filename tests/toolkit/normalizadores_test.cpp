// The normalisers of legacy values: masks, dates, separators, accents, phones.
#include <gtest/gtest.h>

#include "platform/DateTime.h"
#include "platform/Regional.h"
#include "toolkit/classConversao.h"

namespace {

UString U(const char* utf8) { return Utf8ToU(utf8); }
std::string S(const UString& u) { return UToUtf8(u); }

UString Validada(UString data) { return TConversao::FValidaData(data); }

}  // namespace

TEST(TiraMascara, KeepsOnlyTheDigitsOfDocumentNumbers) {
  EXPECT_EQ(TConversao::TiraMascara(u"123.456.789-01"), u"12345678901");
  EXPECT_EQ(TConversao::TiraMascara(u" 12.345.678/0001-90 "), u"12345678000190");
  EXPECT_EQ(TConversao::TiraMascara(u"ABC"), u"");
  EXPECT_EQ(TConversao::TiraMascara(u""), u"");
  // Only ASCII digits count.
  EXPECT_EQ(TConversao::TiraMascara(U("１２3")), u"3");
}

TEST(TiraMascara, IsentoIsKeptUpperCasedWithItsBlanks) {
  EXPECT_EQ(TConversao::TiraMascara(u"isento"), u"ISENTO");
  EXPECT_EQ(TConversao::TiraMascara(u" isento "), u" ISENTO ");
  EXPECT_EQ(TConversao::TiraMascara(u"\tIsento\r\n"), u"\tISENTO\r\n");
}

TEST(TiraMascara, OtherFormsOfExemptionGiveTheEmptyText) {
  EXPECT_EQ(TConversao::TiraMascara(u"Isenta"), u"");
  EXPECT_EQ(TConversao::TiraMascara(u"ISENCAO"), u"");
  EXPECT_EQ(TConversao::TiraMascara(u"ISENTOS"), u"");
  EXPECT_EQ(TConversao::TiraMascara(u"IE 123 isento"), u"");
  EXPECT_EQ(TConversao::TiraMascara(u"ISENTO 1"), u"");
}

TEST(FValidaData, SeparatorsBecomeDotsAndTheArgumentIsRewritten) {
  UString data = u"21/05/2013";
  EXPECT_EQ(TConversao::FValidaData(data), u"21.05.2013");
  EXPECT_EQ(data, u"21.05.2013");

  EXPECT_EQ(Validada(u"2013-05-21"), u"2013.05.21");
  EXPECT_EQ(Validada(u"21.05.2013"), u"21.05.2013");
  // The slash case comes first; the hyphens stay.
  EXPECT_EQ(Validada(u"21/05-2013"), u"21.05-2013");
  // Texts that are not dates at all are still only rewritten, not checked.
  EXPECT_EQ(Validada(u"a-b"), u"a.b");
  // A negative number has a hyphen, so it is a separator case.
  EXPECT_EQ(Validada(u"-1"), u".1");
}

TEST(FValidaData, EmptyAndMaskedEmptyDatesBecomeTodayInTheShortFormatInForce) {
  const TDateTime antes = Date();
  UString data = u"";
  const UString vazia = TConversao::FValidaData(data);
  UString mascara = u"  -   -";
  const UString mascarada = TConversao::FValidaData(mascara);
  const TDateTime depois = Date();

  for (const UString& r : {vazia, mascarada, data, mascara})
    EXPECT_TRUE(r == DateToStr(antes) || r == DateToStr(depois)) << S(r);

  int y, m, d;
  DecodeDate(antes, y, m, d);
  EXPECT_EQ(vazia.size(), 10u);
  EXPECT_EQ(vazia.substr(6), IntToU(y));  // Brazilian default, day first

  FormatSettings iso;
  iso.ShortDateFormat = u"yyyy/mm/dd";
  iso.DateSeparator = u'-';
  ScopedRegional regional(iso);
  const UString hoje = Validada(u"");
  EXPECT_EQ(hoje.substr(0, 4), IntToU(y)) << S(hoje);
  EXPECT_EQ(hoje[4], u'-');
  // Only this exact mask counts as the empty date.
  EXPECT_EQ(Validada(u" -   -"), u" .   .");
}

TEST(FValidaData, ANumberIsADateSerial) {
  EXPECT_EQ(Validada(u"41415"), u"21/05/2013");
  EXPECT_EQ(Validada(u"0"), u"30/12/1899");
  EXPECT_EQ(Validada(u"2958465"), u"31/12/9999");
  // The time of day is dropped; the fraction uses the regional decimal separator.
  EXPECT_EQ(Validada(u"41415,75"), u"21/05/2013");
  EXPECT_EQ(Validada(u" 41415 "), u"21/05/2013");

  FormatSettings outra;
  outra.ShortDateFormat = u"mm/dd/yyyy";  // not used by the serial case
  outra.DateSeparator = u'-';
  outra.DecimalSeparator = u'.';
  ScopedRegional regional(outra);
  EXPECT_EQ(Validada(u"41415"), u"21-05-2013");
  UString virgula = u"41415,75";
  EXPECT_EQ(TConversao::FValidaData(virgula), u"");
  EXPECT_EQ(virgula, u"");
}

TEST(FValidaData, NotANumberOrOutOfRangeEmptiesTheArgument) {
  for (const char16_t* texto : {u"abc", u"99999999", u"2958466", u"12a", u" ", u"1e400"}) {
    UString data = texto;
    EXPECT_EQ(TConversao::FValidaData(data), u"") << S(texto);
    EXPECT_EQ(data, u"") << S(texto);
  }
}

TEST(FRemoveCaracter, RemovesSeparatorsOfDocumentNumbers) {
  EXPECT_EQ(TConversao::FRemoveCaracter(u"12.345.678/0001-90"), u"12345678000190");
  EXPECT_EQ(TConversao::FRemoveCaracter(u"D'AVILA"), u"DAVILA");
  EXPECT_EQ(TConversao::FRemoveCaracter(u"30.130-010"), u"30130010");
  EXPECT_EQ(TConversao::FRemoveCaracter(u"-./'"), u"");
  EXPECT_EQ(TConversao::FRemoveCaracter(u""), u"");
  // Other separators stay.
  EXPECT_EQ(TConversao::FRemoveCaracter(u"12 34,5"), u"12 34,5");
}

TEST(FRemoveCaracter, TrimsOnlyWhenSomethingWasRemoved) {
  EXPECT_EQ(TConversao::FRemoveCaracter(u" 12-3 "), u"123");
  EXPECT_EQ(TConversao::FRemoveCaracter(u"\t12.3\r\n"), u"123");
  EXPECT_EQ(TConversao::FRemoveCaracter(u" 123 "), u" 123 ");
  // The blanks that the removal brings together inside stay.
  EXPECT_EQ(TConversao::FRemoveCaracter(u"12 - 3"), u"12  3");
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
  const UString cortado = TConversao::FRemoveCaracter(u"1-" + noventaENove + U("😀"));
  ASSERT_EQ(cortado.size(), 101u);
  EXPECT_EQ(cortado.substr(0, 100), u"1" + noventaENove);
  EXPECT_EQ(cortado[100], char16_t(0xD83D));
}

TEST(FRetiraAcento, UpperCasesAndReplacesAccentsOneForOne) {
  EXPECT_EQ(TConversao::FRetiraAcento(U("São João")), u"SAO JOAO");
  EXPECT_EQ(TConversao::FRetiraAcento(U("Ação: ok")), u"ACAO. OK");
  EXPECT_EQ(TConversao::FRetiraAcento(U("Müller")), u"MULLER");
  EXPECT_EQ(TConversao::FRetiraAcento(U("a;b:c")), u"A.B.C");
  EXPECT_EQ(TConversao::FRetiraAcento(U("ÀÁÂÃÄàáâãä")), u"AAAAAAAAAA");
  EXPECT_EQ(TConversao::FRetiraAcento(U("ÈÉÊèéê ÌÍÎìíî")), u"EEEEEE IIIIII");
  EXPECT_EQ(TConversao::FRetiraAcento(U("ÒÓÔÕÖòóôõö ÙÚÜùúü Çç")), u"OOOOOOOOOO UUUUUU CC");
  EXPECT_EQ(TConversao::FRetiraAcento(u""), u"");
}

TEST(FRetiraAcento, LettersOutsideTheTableStayAsTheyAre) {
  EXPECT_EQ(TConversao::FRetiraAcento(U("Niño")), U("NIñO"));
  EXPECT_EQ(TConversao::FRetiraAcento(U("ËÏÛÑ ëïûñ Ýý Åå Øø")), U("ËÏÛÑ ëïûñ Ýý Åå Øø"));
  // The length is kept, also around a character of two code units.
  const UString texto = U("é😀ã");
  const UString limpo = TConversao::FRetiraAcento(texto);
  EXPECT_EQ(limpo.size(), texto.size());
  EXPECT_EQ(limpo, U("E😀A"));
}

TEST(FSoNumero, KeepsThePhoneDigits) {
  EXPECT_EQ(TConversao::FSoNumero(u"(31) 3333-4444"), u"3133334444");
  EXPECT_EQ(TConversao::FSoNumero(u"+55 (31) 9.8888-7777 r. 12"), u"553198888777712");
  EXPECT_EQ(TConversao::FSoNumero(u"sem telefone"), u"");
  EXPECT_EQ(TConversao::FSoNumero(u""), u"");
}
