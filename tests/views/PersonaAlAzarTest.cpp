// Page 1 under random sequences of a person's actions, in any order, with good and bad text:
// whatever a person does, the page keeps its invariants. The seed is printed, and
// MODELO_SEMILLA=N replays a failure.
#include "Formulario.h"
#include "Modelo/base/Funciones.h"
#include "Modelo/windows/Controles.h"
#include "Modelo/windows/GuiaView.h"
#include "Modelo/windows/Persona.h"
#include "core/Casillas.h"
#include "core/ModDoc.h"
#include "support/BaseTemporal.h"

#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <string>

namespace {

// Texts a person might type or paste: values each kind of box takes, values the rules refuse,
// line breaks, tabs and escape sequences, Latin-1 and UTF-8 letters.
const char* const kTextos[] = {
    "",
    "0",
    "00",
    "1",
    "3",
    "12",
    "2024",
    "1999",
    "2031",
    "1.234,50",
    "10,00",
    "0,20",
    ",",
    "99999999999999,99",
    "12345678Z",
    "B12345674",
    "MARZO",
    "marzo",
    "ñandú",
    "\xD1"
    "A",
    "€",
    "A\tB",
    "1\n2",
    "\x1B[31mX",
    "\x7F",
    "1,5\r",
    "-5",
    "1.2.3",
    "8630000000009",
};

// A text of random bytes drawn from what breaks parsers: digits, separators, letters, control
// characters and bytes >= 0x80.
std::string TextoAlAzar(std::mt19937& azar) {
    static const std::string kBytes =
        std::string("0123456789,.,.aZ ñ\t\n\r\x1B\x7F\x01") + "\xC3\xA1\xD1\xFF\x80";
    std::string s(azar() % 16, ' ');
    for (char& c : s)
        c = kBytes[azar() % kBytes.size()];
    return s;
}

// The exact value of a currency text in cents (dots ignored, at most two decimals); the rules
// may take "1,5" or ",", and they mean 1,50 and 0.
long long Centimos(const CString& t) {
    long long entero = 0, fraccion = 0;
    int decimales = -1;
    for (char c : t.view()) {
        if (c == ',')
            decimales = 0;
        else if (texto::EsDigito(c) && decimales < 0)
            entero = entero * 10 + (c - '0');
        else if (texto::EsDigito(c) && decimales < 2) {
            fraccion = fraccion * 10 + (c - '0');
            ++decimales;
        }
    }
    for (; decimales < 2; decimales = decimales < 0 ? 1 : decimales + 1)
        fraccion *= 10;
    return entero * 100 + fraccion;
}

class PersonaAlAzar : public ::testing::Test {
protected:
    BaseTemporal base;
    MOD_DOC doc;

    void SetUp() override {
        Reloj::Fijar([] { return COleDateTime(2024, 6, 10, 9, 0, 0); });
        doc.SetCodDeclar(CString(formulario::kCodigo) + "0000000001");
        doc.CrearEstructPaginas();
        ASSERT_TRUE(doc.CargarTablasAuxiliares());
    }
};

} // namespace

