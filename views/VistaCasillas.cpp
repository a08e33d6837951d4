#include "VistaCasillas.h"

#include "Modelo/base/Funciones.h"
#include "Modelo/document/GuiaDoc.h"
#include "Modelo/services/Servicios.h"
#include "core/IdsRecursos.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace {

bool EsEstatico(const tabla::Fila& f) {
    return f.control.clase == ClaseControl::StaticTransBold ||
           f.control.clase == ClaseControl::Picture;
}

// Gives the code label a font equal to its own with the code's face.
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

} // namespace

VistaCasillas::VistaCasillas(int pagina, UINT idPlantilla, UINT idFondo, UINT idDibujo)
    : CGuiaView(idPlantilla), pagina_(pagina) {
    SetIdFondo(idFondo);
    SetIdDibujoFondo(idDibujo);
    const COleDateTime hoy = COleDateTime::GetCurrentTime();
    for (const tabla::Fila& f : tabla::kPagina1) {
        if (!f.TieneControl() || !f.EnPagina(pagina))
            continue;
        if (!f.EsCasilla()) {
            if (EsEstatico(f))
                estaticos_.emplace_back(f.control.id, CString());
            continue;
        }
        filas_.push_back(&f);
        valores_[f.Casilla()].fecha = hoy;
    }
}

VistaCasillas::~VistaCasillas() {
    fuenteCodigo_.DeleteObject();
}

const tabla::Fila& VistaCasillas::fila(int casilla) const {
    for (const tabla::Fila* f : filas_)
        if (f->Casilla() == casilla)
            return *f;
    // Formatted by the host: a number written here by the standard library would pin the
    // plug-in in memory (its digit table is a unique symbol) and it could never be unloaded.
    throw std::logic_error(CString::Formatted("the page shows no box %d", casilla).str());
}

int VistaCasillas::CasillaDeControl(int id) const {
    for (const tabla::Fila* f : filas_)
        if (f->control.id == id)
            return f->Casilla();
    return -1;
}

VistaCasillas::Valor& VistaCasillas::valor(int casilla) {
    fila(casilla); // a box the page does not show is a mistake of the caller
    return valores_[casilla];
}

CString& VistaCasillas::Texto(int casilla) {
    return valor(casilla).texto;
}

int& VistaCasillas::Marca(int casilla) {
    return valor(casilla).marca;
}

COleDateTime& VistaCasillas::Fecha(int casilla) {
    return valor(casilla).fecha;
}

// A limit refused ends the exchange where it stands, so the limited boxes go last: a value too
// long leaves every other value read.
void VistaCasillas::DoDataExchange(CDataExchange* pDX) {
    CGuiaView::DoDataExchange(pDX);
    for (auto& [id, texto] : estaticos_)
        DDX_Text(pDX, id, texto);
    for (bool limitadas : {false, true}) {
        for (const tabla::Fila* f : filas_) {
            if ((f->longitud > 0) != limitadas)
                continue;
            Valor& v = valores_[f->Casilla()];
            switch (tabla::IntercambioDe(*f)) {
            case tabla::Intercambio::Marca:
                DDX_Check(pDX, f->control.id, v.marca);
                break;
            case tabla::Intercambio::FechaOpcional:
            case tabla::Intercambio::Fecha:
                DDX_DateTimeCtrl(pDX, f->control.id, v.fecha);
                break;
            default:
                DDX_Text(pDX, f->control.id, v.texto);
                if (limitadas)
                    DDV_MaxChars(pDX, v.texto, f->longitud);
            }
        }
    }
}

