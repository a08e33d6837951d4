// `modelo view --json` names every control as a screen reader hears it in the window, so that a
// script sees the same words: a box by the form's catalogue, a button by what it does.
#include "cli/Cli.h"

#include <algorithm>
#include <map>
#include <nlohmann/json.hpp>
#include <set>

TEST_F(CliDeclaracion, ViewNamesEveryControlAsTheWindowSaysIt) {
    Declaracion("P1-60=5 P1-64=1.000,00 P1-68=3,00 P1-72=3,00");
    for (int pagina : {1, 2}) {
        SCOPED_TRACE(pagina);
        auto s = Modelo("view " + codigo + " --page " + std::to_string(pagina) + " --json");
        ASSERT_EQ(s.estado, 0) << s.err;
        const auto controles = nlohmann::json::parse(s.out);
        std::set<std::string> nombres;
        std::map<std::string, std::string> porCasilla;
        int botones = 0;
        for (const auto& c : controles) {
            const std::string nombre = c["nombre"];
            if (!c["casilla"].is_null())
                porCasilla[c["casilla"]] = nombre;
            if (c["clase"] == "CScrollBitmapButton") {
                ++botones;
                EXPECT_TRUE(Contiene(nombre, "Ayuda") || Contiene(nombre, "intervinientes"))
                    << nombre;
            }
            if (nombre.empty()) { // only a text that shows nothing says nothing
                EXPECT_EQ(c["valor"], "") << c.dump();
                EXPECT_TRUE(c["casilla"].is_null()) << c.dump();
                continue;
            }
            EXPECT_TRUE(nombres.insert(nombre).second) << nombre;
        }
        const std::string p = "P" + std::to_string(pagina) + "-";
        // Page 2's copy reads as the box it copies.
        EXPECT_EQ(porCasilla[p + "72"], "Casilla 72. Total a ingresar (suma de las cuotas)");
        EXPECT_EQ(porCasilla[p + "1"], "Casilla 1. Mes de devengo");
        if (pagina == 1) {
            EXPECT_EQ(porCasilla["P1-64"], "Casilla 64. Base imponible de los recibos");
            EXPECT_EQ(botones, 8);
            EXPECT_TRUE(nombres.count("Código PDF417 de la declaración"));
        }
        EXPECT_TRUE(nombres.count("Código de barras de la declaración"));
    }
    // The text listing keeps its columns.
    auto s = Modelo("view " + codigo);
    ASSERT_EQ(s.estado, 0);
    const std::string primera = s.out.substr(0, s.out.find('\n'));
    EXPECT_EQ(std::count(primera.begin(), primera.end(), '\t'), 6) << primera;
}