TEST_F(PersonaAlAzar, NoSequenceOfActionsBreaksTheRulesOfPage1) {
    const unsigned semilla = apoyo::Semilla();
    SCOPED_TRACE("MODELO_SEMILLA=" + std::to_string(semilla));
    std::mt19937 azar(semilla);
    auto marcada = [](CGuiaView& v, int id) {
        return static_cast<CButton*>(v.GetDlgItem(id))->GetCheck() == BST_CHECKED;
    };
    for (int secuencia = 0; secuencia < 300; ++secuencia) {
        SCOPED_TRACE("secuencia " + std::to_string(secuencia));
        doc.VaciarCasillas();
        if (azar() % 2) {
            doc.SetCasilla(casilla::MesDevengo, pagina::P1, "03");
            doc.SetCasilla(casilla::AnioDevengo, pagina::P1, "2024");
        }
        CString error;
        std::unique_ptr<CGuiaView> vista = AbrirVistaPagina(doc, pagina::P1, error);
        ASSERT_TRUE(vista) << error.c_str();
        std::vector<int> ediciones, marcas, selectores, botones;
        for (const ControlPlantilla& c : vista->Plantilla()->controles) {
            if (c.clase == ClaseControl::EditTrans || c.clase == ClaseControl::EditNumber ||
                c.clase == ClaseControl::EditDecNumber)
                ediciones.push_back(c.id);
            else if (c.clase == ClaseControl::CheckBox)
                marcas.push_back(c.id);
            else if (c.clase == ClaseControl::DateTimeOpt ||
                     c.clase == ClaseControl::DateTimeFixFormat)
                selectores.push_back(c.id);
            else if (c.clase == ClaseControl::ScrollBitmapButton)
                botones.push_back(c.id);
        }
        const int idComplementaria =
            vista->Plantilla()->ControlDeCasilla(casilla::Complementaria)->id;
        const int idSustitutiva = vista->Plantilla()->ControlDeCasilla(casilla::Sustitutiva)->id;
        auto alAzar = [&](const std::vector<int>& ids) { return ids[azar() % ids.size()]; };

        CPersona persona(*vista);
        const int acciones = 1 + int(azar() % 30);
        for (int a = 0; a < acciones; ++a) {
            std::string hecho;
            switch (azar() % 10) {
            case 0:
            case 1:
            case 2:
            case 3: {
                const int id = alAzar(ediciones);
                const std::string t =
                    azar() % 3 ? kTextos[azar() % std::size(kTextos)] : TextoAlAzar(azar);
                hecho = "escribe en " + std::to_string(id);
                persona.Escribir(id, CString(t));
                break;
            }
            case 4:
                hecho = "teclea al final";
                persona.Teclear(alAzar(ediciones), CString(TextoAlAzar(azar)));
                break;
            case 5:
            case 6:
                hecho = "pulsa una marca";
                persona.Pulsar(azar() % 2 ? alAzar(marcas)
                                          : (azar() % 2 ? idComplementaria : idSustitutiva));
                break;
            case 7: {
                hecho = "elige una fecha";
                COleDateTime fecha;
                if (azar() % 4)
                    fecha = COleDateTime(1995 + int(azar() % 40), 1 + int(azar() % 12),
                                         1 + int(azar() % 28), 0, 0, 0);
                persona.ElegirFecha(alAzar(selectores), fecha);
                break;
            }
            case 8:
                hecho = "pulsa un botón";
                persona.Pulsar(alAzar(botones));
                break;
            default:
                hecho = azar() % 2 ? "tabula" : "sale";
                if (hecho == "tabula")
                    persona.Tabular();
                else
                    persona.Salir();
            }
            ASSERT_FALSE(marcada(*vista, idComplementaria) && marcada(*vista, idSustitutiva))
                << "acción " << a << ": " << hecho;
        }
        persona.Salir();
        vista->SalvarDatos();

        auto caja = [&](int c) { return doc.GetCasilla(c, pagina::P1); };
        for (const auto& [clave, valor] : doc.Casillas())
            ASSERT_FALSE(texto::TieneControl(valor.view()))
                << "P" << clave.first + 1 << "-" << clave.second << " = "
                << CitaBreve(valor).c_str();
        ASSERT_FALSE(caja(casilla::Complementaria) == "S" && caja(casilla::Sustitutiva) == "S");
        long long suma = 0;
        bool algunaCuota = false;
        for (int i = 0; i < casilla::FilasLiquidacion; ++i) {
            const CString cuota = caja(casilla::Cuota + i);
            algunaCuota = algunaCuota || !cuota.IsEmpty();
            suma += Centimos(cuota);
        }
        const CString total = caja(casilla::TotalIngresar);
        if (!algunaCuota)
            ASSERT_EQ(total, "");
        else
            ASSERT_EQ(Centimos(total), suma) << total.c_str();
    }
}
