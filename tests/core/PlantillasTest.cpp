// Compiled once per form with forms/NNN on the include path and linked to that form's plug-in:
// the templates are looked up through the resource chain, as the host finds them once the
// plug-in is loaded.
#include "core/Plantillas.h"
#include "Formulario.h"
#include "Modelo/base/Recursos.h"
#include "core/Casillas.h"
#include "core/IdsRecursos.h"

#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace {

std::set<int> Casillas(const PlantillaDialogo& p) {
    std::set<int> s;
    for (const ControlPlantilla& c : p.controles)
        if (c.casilla >= 0)
            s.insert(c.casilla);
    return s;
}

std::set<int> Rango(int desde, int hasta) {
    std::set<int> s;
    for (int i = desde; i <= hasta; ++i)
        s.insert(i);
    return s;
}

// The page figures pinned below are those of the two first forms; another form brings its own.
bool EsForma(const char* codigo) {
    return std::string(formulario::kCodigo) == codigo;
}

void EsperaPosicion(const ControlPlantilla* c, int x, int y, int cx, int cy) {
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->x, x) << c->id;
    EXPECT_EQ(c->y, y) << c->id;
    EXPECT_EQ(c->cx, cx) << c->id;
    EXPECT_EQ(c->cy, cy) << c->id;
}

class Plantillas : public ::testing::Test {
protected:
    void SetUp() override {
        p1 = AfxBuscarPlantilla(recurso::PlantillaPagina1);
        p2 = AfxBuscarPlantilla(recurso::PlantillaPagina2);
        ASSERT_NE(p1, nullptr);
        ASSERT_NE(p2, nullptr);
    }
    const PlantillaDialogo* p1 = nullptr;
    const PlantillaDialogo* p2 = nullptr;
};

TEST_F(Plantillas, PagesHaveTheirIdsSizesFontAndControlCounts) {
    EXPECT_EQ(p1->id, formulario::kIdBase + 1);
    EXPECT_EQ(p2->id, formulario::kIdBase + 7);
    EXPECT_EQ(p1->cx, 530);
    EXPECT_EQ(p2->cx, 524);
    for (const PlantillaDialogo* p : {p1, p2}) {
        EXPECT_EQ(p->cy, 688);
        EXPECT_STREQ(p->fuente, "MS Sans Serif");
        EXPECT_EQ(p->puntos, 8);
    }
    EXPECT_EQ(p1->controles.size(), 71u);
    EXPECT_EQ(p2->controles.size(), 29u);
}

TEST_F(Plantillas, IdsAreUniqueAndWithinTheFormsRange) {
    // Form 871 is form 863 with every id 1000 lower.
    if (EsForma("863")) {
        EXPECT_EQ(formulario::kIdBase, 26000);
    }
    if (EsForma("871")) {
        EXPECT_EQ(formulario::kIdBase, 25000);
    }
    for (const PlantillaDialogo* p : {p1, p2}) {
        std::set<int> ids;
        for (const ControlPlantilla& c : p->controles) {
            EXPECT_TRUE(ids.insert(c.id).second) << "id repetido " << c.id;
            EXPECT_GE(c.id, formulario::kIdBase + 100);
            EXPECT_LE(c.id, formulario::kIdBase + 172);
        }
    }
    ASSERT_NE(p1->ControlDeCasilla(casilla::MesDevengo), nullptr);
    EXPECT_EQ(p1->ControlDeCasilla(casilla::MesDevengo)->id, formulario::kIdBase + 148);
    EXPECT_EQ(p1->ControlDeCasilla(casilla::Representante)->id, formulario::kIdBase + 114);
}

TEST_F(Plantillas, EveryControlLiesInsideItsPageAndShowsAtMostOneBox) {
    for (const PlantillaDialogo* p : {p1, p2}) {
        std::set<int> vistas;
        for (const ControlPlantilla& c : p->controles) {
            EXPECT_GE(c.x, 0) << c.id;
            EXPECT_GE(c.y, 0) << c.id;
            EXPECT_GT(c.cx, 0) << c.id;
            EXPECT_GT(c.cy, 0) << c.id;
            EXPECT_LE(c.x + c.cx, p->cx) << c.id;
            EXPECT_LE(c.y + c.cy, p->cy) << c.id;
            if (c.casilla >= 0) {
                EXPECT_TRUE(vistas.insert(c.casilla).second) << "casilla repetida " << c.casilla;
            }
        }
    }
}

