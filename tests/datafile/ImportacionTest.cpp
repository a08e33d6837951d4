// The import of the liquidation data file on a real database and real files, for the form
// the test is compiled for.
#include "Formulario.h"
#include "support/DocumentoDePrueba.h"

namespace {

struct Fila {
    std::string modelo = formulario::kCodigo, anio = "2024", mes = "03";
    std::string declarante = "B12345674", tercero = "12345678Z", nombre = "CLIENTE UNO";
    std::string tipo = "1", descripcion, referencia = "REF-1";
    std::string importe = "000000000150000"; // 1500.00
    std::string resto;

    std::string Texto() const {
        auto campo = [](std::string s, size_t ancho) {
            s.resize(ancho, ' ');
            return s;
        };
        return modelo + anio + mes + declarante + tercero + campo(nombre, 49) + tipo +
               campo(descripcion, 20) + campo(referencia, 20) + importe + resto;
    }
};

class Importacion : public DocumentoDePrueba {
protected:
    std::string ruta = base.tmp / "datos.txt";

    bool Importar(const std::string& contenido) {
        apoyo::Escribir(ruta, contenido);
        doc.LimpiarDatosAutoliquidacion();
        return doc.AnalizarFicheroAutoliquidacion(CString(ruta));
    }
    static std::string Lineas(std::initializer_list<Fila> filas, const char* fin = "\n") {
        std::string s;
        for (const Fila& f : filas)
            s += f.Texto() + fin;
        return s;
    }
    // The findings handed to the user, as "serial:description".
    std::vector<std::string> Hallazgos() {
        std::vector<std::string> out;
        if (base.ui.listasErrores.empty())
            return out;
        for (const stError& e : base.ui.listasErrores.back())
            out.push_back(e.Codigo.Mid(5).str() + ":" + e.Descripcion.str());
        return out;
    }
    std::vector<std::string> Series() {
        std::vector<std::string> out;
        for (const std::string& h : Hallazgos())
            out.push_back(h.substr(0, 5));
        return out;
    }
    CString P1(int c) { return doc.GetCasilla(c, 0); }
    double Total(int tipo, int grupo, int tramo) {
        return doc.TotalesLiquidacion[(tipo - 1) * 9 + grupo * 3 + tramo];
    }
};

Fila Con(std::function<void(Fila&)> cambio) {
    Fila f;
    cambio(f);
    return f;
}

} // namespace

TEST_F(Importacion, ATakenFileFillsThePeriodDeclarantAndTheWholeTable) {
    const Fila recibo, pagare = Con([](Fila&f) {
                           f.tipo = "2";
                           f.importe = "000000000300001";
                       });
    const Fila otros = Con([](Fila& f) {
        f.tipo = "4";
        f.descripcion = "LETRA DE CAMBIO";
        f.importe = "000000005000000";
    });
    ASSERT_TRUE(Importar(Lineas({recibo, pagare, otros, recibo})));
    EXPECT_EQ(P1(1), "03");
    EXPECT_EQ(P1(2), "2024");
    EXPECT_EQ(P1(24), "B12345674");
    EXPECT_EQ(P1(60), "2");
    EXPECT_EQ(P1(64), "3.000,00");
    EXPECT_EQ(P1(68), "30,00");
    EXPECT_EQ(P1(61), "1");
    EXPECT_EQ(P1(65), "3.000,01");
    EXPECT_EQ(P1(69), "30,00");
    EXPECT_EQ(P1(62), ""); // no cheques: the row stays empty
    EXPECT_EQ(P1(66), "");
    EXPECT_EQ(P1(70), "");
    EXPECT_EQ(P1(63), "1");
    EXPECT_EQ(P1(67), "50.000,00");
    EXPECT_EQ(P1(71), "400,00");
    EXPECT_EQ(P1(72), "460,00");
    ASSERT_EQ(base.ui.mensajes.size(), 1u);
    EXPECT_NE(base.ui.mensajes[0].texto.Find(ruta.c_str()), -1);
    EXPECT_EQ(base.ui.mensajes[0].tipo, unsigned(MB_OK | MB_ICONINFORMATION));
    EXPECT_TRUE(base.ui.listasErrores.empty());
    EXPECT_EQ(base.ui.barraVisible, 0); // shown, then hidden
    EXPECT_EQ(base.ui.textosBarra, (std::vector<CString>{"Leyendo datos del fichero..."}));
    // The imported declaration now passes the table rules it feeds.
    CListaErrores errores;
    doc.ValidarDatosObligatorios(errores);
    for (const stError& e : errores)
        EXPECT_LT(e.Codigo.Mid(5), CString("00008")) << e.Codigo;
}

