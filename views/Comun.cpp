#include "Comun.h"

#include "Modelo/Funciones.h"
#include "Modelo/GuiaDoc.h"

CWnd& GrupoInterviniente::Control(int item) {
    using namespace casilla::grupo;
    CWnd* const controles[Tamano] = {&nif,       &apellido1, &apellido2, &nombre,      &tipoVia,
                                     &nombreVia, &numero,    &escalera,  &piso,        &puerta,
                                     &telefono,  &provincia, &municipio, &codigoPostal};
    return *controles[item];
}

int IdDeCasilla(const CGuiaView& vista, int casilla) {
    const PlantillaDialogo* p = vista.Plantilla();
    const ControlPlantilla* c = p ? p->ControlDeCasilla(casilla) : nullptr;
    return c ? c->id : 0;
}

void IntercambiarGrupo(CDataExchange* pDX, const CGuiaView& vista, GrupoInterviniente& g) {
    for (int i = 0; i < casilla::grupo::Tamano; ++i)
        DDX_Control(pDX, IdDeCasilla(vista, g.Casilla(i)), g.Control(i));
    for (int i = 0; i < casilla::grupo::Tamano; ++i)
        DDX_Text(pDX, IdDeCasilla(vista, g.Casilla(i)), g.valor[i]);
}

// The first name field covers its own printed box for a person, and the printed span of the
// three name boxes for an entity: both taken from the page's template, which also drew them.
void DisponerNombre(GrupoInterviniente& g, const CString& nif) {
    CGuiaView* vista = g.apellido1.GetParentView();
    const PlantillaDialogo* p = vista ? vista->Plantilla() : nullptr;
    const ControlPlantilla* primero =
        p ? p->ControlDeCasilla(g.Casilla(casilla::grupo::Apellido1)) : nullptr;
    const ControlPlantilla* ultimo =
        p ? p->ControlDeCasilla(g.Casilla(casilla::grupo::Nombre)) : nullptr;
    if (!primero || !ultimo)
        return;
    const bool persona = nif.IsEmpty() || Tratar_como_NIF(nif);
    CRect r = RectanguloEnPixeles(*p, *primero);
    if (!persona)
        r.right = RectanguloEnPixeles(*p, *ultimo).right;
    g.apellido1.MoveWindow(r.left, r.top, r.Width(), r.Height());
    for (CEditTrans* parte : {&g.apellido2, &g.nombre}) {
        parte->ShowWindow(persona ? SW_SHOW : SW_HIDE);
        parte->RedrawWindow();
    }
}

void CargarGrupo(CGuiaView& vista, GrupoInterviniente& g) {
    using namespace casilla::grupo;
    CGuiaDoc& doc = *vista.GetDocument();
    vista.CargarControlCasilla(g.Casilla(Nif), g.valor[Nif]);
    DisponerNombre(g, g.valor[Nif]);
    for (int i = Apellido1; i <= Telefono; ++i)
        vista.CargarControlCasilla(g.Casilla(i), g.valor[i]);
    vista.CargarControlCasilla(g.Casilla(Provincia), g.valor[Provincia], doc.CodProvincias,
                               doc.TxtProvincias);
    doc.IniMunicipios(doc.GetCasilla(g.Casilla(Provincia), vista.GetPagina()), false);
    vista.CargarControlCasilla(g.Casilla(Municipio), g.valor[Municipio], doc.CodMunicipios,
                               doc.TxtMunicipios);
    vista.CargarControlCasilla(g.Casilla(CodigoPostal), g.valor[CodigoPostal]);
}

void SalvarGrupo(CGuiaView& vista, GrupoInterviniente& g) {
    using namespace casilla::grupo;
    CGuiaDoc& doc = *vista.GetDocument();
    for (int i = Nif; i <= Telefono; ++i)
        vista.SalvarControlCasilla(g.Casilla(i), g.valor[i]);
    vista.SalvarControlCasilla(g.Casilla(Provincia), g.valor[Provincia], doc.CodProvincias,
                               doc.TxtProvincias);
    doc.IniMunicipios(doc.GetCasilla(g.Casilla(Provincia), vista.GetPagina()), false);
    vista.SalvarControlCasilla(g.Casilla(Municipio), g.valor[Municipio], doc.CodMunicipios,
                               doc.TxtMunicipios);
    vista.SalvarControlCasilla(g.Casilla(CodigoPostal), g.valor[CodigoPostal]);
}

void FuenteCourier(CWnd& etiqueta, CFont& fuente) {
    LOGFONT lf;
    CFont* actual = etiqueta.GetFont();
    if (!actual || !actual->GetLogFont(&lf))
        return;
    FijarNombreFuente(lf, kFuenteCodigo);
    fuente.DeleteObject();
    fuente.CreateFontIndirect(&lf);
    etiqueta.SetFont(&fuente);
}

void CargarEtiquetaCodigo(const CGuiaDoc& doc, CString& etiqueta) {
    if (doc.GetEstado() != estado::Borrador)
        etiqueta = doc.GetCodDeclar();
}

void RegistrarLopdImpresora(CGuiaView& vista, CStaticTransBold& titulo1, CStaticTransBold& titulo2,
                            CStaticTransBold& texto) {
    vista.CargarControlImpresora(&titulo1);
    vista.CargarControlImpresora(&titulo2);
    vista.CargarControlImpresora(&texto);
    vista.SetIdTextoLOPD(texto.GetDlgCtrlID());
}
