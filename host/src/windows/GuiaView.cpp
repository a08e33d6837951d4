#include "Modelo/windows/GuiaView.h"

#include "Modelo/base/Funciones.h"
#include "Modelo/base/Recursos.h"
#include "Modelo/document/GuiaDoc.h"
#include "Modelo/services/Servicios.h"
#include "windows/EstadoVentana.h"

#include <cmath>

IMPLEMENT_DYNAMIC(CGuiaView, CWnd)

namespace {

// Notifications nest when a rule changes a control whose change runs a rule; past this depth
// the chain is a rule feeding itself, and it is cut.
constexpr int kProfundidadMaxima = 32;

std::unique_ptr<CWnd> NuevoHandle(ClaseControl clase) {
    switch (clase) {
    case ClaseControl::EditTrans:
        return std::make_unique<CEditTrans>();
    case ClaseControl::EditNumber:
        return std::make_unique<CEditNumber>();
    case ClaseControl::EditDecNumber:
        return std::make_unique<CEditDecNumber>();
    case ClaseControl::DateTimeOpt:
        return std::make_unique<CDateTimeOptCtrl>();
    case ClaseControl::DateTimeFixFormat:
        return std::make_unique<CDateTimeFixFormatCtrl>();
    case ClaseControl::StaticTransBold:
        return std::make_unique<CStaticTransBold>();
    case ClaseControl::ScrollBitmapButton:
        return std::make_unique<CScrollBitmapButton>();
    case ClaseControl::CheckBox:
        return std::make_unique<CButton>();
    case ClaseControl::Picture:
        return std::make_unique<CStatic>();
    }
    return std::make_unique<CWnd>();
}

// The template's font in pixels of the page: points at 96 pixels per inch.
LOGFONT FuenteDePlantilla(const PlantillaDialogo& p, ClaseControl clase) {
    LOGFONT lf;
    lf.lfHeight = -int(std::lround(p.puntos * 96.0 / 72.0));
    lf.lfWeight = clase == ClaseControl::StaticTransBold ? FW_BOLD : FW_NORMAL;
    FijarNombreFuente(lf, p.fuente);
    return lf;
}

UINT CodigoFoco(ClaseControl c, bool gana) {
    if (EsSelectorFecha(c))
        return gana ? NM_SETFOCUS : NM_KILLFOCUS;
    if (EsBoton(c))
        return gana ? BN_SETFOCUS : BN_KILLFOCUS;
    return gana ? EN_SETFOCUS : EN_KILLFOCUS;
}

// Texts of our own for the data-protection block every page prints.
constexpr const char* kTituloLopd1 = "PROTECCIÓN DE DATOS";
constexpr const char* kTituloLopd2 = "Información básica sobre sus datos personales";
constexpr const char* kTextoLopd =
    "Los datos personales de esta autoliquidación se usan solo para gestionar el impuesto y se "
    "guardan en este equipo. Quien los facilita puede consultarlos, corregirlos o pedir que se "
    "supriman, y oponerse a su uso, ante la Administración tributaria competente.";

} // namespace

CGuiaView::CGuiaView(UINT idPlantilla, UINT idFondo)
    : idPlantilla_(idPlantilla), idFondo_(idFondo) {}

// The handles go before the windows they name.
CGuiaView::~CGuiaView() {
    handles_.clear();
    ventanas_.clear();
}

// ----- the window -------------------------------------------------------------------------------

const PlantillaDialogo* CGuiaView::Plantilla() const {
    return AfxBuscarPlantilla(int(idPlantilla_));
}

bool CGuiaView::Crear() {
    const PlantillaDialogo* p = Plantilla();
    if (!p || Creada())
        return p != nullptr;
    const COleDateTime hoy = COleDateTime::GetCurrentTime();
    for (const ControlPlantilla& c : p->controles) {
        auto v = std::make_unique<EstadoVentana>();
        v->vista = this;
        v->id = c.id;
        v->clase = c.clase;
        v->estilos = c.estilos;
        v->rect = RectanguloEnPixeles(*p, c);
        v->habilitada = c.habilitado;
        v->fuente = FuenteDePlantilla(*p, c.clase);
        // A fixed-format picker always shows a date; it starts at today's.
        if (c.clase == ClaseControl::DateTimeFixFormat)
            v->fecha.SetDate(hoy.GetYear(), hoy.GetMonth(), hoy.GetDay());
        std::unique_ptr<CWnd> h = NuevoHandle(c.clase);
        h->Attach(v.get());
        porId_[c.id] = ventanas_.size();
        ventanas_.push_back(std::move(v));
        handles_.push_back(std::move(h));
    }
    return UpdateData(false);
}