TEST_F(Importacion, CrLfBlankLinesAndAMissingLastLineFeedReadAlike) {
    const Fila malo = Con([](Fila& f) { f.nombre = ""; });
    ASSERT_FALSE(Importar("\r\n" + Fila().Texto() + "\r\n  \t\r\n\n" + Fila().Texto() + "\r\n" +
                          malo.Texto()));
    // Blank lines are not rows: row 3 stands on the sixth line, and both are said.
    EXPECT_EQ(Hallazgos(),
              (V{"00040:Fila 3 (línea 6): falta el nombre o razón social del tercero."}));
    ASSERT_TRUE(Importar(Fila().Texto() + "\r\n" + Fila().Texto()));
    EXPECT_EQ(P1(60), "2");
}

TEST_F(Importacion, TrailingBlanksGoBeforeTheColumnsAreCut) {
    ASSERT_TRUE(Importar(Fila().Texto() + "          \n"));
    const Fila corto = Con([](Fila& f) { f.importe = "0000000001500  "; });
    EXPECT_FALSE(Importar(Lineas({corto})));
    EXPECT_EQ(Series(), (V{"00044"}));
}

TEST_F(Importacion, AmountsOnABoundStartThatBracket) {
    // The sample tariff's brackets start at 0, 3000.01 and 30000.01.
    const Fila segundo = Con([](Fila& f) { f.importe = "000000000300001"; });
    const Fila tercero = Con([](Fila& f) { f.importe = "000000003000001"; });
    const Fila primero = Con([](Fila& f) { f.importe = "000000000300000"; });
    ASSERT_TRUE(Importar(Lineas({segundo, tercero, primero})));
    EXPECT_EQ(Total(1, 0, 0), 1);
    EXPECT_EQ(Total(1, 0, 1), 1);
    EXPECT_EQ(Total(1, 0, 2), 1);
    EXPECT_DOUBLE_EQ(Total(1, 1, 1), 3000.01);
    EXPECT_DOUBLE_EQ(Total(1, 1, 2), 30000.01);
    EXPECT_DOUBLE_EQ(Total(1, 2, 0), 30.00);
}

TEST_F(Importacion, AFailingFirstRowStillHasEveryRowCheckedAndNothingTotalled) {
    const Fila primera = Con([](Fila& f) { f.mes = "13"; });
    const Fila mala = Con([](Fila& f) { f.referencia = ""; });
    doc.SetCasilla(72, 0, "9,99");
    EXPECT_FALSE(Importar(Lineas({primera, Fila(), mala})));
    // The later rows are checked against the failed first row: its month differs.
    EXPECT_EQ(Series(), (V{"00035", "00036", "00036"}));
    for (double t : doc.TotalesLiquidacion)
        EXPECT_EQ(t, 0);
    for (int c : {1, 2, 24, 60, 64, 68, 72})
        EXPECT_EQ(P1(c), "") << c;
    EXPECT_TRUE(base.ui.mensajes.empty());
}

TEST_F(Importacion, AnEmptyFileIsRefusedWith006AtBox50) {
    for (const std::string& contenido : {std::string(), std::string("\n \r\n\t\n")}) {
        base.ui.listasErrores.clear();
        EXPECT_FALSE(Importar(contenido));
        ASSERT_EQ(base.ui.listasErrores.size(), 1u);
        const stError& e = base.ui.listasErrores[0][0];
        EXPECT_EQ(e.Codigo, doc.GetCodModelo() + "00006");
        EXPECT_EQ(e.Casilla, 50);
        EXPECT_FALSE(e.Descripcion.IsEmpty());
        EXPECT_FALSE(e.Detalle.IsEmpty());
    }
}

