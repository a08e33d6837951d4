#include "Modelo/document/GuiaDoc.h"

#include <gtest/gtest.h>

TEST(Casillas, NeverWrittenReadsEmptyAndEmptyingForgets) {
    CGuiaDoc doc;
    EXPECT_EQ(doc.GetCasilla(10, 0), "");
    EXPECT_EQ(doc.GetCasilla(-5, 9), "");
    doc.SetCasilla(10, 0, "B12345674");
    EXPECT_EQ(doc.GetCasilla(10, 0), "B12345674");
    EXPECT_EQ(doc.GetCasilla(10, 1), ""); // same number, other page
    EXPECT_TRUE(doc.IsModified());
    doc.SetCasilla(10, 0, "");
    EXPECT_TRUE(doc.Casillas().empty());
    EXPECT_FALSE(doc.TieneDatos(0));
}

TEST(Casillas, ChangeTimeMovesOnlyOnARealChange) {
    Reloj::Fijar([] { return COleDateTime(2024, 5, 1, 10, 0, 0); });
    CGuiaDoc doc;
    doc.SetCasilla(1, 0, "05");
    EXPECT_EQ(doc.UltimoCambio(), COleDateTime(2024, 5, 1, 10, 0, 0));
    Reloj::Fijar([] { return COleDateTime(2024, 5, 2, 10, 0, 0); });
    doc.SetCasilla(1, 0, "05");
    EXPECT_EQ(doc.UltimoCambio().GetDay(), 1);
    CListaErrores errores;
    doc.Validar(errores);
    EXPECT_EQ(doc.UltimaValidacion().GetDay(), 2);
    Reloj::Fijar({});
}

TEST(Paginas, GetPaginaIsACopyAndSetPaginaStoresIt) {
    CGuiaDoc doc;
    EXPECT_TRUE(doc.CrearPagina(0, stPagina(0, "1", 0, true)));
    EXPECT_FALSE(doc.CrearPagina(0, stPagina(0, "X", 0, false))); // index taken
    EXPECT_FALSE(doc.CrearPagina(-1, stPagina(-1, "1", 0, true)));
    stPagina copia = doc.GetPagina(0);
    copia.TipoEjemplar(2);
    EXPECT_TRUE(doc.GetPagina(0).Ejemplar.IsEmpty());
    EXPECT_TRUE(doc.SetPagina(0, copia));
    EXPECT_EQ(doc.GetPagina(0).Ejemplar.GetSize(), 1);
    EXPECT_FALSE(doc.SetPagina(5, copia));
    EXPECT_EQ(doc.GetPagina(5).Indice, -1);
    EXPECT_EQ(doc.TraducirTipoPagina(0), "1");
}

TEST(Paginas, ReplicarCasillaCopiesOneBoxIncludingEmptiness) {
    CGuiaDoc doc;
    doc.CrearPagina(0, stPagina(0, "1", 0, true));
    doc.CrearPagina(1, stPagina(1, "2", 0, false));
    doc.SetCasilla(72, 0, "1.244,50");
    doc.SetCasilla(2, 1, "1999");
    const stPagina p1 = doc.GetPagina(0), p2 = doc.GetPagina(1);
    doc.ReplicarCasilla(p1, p2, 72);
    doc.ReplicarCasilla(p1, p2, 2); // an empty source empties the target
    EXPECT_EQ(doc.GetCasilla(72, 1), "1.244,50");
    EXPECT_EQ(doc.GetCasilla(2, 1), "");
    EXPECT_EQ(doc.Casillas().size(), 2u);
}

TEST(Validaciones, ObligatorioAppendsTheGivenCodeAtTheBox) {
    CGuiaDoc doc;
    CListaErrores errores;
    errores.Add(stError(1, 0, "PREVIO", "", ""));
    EXPECT_FALSE(doc.ValidarObligatorio(errores, 140, 0, "863A100002"));
    doc.SetCasilla(10, 0, "X");
    EXPECT_TRUE(doc.ValidarObligatorio(errores, 10, 0, "863A100001"));
    ASSERT_EQ(errores.GetSize(), 2);
    EXPECT_EQ(errores[1], stError(140, 0, "863A100002", "", ""));
}

TEST(Documento, WithoutAStoreSavingAndLoadingFail) {
    CGuiaDoc doc;
    EXPECT_FALSE(doc.SalvarDatos());
    EXPECT_FALSE(doc.CargarDatos("8630000000001", false, false));
    EXPECT_FALSE(doc.CancelarCambios());
}

TEST(Documento, AFinalDeclarationIsNotSaved) {
    CGuiaDoc doc;
    int guardados = 0;
    doc.SetAlmacen({[&](CGuiaDoc&) { return ++guardados > 0; }, {}, {}, {}});
    EXPECT_TRUE(doc.SalvarDatos());
    doc.SetPermiteCambios(false);
    EXPECT_FALSE(doc.SalvarDatos());
    EXPECT_EQ(guardados, 1);
}

TEST(Documento, AdditionalRecordsRestoreTheSavedSnapshot) {
    CGuiaDoc doc;
    doc.Adicionales().emplace_back("A", "1");
    doc.GuardarRegistrosAdicionales();
    doc.LimpiarRegistrosAdicionales();
    EXPECT_TRUE(doc.Adicionales().empty());
    doc.RestaurarRegistrosAdicionales();
    ASSERT_EQ(doc.Adicionales().size(), 1u);
    EXPECT_EQ(doc.Adicionales()[0].second, "1");
}
