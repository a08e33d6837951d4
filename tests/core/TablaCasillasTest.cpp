// Page 1's table checked for the mistakes a new or edited row can bring: a box or an id twice,
// a print rank shared, a mark on a row it means nothing to, a related box that is not there
// when it is needed, the two party groups drifting apart.
#include "core/TablaCasillas.h"

#include <gtest/gtest.h>
#include <map>
#include <set>
#include <string>

namespace {

using tabla::Fila;

const Fila* DeCasilla(int casilla) {
    for (const Fila& f : tabla::kPagina1)
        if (f.Casilla() == casilla)
            return &f;
    return nullptr;
}

bool EsEdicion(ClaseControl c) {
    return c == ClaseControl::EditTrans || c == ClaseControl::EditNumber ||
           c == ClaseControl::EditDecNumber;
}

} // namespace

TEST(TablaCasillas, EveryBoxAndEveryControlIdOnce) {
    std::set<int> casillas, ids, rangos;
    for (const Fila& f : tabla::kPagina1) {
        if (f.EsCasilla()) {
            EXPECT_TRUE(casillas.insert(f.Casilla()).second) << "casilla repetida " << f.Casilla();
        }
        if (f.TieneControl()) {
            EXPECT_TRUE(ids.insert(f.control.id).second) << "id repetido " << f.control.id;
        }
        if (f.impresion > 0) {
            EXPECT_TRUE(rangos.insert(f.impresion).second) << "rango repetido " << f.impresion;
        }
    }
}

TEST(TablaCasillas, MarksAndColumnsOnlyWhereTheyMeanSomething) {
    for (const Fila& f : tabla::kPagina1) {
        SCOPED_TRACE(f.EsCasilla() ? f.Casilla() : f.control.id);
        if (!f.EsCasilla()) {
            // A control that shows no box has no meaning, tip, printed value nor limit.
            EXPECT_EQ(f.significado, nullptr);
            EXPECT_FALSE(f.marcas & tabla::Tip);
            EXPECT_EQ(f.impresion, 0);
            EXPECT_EQ(f.longitud, 0);
            continue;
        }
        ASSERT_NE(f.significado, nullptr);
        EXPECT_GT(std::string(f.significado).size(), 3u);
        if (!f.TieneControl()) {
            // Only what a control shows can be tipped, printed, limited or copied to page 2.
            EXPECT_EQ(f.marcas, 0u);
            EXPECT_EQ(f.impresion, 0);
            EXPECT_EQ(f.longitud, 0);
        }
        if (f.longitud > 0) {
            EXPECT_TRUE(EsEdicion(f.control.clase)) << "a limit needs an edit";
        }
        if (f.control.clase == ClaseControl::CheckBox) {
            EXPECT_EQ(f.formato, FormatoCasilla::Marca);
        }
        if (tabla::IntercambioDe(f) == tabla::Intercambio::FechaOpcional ||
            tabla::IntercambioDe(f) == tabla::Intercambio::Fecha) {
            EXPECT_EQ(f.formato, FormatoCasilla::Fecha);
        }
    }
}

// A municipality is read and saved through the list of its province, which must be on every
// page the municipality is on and come before it, since the save reads the province stored.
TEST(TablaCasillas, RelatedBoxesExistAndAProvinceComesBeforeItsMunicipality) {
    std::map<int, size_t> posicion;
    for (size_t i = 0; i < tabla::kPagina1.size(); ++i)
        posicion[tabla::kPagina1[i].Casilla()] = i;
    for (const Fila& f : tabla::kPagina1) {
        if (f.formato != FormatoCasilla::Municipio && f.formato != FormatoCasilla::CodigoPostal)
            continue;
        SCOPED_TRACE(f.Casilla());
        const Fila* provincia = DeCasilla(f.relacionada);
        ASSERT_NE(provincia, nullptr);
        EXPECT_EQ(provincia->formato, FormatoCasilla::Provincia);
        EXPECT_LT(posicion[f.relacionada], posicion[f.Casilla()]);
        for (int pagina : {pagina::P1, pagina::P2})
            if (f.EnPagina(pagina)) {
                EXPECT_TRUE(provincia->EnPagina(pagina)) << pagina;
            }
    }
    const Fila* total = DeCasilla(casilla::TotalIngresar);
    ASSERT_NE(total, nullptr);
    ASSERT_GT(total->cuantas, 0);
    for (int c = total->relacionada; c < total->relacionada + total->cuantas; ++c) {
        ASSERT_NE(DeCasilla(c), nullptr) << c;
        EXPECT_EQ(DeCasilla(c)->formato, FormatoCasilla::Importe) << c;
    }
}

// The host checks both parties by the same offsets, and the page image draws both alike: a row
// edited in one group and not in the other is a mistake.
TEST(TablaCasillas, BothPartyGroupsHaveTheSameFields) {
    for (int item = 0; item < casilla::grupo::Tamano; ++item) {
        SCOPED_TRACE(item);
        const Fila* s = DeCasilla(casilla::SujetoPasivo + item);
        const Fila* r = DeCasilla(casilla::Representante + item);
        ASSERT_NE(s, nullptr);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(s->control.clase, r->control.clase);
        EXPECT_EQ(s->control.x, r->control.x);
        EXPECT_EQ(s->control.cx, r->control.cx);
        EXPECT_EQ(s->control.estilos, r->control.estilos);
        EXPECT_EQ(s->formato, r->formato);
        if (s->relacionada >= 0)
            EXPECT_EQ(s->relacionada - casilla::SujetoPasivo,
                      r->relacionada - casilla::Representante);
        else
            EXPECT_LT(r->relacionada, 0);
    }
}

TEST(TablaCasillas, Page2RepeatsOnlyBoxesPage1Shows) {
    for (const Fila& f : tabla::kPagina1)
        if (f.EnPagina(pagina::P2)) {
            EXPECT_TRUE(f.TieneControl()) << f.Casilla();
        }
}
