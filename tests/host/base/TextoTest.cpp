#include "Modelo/base/CArray.h"
#include "Modelo/base/COleDateTime.h"
#include "Modelo/base/CString.h"

#include <gtest/gtest.h>

TEST(CString, SubstringsForgiveBoundsLikeTheFramework) {
    const CString s("863202403");
    EXPECT_EQ(s.Mid(3, 4), "2024");
    EXPECT_EQ(s.Mid(7, 10), "03"); // count beyond the end is cut short
    EXPECT_EQ(s.Mid(9, 2), "");    // start at the end
    EXPECT_EQ(s.Mid(50, 2), "");   // start beyond the end
    EXPECT_EQ(s.Mid(-3, 3), "863");
    EXPECT_EQ(s.Mid(2, 0), "");
    EXPECT_EQ(s.Left(100), s);
    EXPECT_EQ(s.Right(2), "03");
    EXPECT_EQ(s.Right(0), "");
}

TEST(CString, HighBytesAreNeitherBlanksNorChangedByCase) {
    // 0xA0 is a no-break space in Latin-1 and 0x85 a next-line: neither is trimmed, and a
    // signed char never reaches a character-class table.
    CString s("\xA0 ni\xF1o \x85");
    s.Trim();
    EXPECT_EQ(s, "\xA0 ni\xF1o \x85");
    CString t(" \t\r\nMU\xD1OZ m\xFC ller\n");
    t.Trim().MakeUpper();
    EXPECT_EQ(t, "MU\xD1OZ M\xFC LLER");
}

TEST(CString, ComparesBytesAsUnsigned) {
    EXPECT_GT(CString("\xD1"), CString("Z")); // never before "A" through sign extension
    EXPECT_LT(CString("1999"), CString("2023"));
    EXPECT_GT(CString("2024"), CString("2023"));
    EXPECT_LT(CString(""), CString("0"));
}

TEST(CString, ReplaceAndFormat) {
    CString s("Fila %1: error en la fila %1");
    EXPECT_EQ(s.Replace("%1", "12"), 2);
    EXPECT_EQ(s, "Fila 12: error en la fila 12");
    CString a("1.244,50");
    a.Replace(",", ".");
    EXPECT_EQ(a, "1.244.50");
    EXPECT_EQ(CString("abc").Replace("", "x"), 0);
    EXPECT_EQ(CString::Formatted("%02d-%s", 3, "x"), "03-x");
    std::string largo(5000, 'a');
    EXPECT_EQ(CString::Formatted("%s", largo.c_str()).GetLength(), 5000);
}

TEST(CString, EmbeddedBytesSurviveCopies) {
    const char raw[] = {'a', '\0', 'b'};
    CString s(raw, 3);
    EXPECT_EQ(s.GetLength(), 3);
    CString t = s + "c";
    EXPECT_EQ(t.GetLength(), 4);
}

TEST(CArray, GrowsAndRefusesOutOfRangeAccess) {
    CArray<int, int> a;
    EXPECT_EQ(a.Add(2), 0);
    EXPECT_EQ(a.Add(10), 1);
    a.InsertAt(0, 7);
    EXPECT_EQ(a.GetSize(), 3);
    EXPECT_EQ(a[0], 7);
    EXPECT_THROW(a.GetAt(3), std::out_of_range);
    EXPECT_THROW(a.GetAt(-1), std::out_of_range);
    a.RemoveAt(0);
    EXPECT_EQ(a.GetAt(0), 2);
}

TEST(COleDateTime, KnowsTheCalendar) {
    EXPECT_TRUE(COleDateTime::IsValidDate(2024, 2, 29));
    EXPECT_FALSE(COleDateTime::IsValidDate(2023, 2, 29));
    EXPECT_FALSE(COleDateTime::IsValidDate(1900, 2, 29));
    EXPECT_TRUE(COleDateTime::IsValidDate(2000, 2, 29));
    EXPECT_FALSE(COleDateTime::IsValidDate(2023, 13, 1));
    EXPECT_FALSE(COleDateTime::IsValidDate(2023, 4, 31));
    COleDateTime d;
    EXPECT_EQ(d.GetStatus(), COleDateTime::null);
    EXPECT_FALSE(d.SetDate(2023, 2, 30));
    EXPECT_EQ(d.GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(d.Format("%d/%m/%Y"), "");
}

TEST(COleDateTime, FormatsAsTheTariffQueriesNeed) {
    COleDateTime d(2023, 3, 1, 0, 0, 0);
    EXPECT_EQ(d.Format("%m-%d-%y"), "03-01-23");
    EXPECT_EQ(d.Format("%d/%m/%Y %%"), "01/03/2023 %");
    EXPECT_LT(COleDateTime(2023, 3, 1, 0, 0, 0), COleDateTime(2023, 3, 1, 0, 0, 1));
}

TEST(Reloj, CanBeReplacedAndRestored) {
    Reloj::Fijar([] { return COleDateTime(2031, 12, 31, 23, 59, 59); });
    EXPECT_EQ(COleDateTime::GetCurrentTime().GetYear(), 2031);
    Reloj::Fijar({});
    EXPECT_NE(COleDateTime::GetCurrentTime().GetYear(), 2031);
}
