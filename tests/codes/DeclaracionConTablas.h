// A declaration of the form under test with the host's code tables loaded and box P1-0 set,
// on a real temporary database.
#pragma once

#include "Formulario.h"
#include "core/Casillas.h"
#include "core/ModDoc.h"
#include "support/BaseTemporal.h"

#include <gtest/gtest.h>

class DeclaracionConTablas : public ::testing::Test {
protected:
    BaseTemporal base;
    MOD_DOC doc;

    void SetUp() override {
        doc.SetCodDeclar(CString(formulario::kCodigo) + "0000000001");
        doc.CrearEstructPaginas();
        ASSERT_TRUE(doc.CargarTablasAuxiliares());
        P1(casilla::CodigoP0, "000");
    }
    void P1(int c, const CString& valor) { doc.SetCasilla(c, pagina::P1, valor); }
};