TEST_F(Importacion, OneErrorPerRowTheFirstInTableOrder) {
    const Fila otroModelo = Con([](Fila& f) {
        f.modelo = "999";
        f.importe = "000000000000000";
    });
    const Fila sobra = Con([](Fila& f) { f.resto = "X"; });
    const Fila lejos = Con([](Fila& f) { f.resto = std::string(100000, ' ') + "Z"; });
    const Fila sinDescripcion = Con([](Fila& f) { f.tipo = "4"; });
    const Fila conDescripcion = Con([](Fila& f) { f.descripcion = "NO VA"; });
    const Fila tipoMalo = Con([](Fila& f) { f.tipo = "5"; });
    const Fila tipoVacio = Con([](Fila& f) { f.tipo = " "; });
    EXPECT_FALSE(Importar(Lineas(
        {Fila(), otroModelo, sobra, lejos, sinDescripcion, conDescripcion, tipoMalo, tipoVacio})));
    EXPECT_EQ(Series(), (V{"00032", "00043", "00043", "00042", "00046", "00041", "00041"}));
}

TEST_F(Importacion, RowsAreCheckedAgainstTheFirstRow) {
    const Fila otroAnio = Con([](Fila& f) { f.anio = "2023"; });
    const Fila otroMes = Con([](Fila& f) { f.mes = "02"; });
    const Fila otroDeclarante = Con([](Fila& f) { f.declarante = "A58818501"; });
    const Fila terceroEsDeclarante = Con([](Fila& f) { f.tercero = "B12345674"; });
    const Fila nifMalo = Con([](Fila& f) { f.tercero = "12345678A"; });
    EXPECT_FALSE(Importar(
        Lineas({Fila(), otroAnio, otroMes, otroDeclarante, terceroEsDeclarante, nifMalo})));
    EXPECT_EQ(Series(), (V{"00034", "00036", "00038", "00045", "00039"}));
    EXPECT_EQ(Hallazgos()[1], "00036:Fila 3: el mes de devengo no coincide con el de la primera "
                              "fila.");
}

TEST_F(Importacion, PeriodOfTheFirstRow) {
    const Fila futuro = Con([](Fila& f) { f.anio = "2025"; });
    const Fila mesCorto = Con([](Fila& f) { f.mes = " 3"; });
    const Fila mesPosterior = Con([](Fila& f) { f.mes = "07"; }); // July, after June 2024
    const Fila actual = Con([](Fila& f) { f.mes = "06"; });
    EXPECT_FALSE(Importar(Lineas({futuro})));
    EXPECT_EQ(Series(), (V{"00033"}));
    EXPECT_FALSE(Importar(Lineas({mesCorto})));
    EXPECT_EQ(Series(), (V{"00035"}));
    EXPECT_FALSE(Importar(Lineas({mesPosterior})));
    EXPECT_EQ(Series(), (V{"00005"}));
    EXPECT_EQ(Hallazgos()[0].find("%1"), std::string::npos);
    EXPECT_TRUE(Importar(Lineas({actual})));
}

TEST_F(Importacion, WithTheTaxpayerFilledTheDeclarantMustBeHim) {
    doc.SetCasilla(10, 0, "A58818501");
    EXPECT_FALSE(Importar(Lineas({Fila()})));
    ASSERT_EQ(base.ui.listasErrores.back().GetSize(), 1);
    EXPECT_EQ(base.ui.listasErrores.back()[0].Casilla, 10);
    EXPECT_EQ(Series(), (V{"00007"}));
    doc.SetCasilla(10, 0, "B12345674");
    EXPECT_TRUE(Importar(Lineas({Fila()})));
}

TEST_F(Importacion, AFileThatCannotBeOpenedTouchesNothing) {
    doc.SetCasilla(60, 0, "7");
    EXPECT_FALSE(doc.AnalizarFicheroAutoliquidacion(CString(base.tmp / "no-existe.txt")));
    EXPECT_FALSE(doc.AnalizarFicheroAutoliquidacion(CString(base.tmp.Ruta().string())));
    EXPECT_EQ(P1(60), "7");
    EXPECT_TRUE(base.ui.mensajes.empty());
    EXPECT_EQ(base.ui.textosBarra.size(), 0u);
}

