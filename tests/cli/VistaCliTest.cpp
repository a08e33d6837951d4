// `modelo view`: a page opened by the program exactly as the window opens it, listed control by
// control, and drawn to PNG with every filled box inside the field printed for it.
#include "Host.h"
#include "cli/Cli.h"
#include "render/Pagina.h"

#include <QImage>
#include <QString>
#include <filesystem>
#include <nlohmann/json.hpp>

namespace {

class CliVista : public CliDeclaracion {
protected:
    void SetUp() override {
        Declaracion("P1-10=B12345674 'P1-11=LA CASA DE ÑANDÚ, S.L.' P1-14=CL "
                    "P1-15=MAYOR P1-16=7 P1-21=28 P1-22=079 P1-23=28013 P1-30=12345678Z "
                    "P1-31=GARCIA P1-32=LOPEZ P1-33=ANA P1-50=S P1-52=8630000000009 "
                    "P1-53=15/04/2024 P1-54=2024 P1-55=000012 P1-60=5 P1-64=1.000,00 "
                    "P1-68=3,00 P1-72=3,00 P1-140=X1234567L 'P1-141=GESTORIA PEREZ'");
    }
};

// Pixels that are not the paper white of a field.
bool Blanco(QRgb p) {
    return qRed(p) > 245 && qGreen(p) > 245 && qBlue(p) > 245;
}

} // namespace

TEST_F(CliVista, ListsEveryControlAsTheWindowOpensIt) {
    auto s = Modelo("view " + codigo + " --json");
    ASSERT_EQ(s.estado, 0) << s.err;
    const auto controles = nlohmann::json::parse(s.out);
    ASSERT_EQ(controles.size(), 71u);
    std::map<std::string, nlohmann::json> porCasilla;
    for (const auto& c : controles)
        if (!c["casilla"].is_null())
            porCasilla[c["casilla"]] = c;
    EXPECT_EQ(porCasilla["P1-21"]["valor"], "Madrid");
    // The company's name over the span of the three name boxes.
    auto fin = [&](const char* c) {
        return porCasilla[c]["rect"]["x"].get<int>() + porCasilla[c]["rect"]["ancho"].get<int>();
    };
    EXPECT_EQ(fin("P1-11"), fin("P1-13"));
    EXPECT_EQ(porCasilla["P1-13"]["visible"], false);
    EXPECT_EQ(porCasilla["P1-33"]["visible"], true);
    EXPECT_EQ(porCasilla["P1-50"]["marcada"], true);
    EXPECT_EQ(porCasilla["P1-53"]["fecha"], "15/04/2024");
    EXPECT_EQ(porCasilla["P1-64"]["habilitado"], true);
    EXPECT_EQ(porCasilla["P1-65"]["habilitado"], false);

    // Page 2 of a final declaration: read-only, with the code under the bar code.
    ASSERT_EQ(Modelo("finalize " + codigo).estado, 0);
    s = Modelo("view " + codigo + " --page 2");
    ASSERT_EQ(s.estado, 0) << s.err;
    EXPECT_NE(s.out.find("\t-\tCStaticTransBold\t" + codigo + "\t"), std::string::npos) << s.out;
    EXPECT_NE(s.out.find("\tP2-72\tCEditDecNumber\t3,00\t0\t1\t"), std::string::npos) << s.out;

    EXPECT_EQ(Modelo("view 8639999999999").estado, 2);
    EXPECT_EQ(Modelo("view " + codigo + " --page 3").estado, 2);
}

TEST_F(CliVista, ThePictureHasEveryFilledBoxInsideItsField) {
    const std::string png = tmp / "pagina1.png";
    auto s = Modelo("view " + codigo + " -o '" + png + "'");
    ASSERT_EQ(s.estado, 0) << s.err;
    EXPECT_EQ(s.err, "");
    const QImage dibujo = QImage(QString::fromStdString(png)).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(dibujo.size(), QSize(770, 1125));

    // The same view in this process gives the page image and where every control sits.
    CHost host(CString(db), MODELO_BIN_DIR);
    auto doc = host.Abrir(CString(codigo));
    CString error;
    auto vista = AbrirVistaPagina(*doc, 0, error);
    ASSERT_TRUE(vista) << error.c_str();
    const QImage fondo = FondoDeVista(*vista).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(fondo.size(), dibujo.size());

    std::vector<QRect> zonas; // where drawing is allowed: every visible control
    int comprobadas = 0;
    for (CWnd* w : vista->Controles()) {
        if (!w->IsWindowVisible())
            continue;
        CRect r;
        w->GetWindowRect(&r);
        // A name field laid out lower than its line shows the line centred on it.
        zonas.emplace_back(QRect(r.left, r.top - 5, r.Width(), r.Height() + 10));
        const bool edicion = w->GetClase() == ClaseControl::EditTrans ||
                             w->GetClase() == ClaseControl::EditNumber ||
                             w->GetClase() == ClaseControl::EditDecNumber;
        if (!edicion || w->GetWindowText().IsEmpty())
            continue;
        ++comprobadas;
        int blancos = 0, total = 0, tinta = 0;
        for (int y = r.top + 1; y < r.bottom - 1; ++y)
            for (int x = r.left + 1; x < r.right - 1; ++x) {
                ++total;
                blancos += Blanco(fondo.pixel(x, y));
                tinta += qGray(fondo.pixel(x, y)) - qGray(dibujo.pixel(x, y)) > 80;
            }
        EXPECT_GT(blancos, total * 9 / 10) << "no white field under " << w->GetDlgCtrlID();
        // Even a single greyed digit leaves a few strokes of ink.
        EXPECT_GE(tinta, 4) << "no text in " << w->GetDlgCtrlID();
    }
    EXPECT_GE(comprobadas, 20);
    int fuera = 0;
    for (int y = 0; y < dibujo.height(); ++y)
        for (int x = 0; x < dibujo.width(); ++x)
            if (dibujo.pixel(x, y) != fondo.pixel(x, y) &&
                std::none_of(zonas.begin(), zonas.end(),
                             [&](const QRect& z) { return z.contains(x, y); }))
                ++fuera;
    EXPECT_EQ(fuera, 0) << "pixels drawn outside every control";
}

TEST_F(CliVista, APathThatCannotBeWrittenIsRefused) {
    for (const std::string& ruta : {tmp / "no-existe/p.png", tmp.Ruta().string()}) {
        auto s = Modelo("view " + codigo + " -o '" + ruta + "'");
        EXPECT_EQ(s.estado, 2) << ruta;
        EXPECT_NE(s.err.find("No se puede escribir"), std::string::npos) << s.err;
    }
    EXPECT_TRUE(std::filesystem::is_directory(tmp.Ruta()));
}