CWnd* CGuiaView::Control(int id) const {
    auto it = porId_.find(id);
    return it == porId_.end() ? nullptr : handles_[it->second].get();
}

CWnd* CGuiaView::GetDlgItem(int id) const {
    return Control(id);
}

std::vector<CWnd*> CGuiaView::Controles() const {
    std::vector<CWnd*> v;
    v.reserve(handles_.size());
    for (const auto& h : handles_)
        v.push_back(h.get());
    return v;
}

CWnd* CGuiaView::GetFocus() const {
    return foco_ ? Control(foco_->id) : nullptr;
}

void CGuiaView::QuitarFoco() {
    FijarFoco(nullptr);
}

// The control that loses the focus hears it first; a handler of that notification may move
// the focus on, and then the control that was to get it hears nothing.
void CGuiaView::FijarFoco(EstadoVentana* nueva) {
    if (foco_ == nueva)
        return;
    EstadoVentana* antes = foco_;
    foco_ = nueva;
    if (antes) {
        Notificar(antes->id, CambioVentana::Foco);
        EnviarNotificacion(antes->id, CodigoFoco(antes->clase, false));
    }
    if (nueva && foco_ == nueva) {
        Notificar(nueva->id, CambioVentana::Foco);
        EnviarNotificacion(nueva->id, CodigoFoco(nueva->clase, true));
    }
}

bool CGuiaView::UpdateData(bool guardar) {
    bool hecho = true;
    ++intercambios_;
    try {
        CDataExchange dx(this, guardar);
        DoDataExchange(&dx);
    } catch (const CUserException&) {
        hecho = false;
    }
    if (--intercambios_ == 0 && !cambiosPendientes_.empty()) {
        std::vector<int> pendientes;
        pendientes.swap(cambiosPendientes_);
        for (int id : pendientes)
            EnviarNotificacion(id, EN_CHANGE);
    }
    return hecho;
}

void CGuiaView::TextoCambiado(int idControl) {
    if (intercambios_ > 0)
        cambiosPendientes_.push_back(idControl);
    else
        EnviarNotificacion(idControl, EN_CHANGE);
}

void CGuiaView::DoDataExchange(CDataExchange*) {}

bool CGuiaView::EnviarNotificacion(int id, UINT codigo) {
    if (profundidad_ >= kProfundidadMaxima) {
        ++cortadas_;
        return false;
    }
    ++profundidad_;
    NMHDR cabecera{UINT(id), codigo};
    LRESULT resultado = 0;
    bool atendida = false;
    try {
        atendida = OnCmdMsg(UINT(id), codigo, &cabecera, &resultado);
    } catch (...) {
        --profundidad_;
        throw;
    }
    --profundidad_;
    return atendida;
}

void CGuiaView::Notificar(int idControl, CambioVentana cambio) {
    if (observador_)
        observador_->VentanaCambiada(idControl, cambio);
}

// ----- operations the host drives ---------------------------------------------------------------

bool CGuiaView::InicializarControles() {
    return Creada();
}

bool CGuiaView::InicializarTooltips() {
    if (!Creada())
        return false;
    tooltip_.Vaciar();
    return true;
}

bool CGuiaView::InicializarControlesAyuda() {
    ayuda_.clear();
    return Creada();
}

bool CGuiaView::InicializarControlesValidacion() {
    validacion_.clear();
    return Creada();
}

// A view can only show a page whose template is in the resource chain.
bool CGuiaView::CargarDatos() {
    return doc_ != nullptr && Creada();
}

// A declaration that may no longer change is never written, whatever mode the view is in.
bool CGuiaView::SalvarDatos() {
    return doc_ != nullptr && Creada() && !soloLectura_ && doc_->PermiteCambios();
}

bool CGuiaView::ModoEdicion() {
    soloLectura_ = false;
    const PlantillaDialogo* p = Plantilla();
    if (!p || !Creada())
        return false;
    for (const ControlPlantilla& c : p->controles)
        if (c.casilla >= 0)
            Control(c.id)->EnableWindow(c.habilitado);
    return true;
}

bool CGuiaView::ModoSoloLectura() {
    soloLectura_ = true;
    const PlantillaDialogo* p = Plantilla();
    if (!p || !Creada())
        return false;
    for (const ControlPlantilla& c : p->controles)
        if (c.casilla >= 0)
            Control(c.id)->EnableWindow(false);
    return true;
}

const ControlPlantilla* CGuiaView::ControlDeCasilla(int casilla) const {
    const PlantillaDialogo* p = Plantilla();
    return p ? p->ControlDeCasilla(casilla) : nullptr;
}