bool VistaCasillas::InicializarControles() {
    if (!CGuiaView::InicializarControles())
        return false;
    UpdateData(false);
    for (const ControlPlantilla& c : Plantilla()->controles) {
        if (c.clase != ClaseControl::ScrollBitmapButton)
            continue;
        auto& b = DeId<CScrollBitmapButton>(c.id);
        if (c.accion == AccionBoton::Intervinientes)
            b.LoadBitmaps(boton::IntervinientesNormal, boton::IntervinientesPulsado,
                          boton::IntervinientesFoco, boton::IntervinientesDeshabilitado);
        else
            b.LoadBitmaps(boton::AyudaNormal, boton::AyudaPulsado, boton::AyudaFoco,
                          boton::AyudaDeshabilitado);
        b.SizeToContent();
    }
    for (const tabla::Fila* f : filas_) {
        if (f->control.clase != ClaseControl::EditDecNumber)
            continue;
        auto& edit = DeId<CEditDecNumber>(f->control.id);
        // A count takes a comma while it is typed, so that "15,5" reaches the page's rule and
        // is refused whole, instead of losing its comma to the keyboard and becoming 155.
        if (f->formato == FormatoCasilla::Cuenta)
            edit.SetDigitos(formato::DigitosCuenta, formato::DecimalesImporte);
        else
            edit.SetDigitos(formato::DigitosImporte, formato::DecimalesImporte);
    }
    FuenteCourier(DeId(control::TextoCodigoBarras), fuenteCodigo_);
    UpdateData(false);
    return true;
}

bool VistaCasillas::InicializarTooltips() {
    if (!CGuiaView::InicializarTooltips())
        return false;
    UpdateData(false);
    CToolTipCtrl& tips = GetToolTip();
    if (Principal()) {
        const CString tipIntervinientes = AfxCadena(cadena_host::TooltipIntervinientes);
        const CString tipAyuda = AfxCadena(cadena_host::TooltipAyuda);
        for (const ControlPlantilla& c : Plantilla()->controles)
            if (c.accion != AccionBoton::Ninguna)
                tips.AddTool(GetDlgItem(c.id),
                             c.accion == AccionBoton::Ayuda ? tipAyuda : tipIntervinientes);
        for (const tabla::Fila* f : filas_)
            if (f->marcas & tabla::Tip)
                tips.AddTool(GetDlgItem(f->control.id), GetDocument()->GetAyuda(f->Casilla()));
    }
    tips.Activate(true);
    return true;
}

bool VistaCasillas::InicializarControlesAyuda() {
    if (!CGuiaView::InicializarControlesAyuda())
        return false;
    UpdateData(true);
    if (Principal())
        for (const tabla::Fila* f : filas_)
            MapearControlAyuda(f->Casilla(), f->control.id);
    return true;
}

bool VistaCasillas::InicializarControlesValidacion() {
    if (!CGuiaView::InicializarControlesValidacion())
        return false;
    if (Principal()) {
        UpdateData(true);
        for (const tabla::Fila* f : filas_)
            MapearControlValidacion(f->Casilla(), f->control.id);
    }
    return true;
}

// The data-protection block, the boxes in their printed order and the codes the page has.
bool VistaCasillas::InicializarControlesImpresora() {
    if (!CGuiaView::InicializarControlesImpresora())
        return false;
    UpdateData(true);
    for (int id : {control::TituloLopd1, control::TituloLopd2, control::TextoLopd})
        CargarControlImpresora(GetDlgItem(id));
    SetIdTextoLOPD(control::TextoLopd);
    std::vector<const tabla::Fila*> impresas;
    for (const tabla::Fila* f : filas_)
        if (f->impresion > 0)
            impresas.push_back(f);
    std::stable_sort(
        impresas.begin(), impresas.end(),
        [](const tabla::Fila* a, const tabla::Fila* b) { return a->impresion < b->impresion; });
    for (const tabla::Fila* f : impresas)
        CargarControlImpresora(GetDlgItem(f->control.id));
    if (CWnd* puntos = GetDlgItem(control::CodigoPuntos))
        CargarControlImpresoraCodPuntos(puntos);
    CargarControlImpresoraCodBarras(GetDlgItem(control::CodigoBarras));
    UpdateData(false);
    return true;
}