TEST_F(Importacion, BytesAfterANulAreNotRead) {
    const Fila mala = Con([](Fila& f) { f.referencia = ""; });
    EXPECT_TRUE(Importar(Fila().Texto() + "\n" + std::string(1, '\0') + mala.Texto() + "\n"));
    EXPECT_EQ(P1(60), "1");
}

TEST_F(Importacion, AnyBytesGiveFindingsNotACrash) {
    std::string basura;
    for (int i = 0; i < 5000; ++i)
        basura += char((i * 37 + 11) % 256);
    EXPECT_FALSE(Importar(basura));
    const Fila latin = Con([](Fila& f) {
        f.nombre = "MU\xD1OZ Y \xC3\x91U\xC3\x91"
                   "EZ";
    });
    EXPECT_TRUE(Importar(Lineas({latin})));
    EXPECT_FALSE(Importar(std::string(100000, 'x') + "\r" + Fila().Texto()));
}

TEST_F(Importacion, TheProgressBarMovesEveryFiftyAcceptedRows) {
    std::string s;
    for (int i = 0; i < 120; ++i)
        s += Fila().Texto() + "\n";
    ASSERT_TRUE(Importar(s));
    EXPECT_EQ(base.ui.animaciones, 3); // rows 1, 51 and 101
    EXPECT_EQ(P1(60), "120");
}

// Columns are characters in a UTF-8 file and bytes in a Latin-1 one. The lines are written with
// an ASCII stand-in, replaced by the letter in either encoding.
TEST_F(Importacion, Utf8AndLatin1FilesAreCutByTheirOwnColumns) {
    const auto Con = [](const std::string& letra, const std::string& descripcion = "") {
        Fila f;
        f.nombre = "PE#A MU#OZ";
        if (!descripcion.empty()) {
            f.tipo = "4";
            f.descripcion = descripcion;
        }
        std::string t = f.Texto();
        for (size_t p; (p = t.find('#')) != std::string::npos;)
            t.replace(p, 1, letra);
        return t;
    };
    const std::string utf8 = "\xC3\x91", latin1 = "\xD1";
    for (const std::string& contenido :
         {Con(latin1) + "\n" + Con(latin1, "OTROS#"), Con(utf8) + "\n" + Con(utf8, "OTROS#"),
          "\xEF\xBB\xBF" + Con(utf8) + "\r\n" + Con(utf8, "OTROS#"),
          // a mark alone makes the file UTF-8, even with no letter beyond ASCII in it
          "\xEF\xBB\xBF" + Fila().Texto()}) {
        base.ui.listasErrores.clear();
        EXPECT_TRUE(Importar(contenido)) << (Hallazgos().empty() ? "" : Hallazgos()[0]);
        EXPECT_EQ(P1(24), "B12345674");
    }
    EXPECT_EQ(P1(60), "1");

    // One byte that starts no UTF-8 character makes the whole file Latin-1: the UTF-8 letter
    // is then two columns, and the document type lands one column late.
    EXPECT_FALSE(Importar(Con(utf8) + "\n" + Con(latin1)));
    EXPECT_EQ(Series(), (V{"00041"}));
    // Surrogates and overlong forms are not UTF-8 either.
    for (const char* falso : {"\xED\xA0\x80", "\xC0\xAF", "\xE0\x80\x80", "\xF4\x90\x80\x80"}) {
        EXPECT_FALSE(Importar(Con(std::string("X") + falso))) << "not UTF-8";
        EXPECT_EQ(Series(), (V{"00041"})) << "not UTF-8";
    }
    // A UTF-8 letter is one column: a line one character too long is still refused as such.
    EXPECT_FALSE(Importar(Con(utf8) + "X"));
    EXPECT_EQ(Series(), (V{"00043"}));
    // A mark with nothing after it is an empty file.
    EXPECT_FALSE(Importar("\xEF\xBB\xBF\n"));
    EXPECT_EQ(Series(), (V{"00006"}));
}
