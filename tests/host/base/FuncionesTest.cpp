#include "Modelo/base/Funciones.h"
#include "Modelo/document/CatalogoCasillas.h"

#include <gtest/gtest.h>

TEST(Moneda, RoundsTheDecimalValueHalfAwayFromZero) {
    EXPECT_EQ(Double2Currency(1244.5, 2, true, false), "1.244,50");
    EXPECT_EQ(Double2Currency(14.999999999, 2, true, false), "15,00");
    EXPECT_EQ(Double2Currency(1.005, 2, true, false), "1,01"); // 1.00499999... in binary
    EXPECT_EQ(Double2Currency(0.125, 2, false, false), "0,13");
    EXPECT_EQ(Double2Currency(-0.125, 2, false, false), "-0,13");
    EXPECT_EQ(Double2Currency(999.995, 2, true, false), "1.000,00");
    EXPECT_EQ(Double2Currency(-1234567.891, 2, true, false), "-1.234.567,89");
    EXPECT_EQ(Double2Currency(1500, 2, false, false), "1500,00");
    EXPECT_EQ(Double2Currency(99.5, 0, false, false), "100");
    EXPECT_EQ(Double2Currency(1e-7, 2, false, false), "0,00");
    EXPECT_EQ(Double2Currency(-0.001, 2, false, false), "0,00"); // no "-0,00"
    EXPECT_EQ(Double2Currency(0, 2, true, true), "");
    EXPECT_EQ(Double2Currency(1e20, 2, true, false), "100.000.000.000.000.000.000,00");
}

TEST(Moneda, SumsOfCentsNeverPrintAsNines) {
    double suma = 0;
    for (int i = 0; i < 1000; ++i) {
        suma += 0.1;
        const CString t = Double2Currency(suma, 2, false, false);
        EXPECT_EQ(t, CString::Formatted("%d,%02d", (i + 1) / 10, (i + 1) % 10 * 10)) << i;
    }
}

TEST(Moneda, ReadingBackIgnoresGroupingAndRefusesGarbage) {
    EXPECT_DOUBLE_EQ(Currency2Double("1.244,50"), 1244.50);
    EXPECT_DOUBLE_EQ(Currency2Double("0000000012345,67"), 12345.67);
    EXPECT_DOUBLE_EQ(Currency2Double("000000001234567"), 1234567);
    EXPECT_EQ(Currency2Double(""), 0);
    EXPECT_EQ(Currency2Double("abc"), 0);
    EXPECT_EQ(Currency2Double(CString(std::string(400, '9'))), 0); // out of range
    EXPECT_DOUBLE_EQ(NumeroC("  1000.01xyz"), 1000.01);
    EXPECT_EQ(NumeroC("x1"), 0);
    for (double v : {0.0, 0.01, 15.0, 1244.5, 123456789.99})
        EXPECT_DOUBLE_EQ(Currency2Double(Double2Currency(v, 2, true, false)), v);
}

TEST(Moneda, CentsAreExactPastWhatADoubleHolds) {
    // What an amount field admits, read to the cent; 15 whole digits are past 2^53 cents.
    const std::pair<const char*, long long> leidos[] = {
        {"999.999.999.999.999,99", 99999999999999999LL},
        {"1.234,5", 123450},
        {",5", 50},
        {"1500", 150000},
        {"0,07", 7},
    };
    for (auto [texto, centimos] : leidos) {
        long long c = -1;
        EXPECT_TRUE(Currency2Centimos(texto, c)) << texto;
        EXPECT_EQ(c, centimos) << texto;
        if (centimos % 10 == 0 || centimos < 100)
            continue;
        EXPECT_EQ(Centimos2Currency(c), texto); // grouped text reads back as it was
    }
    for (const char* malo :
         {"", ",", "1,234", "-5,00", "1,2,3", "1.000.000.000.000.000,00", "1e3"}) {
        long long c = 0;
        EXPECT_FALSE(Currency2Centimos(malo, c)) << malo;
    }
    EXPECT_EQ(Centimos2Currency(0), "0,00");
    EXPECT_EQ(Centimos2Currency(5), "0,05");
    EXPECT_EQ(Centimos2Currency(100000), "1.000,00");
    EXPECT_EQ(Centimos2Currency(-123456), "-1.234,56");
    EXPECT_EQ(Centimos2Currency(4 * 9999999999999999LL), "399.999.999.999.999,96");
}