bool CGuiaView::PosicionarEnCasilla(int casilla) {
    int id = ControlValidacion(casilla);
    if (id == 0) {
        const ControlPlantilla* c = ControlDeCasilla(casilla);
        id = c ? c->id : 0;
    }
    CWnd* w = Control(id);
    if (!w || !w->IsWindowVisible())
        return false;
    w->SetFocus();
    Notificar(id, CambioVentana::Mostrar);
    return true;
}

// ----- boxes to and from values -----------------------------------------------------------------

bool CGuiaView::CargarControlCasilla(int casilla, CString& valor) {
    if (!doc_)
        return false;
    valor = doc_->GetCasilla(casilla, pagina_);
    return true;
}

// A read-only view writes nothing, whatever a rule asks.
bool CGuiaView::SalvarControlCasilla(int casilla, const CString& valor) {
    if (!doc_ || soloLectura_ || !doc_->PermiteCambios())
        return false;
    doc_->SetCasilla(casilla, pagina_, valor);
    return true;
}

bool CGuiaView::CargarControlCasilla(int casilla, int& marca) {
    CString valor;
    if (!CargarControlCasilla(casilla, valor))
        return false;
    marca = valor == kCasillaMarcada ? BST_CHECKED : BST_UNCHECKED;
    return true;
}

bool CGuiaView::SalvarControlCasilla(int casilla, int marca) {
    return SalvarControlCasilla(casilla, CString(marca == BST_CHECKED ? kCasillaMarcada : ""));
}

bool CGuiaView::CargarControlCasilla(int casilla, COleDateTime& fecha) {
    CString valor;
    if (!CargarControlCasilla(casilla, valor))
        return false;
    fecha = valor.IsEmpty() ? COleDateTime() : Str2Time(valor);
    if (fecha.GetStatus() != COleDateTime::valid)
        fecha = COleDateTime();
    return true;
}

bool CGuiaView::SalvarControlCasilla(int casilla, const COleDateTime& fecha) {
    return SalvarControlCasilla(
        casilla, fecha.GetStatus() == COleDateTime::valid ? fecha.Format("%d/%m/%Y") : CString());
}

bool CGuiaView::CargarControlCasilla(int casilla, CDateTimeCtrl& selector, COleDateTime& fecha) {
    if (!CargarControlCasilla(casilla, fecha))
        return false;
    selector.SetTime(fecha);
    return true;
}

bool CGuiaView::SalvarControlCasilla(int casilla, CDateTimeCtrl& selector, COleDateTime& fecha) {
    selector.GetTime(fecha);
    return SalvarControlCasilla(casilla, fecha);
}

bool CGuiaView::CargarControlCasilla(int casilla, CString& valor, const CStringArray& codigos,
                                     const CStringArray& textos) {
    CString codigo;
    if (!CargarControlCasilla(casilla, codigo))
        return false;
    valor = TraducirCodigo(codigo, codigos, textos);
    if (valor.IsEmpty())
        valor = codigo;
    return true;
}

bool CGuiaView::SalvarControlCasilla(int casilla, const CString& valor, const CStringArray& codigos,
                                     const CStringArray& textos) {
    for (int i = 0; i < textos.GetSize() && i < codigos.GetSize(); ++i)
        if (!valor.IsEmpty() && textos[i] == valor)
            return SalvarControlCasilla(casilla, codigos[i]);
    return SalvarControlCasilla(casilla, valor);
}

// ----- help, validation and enabling ------------------------------------------------------------

void CGuiaView::MapearControlAyuda(int casilla, int idControl) {
    ayuda_[casilla] = idControl;
}

void CGuiaView::MapearControlValidacion(int casilla, int idControl) {
    validacion_[casilla] = idControl;
}

int CGuiaView::ControlAyuda(int casilla) const {
    auto it = ayuda_.find(casilla);
    return it == ayuda_.end() ? 0 : it->second;
}

int CGuiaView::ControlValidacion(int casilla) const {
    auto it = validacion_.find(casilla);
    return it == validacion_.end() ? 0 : it->second;
}

int CGuiaView::CasillaAyuda(int idControl) const {
    for (const auto& [casilla, id] : ayuda_)
        if (id == idControl)
            return casilla;
    return -1;
}

// A read-only view keeps every control that shows a box disabled.
bool CGuiaView::HabilitarControl(int idControl) {
    CWnd* w = Control(idControl);
    if (!w)
        return false;
    const PlantillaDialogo* p = Plantilla();
    const ControlPlantilla* c = p ? p->Control(idControl) : nullptr;
    if (soloLectura_ && c && c->casilla >= 0)
        return false;
    w->EnableWindow(true);
    return true;
}

bool CGuiaView::InhabilitarControl(int idControl) {
    CWnd* w = Control(idControl);
    if (!w)
        return false;
    w->EnableWindow(false);
    return true;
}

