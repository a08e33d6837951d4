#include "ModDoc.h"

#include "Casillas.h"
#include "CatalogoCasillas.h"
#include "IdsRecursos.h"
#include "Modelo/base/Recursos.h"
#include "views/P1View.h"
#include "views/P2View.h"

#include <new>

IMPLEMENT_DYNCREATE(MOD_DOC, CGuiaDoc)

// The document handles no commands of its own.
BEGIN_MESSAGE_MAP(MOD_DOC, CGuiaDoc)
END_MESSAGE_MAP()

MOD_DOC::MOD_DOC() {
    SetCodModelo(AfxCadena(recurso::CadenaCodigo) + AfxCadena(recurso::CadenaVersion));
    CodigoPorDefecto = "000";
}

MOD_DOC::~MOD_DOC() = default;

std::span<const stCasillaCatalogo> MOD_DOC::CatalogoPagina1() const {
    return catalogo::kPagina1;
}

// Declarations live in the host's store as boxes; the document writes nothing to archives.
void MOD_DOC::Serialize(CArchive&) {}

// The boxes come from the host's store or from NuevosDatos, so nothing is cleared here.
bool MOD_DOC::OnNewDocument() {
    return true;
}

bool MOD_DOC::CrearEstructPaginas() {
    if (!CGuiaDoc::CrearEstructPaginas())
        return false;
    CrearPagina(0, stPagina(0, pagina::kTipo1, 0, true));
    CrearPagina(1, stPagina(1, pagina::kTipo2, 0, false));
    return true;
}

bool MOD_DOC::CrearAnexo() {
    return true;
}
bool MOD_DOC::DestruirAnexo() {
    return true;
}
bool MOD_DOC::PosibleCrearAnexo() {
    return false;
}
bool MOD_DOC::PosibleDestruirAnexo() {
    return false;
}

bool MOD_DOC::AsociarTiposEjemplares(stPagina* pagina) {
    if (!pagina)
        return false;
    if (pagina->Tipo == pagina::kTipo1) {
        pagina->TipoEjemplar(EjemplarAdministracion);
        pagina->TipoEjemplar(EjemplarSujetoPasivo);
        return true;
    }
    return pagina->Tipo == pagina::kTipo2;
}

CGuiaView* MOD_DOC::CrearVistaTipo(CString tipo) {
    if (tipo == pagina::kTipo1)
        return new (std::nothrow) MOD_P1VIEW;
    if (tipo == pagina::kTipo2)
        return new (std::nothrow) MOD_P2VIEW;
    return nullptr;
}

bool MOD_DOC::CopiarRegistrosAdicionales(CString origen, CString destino) {
    return CGuiaDoc::CopiarRegistrosAdicionales(origen, destino);
}
bool MOD_DOC::LimpiarRegistrosAdicionales() {
    return CGuiaDoc::LimpiarRegistrosAdicionales();
}
bool MOD_DOC::GuardarRegistrosAdicionales() {
    return CGuiaDoc::GuardarRegistrosAdicionales();
}
bool MOD_DOC::RestaurarRegistrosAdicionales() {
    return CGuiaDoc::RestaurarRegistrosAdicionales();
}