TEST_F(Plantillas, Page1ShowsEveryBoxOfTheDeclaration) {
    std::set<int> esperadas = {casilla::MesDevengo, casilla::AnioDevengo};
    for (int grupo : {casilla::SujetoPasivo, casilla::Representante})
        esperadas.merge(Rango(grupo, grupo + casilla::grupo::Tamano - 1));
    esperadas.merge(Rango(casilla::Complementaria, casilla::NumeroPresentacionAnterior));
    esperadas.merge(Rango(casilla::NumeroDocumentos, casilla::TotalIngresar));
    esperadas.merge(Rango(casilla::PresentadorNif, casilla::LugarFirma));
    EXPECT_EQ(Casillas(*p1), esperadas);
}

TEST_F(Plantillas, Page2RepeatsOnlyTheReplicatedBoxesWithPage1sControls) {
    std::set<int> replicadas = {casilla::MesDevengo,        casilla::AnioDevengo,
                                casilla::TotalIngresar,     casilla::PresentadorNif,
                                casilla::PresentadorNombre, casilla::PresentadorTelefono,
                                casilla::LugarFirma,        casilla::FirmaDia,
                                casilla::FirmaMes,          casilla::FirmaAnio};
    replicadas.merge(
        Rango(casilla::SujetoPasivo, casilla::SujetoPasivo + casilla::grupo::Tamano - 1));
    EXPECT_EQ(Casillas(*p2), replicadas);
    for (const ControlPlantilla& c : p2->controles) {
        const ControlPlantilla* en1 =
            c.casilla >= 0 ? p1->ControlDeCasilla(c.casilla) : p1->Control(c.id);
        ASSERT_NE(en1, nullptr) << c.id;
        EXPECT_EQ(c.id, en1->id);
        EXPECT_EQ(c.clase, en1->clase) << c.id;
    }
}

TEST_F(Plantillas, NothingOnPage2CanBeEditedAndOnlyPage1HasButtonsAndTheTwoDimensionalCode) {
    for (const ControlPlantilla& c : p2->controles) {
        if (c.casilla >= 0) {
            EXPECT_FALSE(c.habilitado) << c.id;
        }
        EXPECT_NE(c.clase, ClaseControl::ScrollBitmapButton) << c.id;
    }
    EXPECT_EQ(p2->Control(control::CodigoPuntos), nullptr);
    EXPECT_NE(p2->Control(control::CodigoBarras), nullptr);

    int botones = 0;
    for (const ControlPlantilla& c : p1->controles)
        botones += c.clase == ClaseControl::ScrollBitmapButton;
    EXPECT_EQ(botones, 8);
}

TEST_F(Plantillas, Page1OpensWithOnlyPeriodCountsAndSignatureDateEnabled) {
    std::set<int> habilitadas = {casilla::MesDevengo, casilla::AnioDevengo, casilla::FirmaFecha};
    habilitadas.merge(Rango(casilla::NumeroDocumentos,
                            casilla::NumeroDocumentos + casilla::FilasLiquidacion - 1));
    for (const ControlPlantilla& c : p1->controles) {
        const bool esperado = c.casilla < 0 || habilitadas.count(c.casilla) == 1;
        EXPECT_EQ(c.habilitado, esperado) << "control " << c.id;
    }
}

