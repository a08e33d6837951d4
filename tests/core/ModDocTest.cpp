// Compiled once per form, linked to that form's plug-in: the same cases hold for both forms,
// with the form's own values.
#include "core/ModDoc.h"
#include "Formulario.h"
#include "Modelo/base/Recursos.h"
#include "core/IdsRecursos.h"
#include "views/P1View.h"
#include "views/P2View.h"

#include <gtest/gtest.h>
#include <memory>

extern "C" CGuiaDoc* DllCrearModelo();
extern "C" void DllModInfo(CString*, CString*, CString*, CString*);

namespace {
std::unique_ptr<CGuiaDoc> NuevoDoc() {
    return std::unique_ptr<CGuiaDoc>(DllCrearModelo());
}
const CString kModelo = CString(formulario::kCodigo) + formulario::kVersion;
} // namespace

TEST(Entrada, ModInfoGivesTheFourTextsOfTheForm) {
    CString codigo, version, titulo, periodo;
    DllModInfo(&codigo, &version, &titulo, &periodo);
    EXPECT_EQ(codigo, formulario::kCodigo);
    EXPECT_EQ(version, "A1");
    EXPECT_EQ(periodo, "PERIODO");
    EXPECT_GT(titulo.GetLength(), 20);
    DllModInfo(nullptr, nullptr, nullptr, nullptr); // nothing asked, nothing written
}

TEST(Entrada, TheTwoFormsHaveTheirOwnTitles) {
    // The sibling's title is a value of the sibling's header; a copy-pasted title would match.
    const CString codigo = formulario::kCodigo;
    if (codigo != "863" && codigo != "871")
        GTEST_SKIP() << "the titles pinned here are those of forms 863 and 871";
    EXPECT_NE(AfxCadena(recurso::CadenaTitulo).Find(codigo == "863" ? "recibos" : "entidades"), -1);
}

TEST(Documento, StartsWithTheModelCodeAndDefaultCode) {
    auto doc = NuevoDoc();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->GetCodModelo(), kModelo);
    auto* mod = dynamic_cast<MOD_DOC*>(doc.get());
    ASSERT_NE(mod, nullptr);
    EXPECT_EQ(mod->CodigoPorDefecto, "000");
    for (double t : mod->TotalesLiquidacion)
        EXPECT_EQ(t, 0.0);
    EXPECT_EQ(sizeof mod->TotalesLiquidacion / sizeof(double), 36u);
    EXPECT_TRUE(doc->Casillas().empty());
}

TEST(Documento, IsCreatableByItsOwnClassName) {
    const CRuntimeClass* rc = CRuntimeClass::FromName(AFX_STRINGIZE(MOD_DOC));
    ASSERT_NE(rc, nullptr);
    std::unique_ptr<CObject> o(rc->CreateObject());
    ASSERT_NE(o, nullptr);
    EXPECT_TRUE(o->IsKindOf(RUNTIME_CLASS(CGuiaDoc)));
    EXPECT_EQ(static_cast<CGuiaDoc*>(o.get())->GetCodModelo(), kModelo);
    EXPECT_NE(CRuntimeClass::FromName(AFX_STRINGIZE(MOD_P1VIEW)), nullptr);
    EXPECT_NE(CRuntimeClass::FromName(AFX_STRINGIZE(MOD_P2VIEW)), nullptr);
}

TEST(Documento, HandlesNoCommands) {
    auto doc = NuevoDoc();
    for (UINT id : {0u, 1u, UINT(formulario::kIdBase + 100)})
        EXPECT_FALSE(doc->OnCmdMsg(id, BN_CLICKED));
}

TEST(Documento, SerializeNeitherWritesNorReads) {
    auto doc = NuevoDoc();
    CArchive out(CArchive::store);
    doc->Serialize(out);
    EXPECT_TRUE(out.Bytes().empty());
    CArchive in(CArchive::load, {1, 2, 3, 4});
    doc->Serialize(in);
    EXPECT_EQ(in.Position(), 0u);
}

TEST(Documento, OnNewDocumentKeepsBoxesAndModifiedFlag) {
    auto doc = NuevoDoc();
    doc->SetCasilla(10, 0, "X");
    ASSERT_TRUE(doc->IsModified());
    EXPECT_TRUE(doc->OnNewDocument());
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->GetCasilla(10, 0), "X");
}