TEST(Fechas, DayFirstTextsAndTheTwoDigitYearWindow) {
    Reloj::Fijar([] { return COleDateTime(2026, 12, 8, 10, 0, 0); });
    EXPECT_EQ(Str2Time("01/03/2023").Format("%Y-%m-%d"), "2023-03-01");
    EXPECT_EQ(Str2Time("1/3/2023").Format("%Y-%m-%d"), "2023-03-01");
    EXPECT_EQ(Str2Time("01-03-35").Format("%Y"), "2035"); // not 1935
    EXPECT_EQ(Str2Time("01-03-80").Format("%Y"), "1980");
    EXPECT_EQ(Str2Time(" 28/02/2024 13:05 ").Format("%H:%M"), "13:05");
    for (const char* malo : {"", "31/02/2023", "2023-03-01", "01/03/2023x", "1/3", "01/13/2023",
                             "01/03/202", "\xD1/03/2023"})
        EXPECT_EQ(Str2Time(malo).GetStatus(), COleDateTime::invalid) << malo;
    EXPECT_EQ(AnioDeDosCifras(75), 2075);
    EXPECT_EQ(AnioDeDosCifras(76), 1976);
    Reloj::Fijar({});
}

TEST(Fechas, MonthNamesAndNumbers) {
    EXPECT_EQ(GetMesLetra(3), "MARZO");
    EXPECT_EQ(GetMesLetra(13), "");
    EXPECT_EQ(MesNumero("marzo"), "03");
    EXPECT_EQ(MesNumero(" DICIEMBRE "), "12");
    EXPECT_EQ(MesNumero("3"), "03");
    EXPECT_EQ(MesNumero("00"), "00");
    EXPECT_EQ(MesNumero("13"), "00");
    EXPECT_EQ(MesNumero("003"), "00");
    EXPECT_EQ(MesNumero(""), "00");
    EXPECT_EQ(Padding("123", 6), "000123");
    EXPECT_EQ(Padding("1234567", 6), "1234567");
    EXPECT_EQ(Padding("A", 3, ' ', false), "A  ");
}

TEST(Nombres, ThreePartsAndNaturalPersons) {
    CString a, b, c;
    ExtraerCadBD("GARCIA|LOPEZ|MARIA JOSE", a, b, c);
    EXPECT_EQ(a, "GARCIA");
    EXPECT_EQ(b, "LOPEZ");
    EXPECT_EQ(c, "MARIA JOSE");
    ExtraerCadBD("EMPRESA, S.L.", a, b, c);
    EXPECT_EQ(a, "EMPRESA, S.L.");
    EXPECT_EQ(b, "");
    ExtraerCadBD("A|B|C|D", a, b, c);
    EXPECT_EQ(c, "C|D"); // a stray separator stays in the last part
    EXPECT_EQ(QuitarSep("SMITH||JOHN"), "SMITH JOHN");
    EXPECT_TRUE(Tratar_como_NIF("12345678Z"));
    EXPECT_TRUE(Tratar_como_NIF("X1234567L"));
    EXPECT_TRUE(Tratar_como_NIF("K1234567L"));
    EXPECT_FALSE(Tratar_como_NIF("B12345674"));
    EXPECT_FALSE(Tratar_como_NIF(""));
}

TEST(Citas, LongTextsAreCutOnACharacterAndControlsNeverReachTheTerminal) {
    EXPECT_EQ(CitaBreve("corto"), "corto");
    EXPECT_EQ(CitaBreve(CString(std::string(100000, 'x'))), std::string(60, 'x') + "...");
    // "Ñ" is two bytes: a cut that would fall between them falls before it.
    EXPECT_EQ(CitaBreve("abÑd", 3), "ab...");
    EXPECT_EQ(CitaBreve("abÑd", 4), "abÑ...");
    EXPECT_EQ(CitaBreve("a\x1b[2Jb\x7f\n"), "a?[2Jb??");
    EXPECT_EQ(CitaBreve("\xff\xfe", 60), "\xff\xfe"); // not UTF-8 at all: kept as it is
}

TEST(ImporteMoneda, ReadsCurrencyTextToTheCentAndNothingElse) {
    long long c = -1;
    EXPECT_TRUE(LeerImporteMoneda("0,00", c));
    EXPECT_EQ(c, 0);
    EXPECT_TRUE(LeerImporteMoneda("1.244,50", c));
    EXPECT_EQ(c, 124450);
    EXPECT_TRUE(LeerImporteMoneda("1244,50", c));
    EXPECT_EQ(c, 124450);
    EXPECT_TRUE(LeerImporteMoneda("12.345.678,09", c));
    EXPECT_EQ(c, 1234567809);
    EXPECT_TRUE(LeerImporteMoneda("999.999.999.999.999,99", c));
    EXPECT_EQ(c, 99999999999999999);
    for (const char* malo : {"", ",00", "1,5", "1,500", "1.24,50", "1244.50", "12.44,50", "1,2,00",
                             "-1,00", "+1,00", " 1,00", "1,00 ", "1.2345,00", "1..244,50",
                             "1.244.,50", "1000.000,00", "1.000.000.000.000.000,00"})
        EXPECT_FALSE(LeerImporteMoneda(malo, c)) << malo;
    EXPECT_FALSE(LeerImporteMoneda("123.456,00", c, 5)); // more whole digits than allowed
    EXPECT_TRUE(LeerImporteMoneda("12.345,00", c, 5));
}