TEST_F(Plantillas, PositionsAndStylesFromTheCatalogue) {
    EsperaPosicion(p1->ControlDeCasilla(casilla::AnioDevengo), 388, 161, 34, 12);
    EsperaPosicion(p1->ControlDeCasilla(casilla::SujetoPasivo + casilla::grupo::Apellido1), 134,
                   229, 115, 12);
    EsperaPosicion(p1->ControlDeCasilla(casilla::Representante + casilla::grupo::TipoVia), 65, 313,
                   35, 12);
    EsperaPosicion(p1->ControlDeCasilla(casilla::Representante + casilla::grupo::Provincia), 65,
                   332, 119, 12);
    EsperaPosicion(p1->ControlDeCasilla(casilla::Sustitutiva), 157, 368, 9, 9);
    EsperaPosicion(p1->ControlDeCasilla(casilla::Cuota + 3), 396, 481, 77, 12);
    EsperaPosicion(p1->ControlDeCasilla(casilla::TotalIngresar), 396, 498, 77, 12);
    EsperaPosicion(p1->ControlDeCasilla(casilla::FirmaFecha), 480, 600, 14, 11);
    EsperaPosicion(p1->Control(control::CodigoPuntos), 66, 158, 235, 49);
    EsperaPosicion(p1->Control(control::IntervPresentador), 119, 572, 12, 11);
    EsperaPosicion(p2->Control(control::TextoCodigoBarras), 311, 202, 185, 10);

    // The payment copy prints the taxpayer's address row one unit lower, and places its total
    // per form.
    EsperaPosicion(p2->ControlDeCasilla(casilla::SujetoPasivo + casilla::grupo::NombreVia), 102,
                   248, 273, 12);
    EsperaPosicion(p2->ControlDeCasilla(casilla::SujetoPasivo + casilla::grupo::Provincia), 65, 267,
                   119, 12);
    if (EsForma("871"))
        EsperaPosicion(p2->ControlDeCasilla(casilla::TotalIngresar), 390, 497, 82, 12);
    if (EsForma("863"))
        EsperaPosicion(p2->ControlDeCasilla(casilla::TotalIngresar), 396, 498, 76, 12);

    const ControlPlantilla* fecha = p1->ControlDeCasilla(casilla::FechaPresentacionAnterior);
    ASSERT_NE(fecha, nullptr);
    EXPECT_EQ(fecha->clase, ClaseControl::DateTimeOpt);
    EXPECT_EQ(fecha->estilos, unsigned(ES_CALENDARIO_DERECHA));
    EXPECT_EQ(p1->ControlDeCasilla(casilla::TotalIngresar)->estilos,
              unsigned(ES_DERECHA | ES_MAYUSCULAS));
    EXPECT_EQ(p1->ControlDeCasilla(casilla::FirmaDia)->estilos,
              unsigned(ES_CENTRADO | ES_MAYUSCULAS | ES_AUTOSCROLL));
    EXPECT_EQ(p1->ControlDeCasilla(casilla::LugarFirma)->estilos, unsigned(ES_CENTRADO));
}

TEST_F(Plantillas, MonthOfAccrualStyleDiffersOnlyOnPage1OfForm871) {
    const ControlPlantilla* mes1 = p1->ControlDeCasilla(casilla::MesDevengo);
    const ControlPlantilla* mes2 = p2->ControlDeCasilla(casilla::MesDevengo);
    ASSERT_NE(mes1, nullptr);
    ASSERT_NE(mes2, nullptr);
    EsperaPosicion(mes1, 460, 161, 23, 12);
    EXPECT_EQ(mes1->estilos, formulario::kMesDevengoAutoscroll
                                 ? unsigned(ES_CENTRADO | ES_AUTOSCROLL)
                                 : unsigned(ES_CENTRADO | ES_MAYUSCULAS));
    EXPECT_EQ(mes2->estilos, unsigned(ES_CENTRADO | ES_MAYUSCULAS));
    EXPECT_FALSE(mes2->habilitado);
}

TEST_F(Plantillas, RepresentativeRowsMirrorTheTaxpayerColumns) {
    for (int item = 0; item < casilla::grupo::Tamano; ++item) {
        const ControlPlantilla* s = p1->ControlDeCasilla(casilla::SujetoPasivo + item);
        const ControlPlantilla* r = p1->ControlDeCasilla(casilla::Representante + item);
        ASSERT_NE(s, nullptr);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->x, s->x) << item;
        EXPECT_EQ(r->cx, s->cx) << item;
        EXPECT_EQ(r->clase, s->clase) << item;
        EXPECT_EQ(r->estilos, s->estilos) << item;
        EXPECT_EQ(r->y - s->y, std::vector<int>({65, 66, 65})[item < 4    ? 0
                                                              : item < 11 ? 1
                                                                          : 2])
            << item;
    }
}

TEST_F(Plantillas, LiquidationRowsLineUpInTheirColumns) {
    for (int i = 0; i < casilla::FilasLiquidacion; ++i) {
        const ControlPlantilla* n = p1->ControlDeCasilla(casilla::NumeroDocumentos + i);
        const ControlPlantilla* b = p1->ControlDeCasilla(casilla::Base + i);
        const ControlPlantilla* q = p1->ControlDeCasilla(casilla::Cuota + i);
        ASSERT_TRUE(n && b && q) << i;
        EXPECT_EQ(n->id, formulario::kIdBase + 156 + i);
        EXPECT_EQ(b->id, formulario::kIdBase + 160 + i);
        EXPECT_EQ(q->id, formulario::kIdBase + 164 + i);
        EXPECT_TRUE(n->y == b->y && b->y == q->y) << i;
        EXPECT_EQ(n->x, 168);
        EXPECT_EQ(b->x, 246);
        EXPECT_EQ(q->x, 396);
        for (const ControlPlantilla* c : {n, b, q}) {
            EXPECT_EQ(c->clase, ClaseControl::EditDecNumber);
            EXPECT_EQ(c->estilos, unsigned(ES_DERECHA | ES_MAYUSCULAS));
        }
    }
}

} // namespace
