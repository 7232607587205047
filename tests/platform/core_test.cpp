#include <gtest/gtest.h>

#include "platform/DateTime.h"
#include "platform/Regional.h"
#include "platform/StringList.h"
#include "platform/Text.h"
#include "platform/WindowServices.h"

TEST(Text, Utf8RoundTripAndCodeUnits) {
  UString s = Utf8ToU("São João Ação 𝄞");
  EXPECT_EQ(UToUtf8(s), "São João Ação 𝄞");
  EXPECT_EQ(s.size(), 16u);  // the clef is two code units
  EXPECT_EQ(Utf8ToU("a\xff" "b"), u"a\uFFFD" u"b");
  // Overlong forms and encoded surrogates are not text: one replacement per byte.
  EXPECT_EQ(Utf8ToU("\xC0\xAF"), u"\uFFFD\uFFFD");
  EXPECT_EQ(Utf8ToU("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");
  EXPECT_EQ(Utf8ToU("\xE7"), u"\uFFFD");
  EXPECT_EQ(UToUtf8(u"x\xD800y"), "x\xEF\xBF\xBDy");
}

TEST(Text, UpperTrimQuote) {
  EXPECT_EQ(UpperAZ(u"são paulo ñ"), u"SãO PAULO ñ");
  EXPECT_EQ(TrimCtl(u"\t\r\n x y \x01"), u"x y");
  EXPECT_EQ(QuotedStr(u"D'AVILA"), u"'D''AVILA'");
  EXPECT_EQ(RightU(u"0456", 3), u"456");
  EXPECT_EQ(RightU(u"5", 3), u"5");
}

// The Brazilian settings every run starts with.
const FormatSettings br;

TEST(DateTime, SerialsAndFormats) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
  EXPECT_EQ(EncodeDate(2013, 5, 21), 41415.0);
  EXPECT_EQ(EncodeDate(100, 1, 1), kMinDateTime);
  EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465.0);
  EXPECT_EQ(DateToStr(41415.0, br), u"21/05/2013");
  EXPECT_EQ(DateToStr(-657434.0, br), u"01/01/0100");
  EXPECT_EQ(FormatDateTime(u"dd.mm.yyyy hh:nn:ss", 41415.75, br), u"21.05.2013 18:00:00");
  int y, m, d;
  DecodeDate(-1.5, y, m, d);
  EXPECT_EQ(y * 10000 + m * 100 + d, 18991229);
}

TEST(DateTime, ReadsInTheOrderOfTheShortDateFormat) {
  TDateTime dt;
  ASSERT_TRUE(TryStrToDate(u"21/05/2013", dt, br));
  EXPECT_EQ(dt, 41415.0);
  EXPECT_TRUE(TryStrToDate(u"1/5/2013", dt, br));
  EXPECT_FALSE(TryStrToDate(u"31/02/2013", dt, br));
  EXPECT_FALSE(TryStrToDate(u"21.05.2013", dt, br));
  EXPECT_FALSE(TryStrToDate(u"abc", dt, br));
  ASSERT_TRUE(TryStrToDateTime(u"21/05/2013 18:00", dt, br));
  EXPECT_DOUBLE_EQ(dt, 41415.75);
  {
    FormatSettings us;
    us.ShortDateFormat = u"m-d-yyyy";
    us.DateSeparator = u'-';
    ASSERT_TRUE(TryStrToDate(u"5-21-2013", dt, us));
    EXPECT_EQ(dt, 41415.0);
    EXPECT_EQ(DateToStr(dt, us), u"5-21-2013");
  }
  EXPECT_EQ(DateToStr(dt, br), u"21/05/2013");
}

TEST(Regional, Numbers) {
  EXPECT_EQ(FloatToStrU(12.5, br), u"12,5");
  EXPECT_EQ(FloatToStrU(3.0, br), u"3");
  EXPECT_EQ(FloatToStrU(-0.25, br), u"-0,25");
  EXPECT_EQ(FloatToStrU(0.1 + 0.2, br), u"0,3");
  double v;
  EXPECT_TRUE(TryStrToFloatU(u" 41415,5 ", v, br));
  EXPECT_EQ(v, 41415.5);
  EXPECT_FALSE(TryStrToFloatU(u"41415.5", v, br));
  EXPECT_FALSE(TryStrToFloatU(u"abc", v, br));
  EXPECT_FALSE(TryStrToFloatU(u"", v, br));
}

TEST(ProgressBar, ClampsAndPercent) {
  ProgressBar b;
  EXPECT_EQ(b.Max(), 100);
  b.SetPosition(150);
  EXPECT_EQ(b.Position(), 100);
  b.SetMax(3);
  EXPECT_EQ(b.Position(), 3);
  b.SetPosition(1);
  EXPECT_EQ(b.Percent(), 33);
  b.StepBy(5);
  EXPECT_EQ(b.Position(), 3);
  b.SetMax(0);
  EXPECT_EQ(b.Percent(), 0);
  EXPECT_EQ(b.Position(), 0);
}

TEST(StringList, ValuesByNameWithoutCase) {
  TStringList l;
  l.Add(u"GRUPO=S");
  l.Add(u"cliente=N");
  EXPECT_EQ(l.Values(u"grupo"), u"S");
  EXPECT_EQ(l.Values(u"CLIENTE"), u"N");
  EXPECT_EQ(l.Values(u"PAGAR"), u"");
}
