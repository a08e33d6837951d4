// A long declaration on paper, read back by poppler: every word of every value lies inside the
// box of its control, and no two words of a sheet stand over each other; for a company and for
// a person as taxpayer, on page 1 and on page 2. The boxes come from `modelo view --json`, the
// words from `pdftotext -bbox-layout`.
#include "Modelo/base/CString.h"
#include "cli/Cli.h"
#include "render/Impresion.h"

#include <algorithm>
#include <cstring>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>
#include <vector>

namespace {

struct Caja {
    double x0, y0, x1, y1; // points, y downwards as poppler gives them
    bool Contiene(const Caja& o, double holgura) const {
        return o.x0 >= x0 - holgura && o.x1 <= x1 + holgura && o.y0 >= y0 - holgura &&
               o.y1 <= y1 + holgura;
    }
    bool TieneCentro(const Caja& o) const {
        const double cx = (o.x0 + o.x1) / 2, cy = (o.y0 + o.y1) / 2;
        return cx >= x0 && cx <= x1 && cy >= y0 && cy <= y1;
    }
    // Two lines of one paragraph are set closer than their fonts' ascent and descent add up
    // to, so their boxes share a sliver no ink reaches: up to a tenth of the smaller height.
    bool Solapa(const Caja& o, double holgura) const {
        const double vertical = std::max(holgura, 0.1 * std::min(y1 - y0, o.y1 - o.y0));
        return x0 + holgura < o.x1 && o.x0 + holgura < x1 && y0 + vertical < o.y1 &&
               o.y0 + vertical < y1;
    }
};

struct Palabra {
    std::string texto;
    Caja caja;
};

// Poppler places a word by its advance and the font's ascent and descent; a few hundredths of a
// point either way are its arithmetic, not the layout's.
constexpr double kHolgura = 0.3;

const char* const kEmpresa = "CONSTRUCCIONES, REFORMAS Y PROMOCIONES INMOBILIARIAS DEL "
                             "ARCHIPIÉLAGO CANARIO Y DE LA MACARONESIA, S.L.";

// The draft marks: the band's words, and the large slanted word, which poppler reads as letters
// far taller than any value. Where they go is another matter.
bool DeMarcaBorrador(const Palabra& p) {
    for (const char* m : {"BORRADOR", "-", "SIN", "VALIDEZ", "PARA", "SU", "PRESENTACIÓN"})
        if (p.texto == m)
            return true;
    return p.caja.y1 - p.caja.y0 > 30;
}

std::string Desescapar(std::string s) {
    const std::pair<const char*, const char*> entidades[] = {
        {"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}};
    for (auto [e, c] : entidades)
        for (size_t i; (i = s.find(e)) != std::string::npos;)
            s.replace(i, std::strlen(e), c);
    return s;
}

std::vector<std::string> Palabras(const std::string& valor) {
    std::istringstream in(valor);
    std::vector<std::string> v;
    for (std::string w; in >> w;)
        v.push_back(w);
    return v;
}

class CajasImpresas : public Cli {
protected:
    std::string pdf = tmp / "larga.pdf";

    std::string Larga(bool empresa) {
        const std::string codigo = Nueva("863 --month 9 --year 2024");
        const std::string sujeto = empresa ? "1" : "3", persona = empresa ? "3" : "1";
        std::string args =
            "set " + codigo + " P1-" + sujeto + "0=B12345674 'P1-" + sujeto + "1=" + kEmpresa +
            "' P1-" + persona + "0=12345678Z 'P1-" + persona + "1=FERNÁNDEZ-CASTELLANOS' 'P1-" +
            persona + "2=RODRÍGUEZ DE LA FUENTE' 'P1-" + persona + "3=MARÍA DEL PILAR ALEJANDRA' ";
        args += "P1-14=AV 'P1-15=AVENIDA DE LOS REYES CATÓLICOS Y DE LA CONSTITUCIÓN ESPAÑOLA' "
                "P1-16=1234 P1-17=IZQ P1-18=12 P1-19=DCHA P1-20=922123456 P1-21=38 P1-22=038 "
                "P1-23=38001 P1-34=CL 'P1-35=CALLE DEL DOCTOR JOSÉ MARÍA HERNÁNDEZ-RUBIO' "
                "P1-36=S/N P1-40=928987654 P1-41=35 P1-42=016 P1-43=35001 P1-50=S "
                "P1-52=8630000000009 P1-53=15/04/2024 P1-54=2024 P1-55=000012 ";
        for (int i = 0; i < 4; ++i)
            args += "P1-6" + std::to_string(i) + "=999999999 P1-6" + std::to_string(i + 4) +
                    "=99.999.999.999.999,99 P1-" + std::to_string(68 + i) +
                    "=99.999.999.999.999,99 ";
        args += "P1-72=399.999.999.999.999,96 P1-140=X1234567L 'P1-141=" + std::string(kEmpresa) +
                "' P1-142=600123456 'P1-147=SANTA CRUZ DE TENERIFE a' P1-143=30 "
                "P1-144=SEPTIEMBRE P1-145=2024";
        auto s = Modelo(args);
        EXPECT_EQ(s.estado, 0) << s.err;
        return codigo;
    }

    int Hojas() {
        auto s = apoyo::Ejecutar("pdftotext '" + pdf + "' - | tr -cd '\\f' | wc -c");
        return std::stoi(s.out);
    }

    std::vector<Palabra> PalabrasDeHoja(int hoja) {
        const std::string salida = tmp / ("hoja" + std::to_string(hoja) + ".html");
        auto s = apoyo::Ejecutar("pdftotext -bbox-layout -f " + std::to_string(hoja) + " -l " +
                                 std::to_string(hoja) + " '" + pdf + "' '" + salida + "'");
        EXPECT_EQ(s.estado, 0) << s.err;
        const std::string html = apoyo::Leer(salida);
        static const std::regex palabra(
            R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)">([^<]*)</word>)re");
        std::vector<Palabra> v;
        for (auto it = std::sregex_iterator(html.begin(), html.end(), palabra);
             it != std::sregex_iterator(); ++it) {
            const std::smatch& m = *it;
            v.push_back({Desescapar(m[5]),
                         {std::stod(m[1]), std::stod(m[2]), std::stod(m[3]), std::stod(m[4])}});
        }
        return v;
    }

    // The boxes a page prints, with their values, in points of the sheet.
    std::vector<std::pair<std::string, Caja>> Valores(const std::string& codigo, int pagina) {
        auto s = Modelo("view " + codigo + " --page " + std::to_string(pagina) + " --json");
        EXPECT_EQ(s.estado, 0) << s.err;
        const stEscalaImpresion e = EscalaPaginaPDF();
        const double pt = 72.0 / kPuntosPorPulgadaPDF;
        std::vector<std::pair<std::string, Caja>> v;
        for (const auto& c : nlohmann::json::parse(s.out)) {
            if (c["casilla"].is_null() || !c["visible"].get<bool>() || c["clase"] == "Button" ||
                c["clase"] == "CDateTimeFixFormatCtrl")
                continue;
            const std::string valor = c["valor"].get<std::string>();
            if (valor.empty())
                continue;
            const auto& r = c["rect"];
            const int x = r["x"], y = r["y"], ancho = r["ancho"], alto = r["alto"];
            v.push_back({valor,
                         {(e.origen.x + Escalar(x, e.x)) * pt, (e.origen.y + Escalar(y, e.y)) * pt,
                          (e.origen.x + Escalar(x + ancho, e.x)) * pt,
                          (e.origen.y + Escalar(y + alto, e.y)) * pt}});
        }
        return v;
    }

    void Comprobar(const std::string& codigo) {
        auto s = Modelo("print " + codigo + " -o '" + pdf + "'");
        ASSERT_EQ(s.estado, 0) << s.err;
        const int hojas = Hojas();
        ASSERT_GE(hojas, 2);
        for (auto [hoja, pagina] : {std::pair{1, 1}, std::pair{hojas, 2}}) {
            SCOPED_TRACE("hoja " + std::to_string(hoja));
            const std::vector<Palabra> palabras = PalabrasDeHoja(hoja);
            ASSERT_FALSE(palabras.empty());
            const auto valores = Valores(codigo, pagina);
            EXPECT_GT(valores.size(), pagina == 1 ? 40u : 20u);
            for (const auto& [valor, caja] : valores) {
                for (const std::string& w : Palabras(valor)) {
                    bool hallada = false;
                    for (const Palabra& p : palabras) {
                        if (p.texto != w || !caja.TieneCentro(p.caja))
                            continue;
                        hallada = true;
                        EXPECT_TRUE(caja.Contiene(p.caja, kHolgura))
                            << w << " de «" << valor << "»: " << p.caja.x0 << "," << p.caja.y0
                            << " - " << p.caja.x1 << "," << p.caja.y1 << " fuera de " << caja.x0
                            << "," << caja.y0 << " - " << caja.x1 << "," << caja.y1;
                    }
                    EXPECT_TRUE(hallada) << w << " de «" << valor << "» no está en su casilla";
                }
            }
            for (size_t a = 0; a < palabras.size(); ++a) {
                if (DeMarcaBorrador(palabras[a]))
                    continue;
                for (size_t b = a + 1; b < palabras.size(); ++b)
                    if (!DeMarcaBorrador(palabras[b])) {
                        EXPECT_FALSE(palabras[a].caja.Solapa(palabras[b].caja, kHolgura))
                            << palabras[a].texto << " / " << palabras[b].texto;
                    }
            }
        }
    }
};

} // namespace

TEST_F(CajasImpresas, ACompanyTaxpayerPrintsEveryValueInsideItsBox) {
    Comprobar(Larga(true));
}

TEST_F(CajasImpresas, APersonTaxpayerPrintsEveryValueInsideItsBox) {
    Comprobar(Larga(false));
}