void CGuiaView::AbrirAyudaBloque(const CString& modelo, const CString& pagina,
                                 const CString& clave) {
    AfxServicios().MostrarAyuda(modelo, pagina, clave);
}

void CGuiaView::ActivarDropListMeses(CWnd* control) {
    if (control && control->GetParentView() == this)
        AfxServicios().ListaMeses(*control);
}

// ----- the printed codes and the data-protection texts ------------------------------------------

bool CGuiaView::CargarCodigoPuntos(CStatic& estatico, int pagina) {
    stImagenCodigo imagen;
    CString error;
    // The symbol takes the shape of its field, so the field's whole size goes to its modules.
    CRect campo;
    estatico.GetWindowRect(&campo);
    const double proporcion =
        campo.Height() > 0 ? double(campo.Width()) / double(campo.Height()) : 0.0;
    const bool hecho =
        doc_ && GenerarImagenPDF417(doc_->GenerarCodigoPDF417(pagina), imagen, error, proporcion);
    estatico.SetImagen(hecho ? std::move(imagen) : stImagenCodigo());
    return hecho;
}

bool CGuiaView::CargarCodigoBarras(CStatic& estatico) {
    stImagenCodigo imagen;
    CString error;
    const bool hecho =
        doc_ && GenerarImagenCode128(doc_->GenerarCodBarras(doc_->GetCodDeclar()), imagen, error);
    estatico.SetImagen(hecho ? std::move(imagen) : stImagenCodigo());
    return hecho;
}

bool CGuiaView::CargarCodigoPuntos(int idControl, int pagina) {
    auto* s = dynamic_cast<CStatic*>(Control(idControl));
    return s && CargarCodigoPuntos(*s, pagina);
}

bool CGuiaView::CargarCodigoBarras(int idControl) {
    auto* s = dynamic_cast<CStatic*>(Control(idControl));
    return s && CargarCodigoBarras(*s);
}

const stImagenCodigo* CGuiaView::ImagenControl(int idControl) const {
    auto* s = dynamic_cast<CStatic*>(Control(idControl));
    return s ? s->GetImagen() : nullptr;
}

bool CGuiaView::Cargar_Titulos_LOPD_Vistas(int idTitulo1, int idTitulo2, int idTexto) {
    CWnd* t1 = Control(idTitulo1);
    CWnd* t2 = Control(idTitulo2);
    CWnd* texto = Control(idTexto);
    if (!t1 || !t2 || !texto)
        return false;
    t1->SetWindowText(kTituloLopd1);
    t2->SetWindowText(kTituloLopd2);
    texto->SetWindowText(kTextoLopd);
    return true;
}

// ----- opening a page ---------------------------------------------------------------------------

std::unique_ptr<CGuiaView> AbrirVistaPagina(CGuiaDoc& doc, int pagina, CString& error,
                                            bool soloLectura) {
    const stPagina p = doc.GetPagina(pagina);
    if (p.Indice < 0) {
        error = CString::Formatted("La declaración no tiene la página %d", pagina + 1);
        return nullptr;
    }
    std::unique_ptr<CGuiaView> vista(doc.CrearVistaTipo(p.Tipo));
    if (!vista) {
        error = "El formulario no tiene vista para la página de tipo " + p.Tipo;
        return nullptr;
    }
    vista->SetDocument(&doc);
    vista->SetPagina(pagina);
    struct Paso {
        const char* nombre;
        bool (CGuiaView::*op)();
    };
    const bool editable = doc.PermiteCambios() && !soloLectura;
    const Paso modo = editable ? Paso{"pasar a edición", &CGuiaView::ModoEdicion}
                               : Paso{"pasar a solo lectura", &CGuiaView::ModoSoloLectura};
    std::vector<Paso> pasos = {
        {"crear los controles", &CGuiaView::Crear},
        {"iniciar los controles", &CGuiaView::InicializarControles},
        {"iniciar las ayudas emergentes", &CGuiaView::InicializarTooltips},
        {"asociar la ayuda de las casillas", &CGuiaView::InicializarControlesAyuda},
        {"asociar la validación de las casillas", &CGuiaView::InicializarControlesValidacion},
        {"cargar los datos", &CGuiaView::CargarDatos},
        modo,
    };
    // A read-only view is one while it loads too: the rules its loading notifies then leave
    // the stored boxes as they are shown.
    if (!editable)
        pasos.insert(pasos.end() - 2, modo);
    for (const Paso& paso : pasos) {
        if (!((*vista).*(paso.op))()) {
            error =
                CString::Formatted("La vista de la página %d no pudo ", pagina + 1) + paso.nombre;
            return nullptr;
        }
    }
    return vista;
}