TEST(Paginas, TwoPagesOfTypeOneAndTwo) {
    auto doc = NuevoDoc();
    ASSERT_TRUE(doc->CrearEstructPaginas());
    ASSERT_EQ(doc->NumPaginas(), 2);
    const stPagina p1 = doc->GetPagina(0), p2 = doc->GetPagina(1);
    EXPECT_EQ(p1.Tipo, "1");
    EXPECT_EQ(p1.Orden, 0);
    EXPECT_TRUE(p1.Principal);
    EXPECT_EQ(p2.Tipo, "2");
    EXPECT_FALSE(p2.Principal);
    EXPECT_TRUE(p1.Ejemplar.IsEmpty());
    // Asked again, the structure is rebuilt rather than doubled.
    ASSERT_TRUE(doc->CrearEstructPaginas());
    EXPECT_EQ(doc->NumPaginas(), 2);
}

TEST(Paginas, ViewsByExactPageType) {
    auto doc = NuevoDoc();
    std::unique_ptr<CGuiaView> v1(doc->CrearVistaTipo("1"));
    std::unique_ptr<CGuiaView> v2(doc->CrearVistaTipo("2"));
    ASSERT_NE(v1, nullptr);
    ASSERT_NE(v2, nullptr);
    EXPECT_TRUE(v1->IsKindOf(RUNTIME_CLASS(MOD_P1VIEW)));
    EXPECT_TRUE(v2->IsKindOf(RUNTIME_CLASS(MOD_P2VIEW)));
    EXPECT_EQ(v1->GetIdPlantilla(), UINT(recurso::PlantillaPagina1));
    EXPECT_EQ(v1->GetIdFondo(), UINT(recurso::FondoPagina1));
    EXPECT_EQ(v2->GetIdPlantilla(), UINT(recurso::PlantillaPagina2));
    EXPECT_EQ(v2->GetIdFondo(), UINT(recurso::FondoPagina2));
    for (const char* tipo : {"3", " 1", "1 ", "", "01", "2\n"})
        EXPECT_EQ(doc->CrearVistaTipo(tipo), nullptr) << "[" << tipo << "]";
}

TEST(Paginas, CopyKindsAreAppendedNotReplaced) {
    auto doc = NuevoDoc();
    stPagina p1(0, "1", 0, true);
    EXPECT_TRUE(doc->AsociarTiposEjemplares(&p1));
    ASSERT_EQ(p1.Ejemplar.GetSize(), 2);
    EXPECT_EQ(p1.Ejemplar[0], 2);
    EXPECT_EQ(p1.Ejemplar[1], 10);
    EXPECT_TRUE(doc->AsociarTiposEjemplares(&p1));
    EXPECT_EQ(p1.Ejemplar.GetSize(), 4);
    EXPECT_EQ(p1.Ejemplar[2], 2);
    EXPECT_EQ(p1.Ejemplar[3], 10);

    stPagina p2(1, "2", 0, false);
    p2.TipoEjemplar(3);
    EXPECT_TRUE(doc->AsociarTiposEjemplares(&p2));
    EXPECT_EQ(p2.Ejemplar.GetSize(), 1);

    stPagina otra(2, "3", 0, false);
    EXPECT_FALSE(doc->AsociarTiposEjemplares(&otra));
    EXPECT_TRUE(otra.Ejemplar.IsEmpty());
    EXPECT_FALSE(doc->AsociarTiposEjemplares(nullptr));
}

TEST(Anexos, CannotBeAddedOrRemovedWhateverTheDocumentHolds) {
    auto doc = NuevoDoc();
    for (int vuelta = 0; vuelta < 2; ++vuelta) {
        EXPECT_TRUE(doc->CrearAnexo());
        EXPECT_TRUE(doc->DestruirAnexo());
        EXPECT_FALSE(doc->PosibleCrearAnexo());
        EXPECT_FALSE(doc->PosibleDestruirAnexo());
        doc->CrearEstructPaginas();
        doc->SetCasilla(60, 0, "3");
    }
    EXPECT_EQ(doc->NumPaginas(), 2);
}

TEST(RegistrosAdicionales, GoThroughTheHostsVersions) {
    auto doc = NuevoDoc();
    doc->Adicionales().emplace_back("K", "V");
    EXPECT_TRUE(doc->GuardarRegistrosAdicionales());
    EXPECT_TRUE(doc->LimpiarRegistrosAdicionales());
    EXPECT_TRUE(doc->Adicionales().empty());
    EXPECT_TRUE(doc->RestaurarRegistrosAdicionales());
    EXPECT_EQ(doc->Adicionales().size(), 1u);
    // Without a store to copy between, the host's answer (false) is passed on.
    EXPECT_FALSE(doc->CopiarRegistrosAdicionales("8630000000001", "8630000000002"));
}