// One way or the other by the box's kind. A municipality goes after its province, whose stored
// code chooses the list its name is read from.
void VistaCasillas::Intercambiar(const tabla::Fila& f, bool salvar) {
    CGuiaDoc& doc = *GetDocument();
    Valor& v = valores_[f.Casilla()];
    auto pasar = [&](auto&... valor) {
        if (salvar)
            SalvarControlCasilla(f.Casilla(), valor...);
        else
            CargarControlCasilla(f.Casilla(), valor...);
    };
    switch (tabla::IntercambioDe(f)) {
    case tabla::Intercambio::Texto:
        pasar(v.texto);
        break;
    case tabla::Intercambio::Marca:
        pasar(v.marca);
        break;
    case tabla::Intercambio::FechaOpcional:
        pasar(DeId<CDateTimeCtrl>(f.control.id), v.fecha);
        break;
    case tabla::Intercambio::Fecha:
        pasar(v.fecha);
        break;
    case tabla::Intercambio::Provincia:
        pasar(v.texto, doc.CodProvincias, doc.TxtProvincias);
        break;
    case tabla::Intercambio::Municipio:
        doc.IniMunicipios(doc.GetCasilla(f.relacionada, GetPagina()), false);
        pasar(v.texto, doc.CodMunicipios, doc.TxtMunicipios);
        break;
    }
}

bool VistaCasillas::CargarDatos() {
    if (!CGuiaView::CargarDatos())
        return false;
    CGuiaDoc& doc = *GetDocument();
    for (const tabla::Fila* f : filas_)
        Intercambiar(*f, false);
    for (int grupo : {casilla::SujetoPasivo, casilla::Representante})
        DisponerNombre(grupo);
    if (CWnd* puntos = GetDlgItem(control::CodigoPuntos))
        CargarCodigoPuntos(static_cast<CStatic&>(*puntos), doc.GetPaginaPrincipal());
    CargarCodigoBarras(DeId<CStatic>(control::CodigoBarras));
    // The label under the bar code shows the declaration code once the declaration has left
    // the draft state.
    if (doc.GetEstado() != estado::Borrador)
        for (auto& [id, texto] : estaticos_)
            if (id == control::TextoCodigoBarras)
                texto = doc.GetCodDeclar();
    UpdateData(false);
    Cargar_Titulos_LOPD_Vistas(control::TituloLopd1, control::TituloLopd2, control::TextoLopd);
    return true;
}

bool VistaCasillas::SalvarDatos() {
    if (!CGuiaView::SalvarDatos())
        return false;
    UpdateData(true);
    for (const tabla::Fila* f : filas_)
        Intercambiar(*f, true);
    return true;
}

// The first name field covers its own printed box for a person, and the printed span of the
// three name boxes for an entity: both taken from the page's template, which also drew them.
void VistaCasillas::DisponerNombre(int primera) {
    const PlantillaDialogo* p = Plantilla();
    const ControlPlantilla* primero =
        p ? p->ControlDeCasilla(primera + casilla::grupo::Apellido1) : nullptr;
    const ControlPlantilla* ultimo =
        p ? p->ControlDeCasilla(primera + casilla::grupo::Nombre) : nullptr;
    const ControlPlantilla* segundo =
        p ? p->ControlDeCasilla(primera + casilla::grupo::Apellido2) : nullptr;
    if (!primero || !ultimo || !segundo)
        return;
    const CString& nif = Texto(primera + casilla::grupo::Nif);
    const bool persona = nif.IsEmpty() || Tratar_como_NIF(nif);
    CRect r = RectanguloEnPixeles(*p, *primero);
    if (!persona)
        r.right = RectanguloEnPixeles(*p, *ultimo).right;
    GetDlgItem(primero->id)->MoveWindow(r.left, r.top, r.Width(), r.Height());
    for (const ControlPlantilla* parte : {segundo, ultimo}) {
        CWnd* w = GetDlgItem(parte->id);
        w->ShowWindow(persona ? SW_SHOW : SW_HIDE);
        w->RedrawWindow();
    }
}
