#include "Modelo/document/GuiaDoc.h"

#include "Modelo/services/Servicios.h"
#include "Modelo/store/BaseDatos.h"

#include <cstdlib>

IMPLEMENT_DYNAMIC(CGuiaDoc, CDocument)

CString NombreEjemplar(int ejemplar) {
    switch (ejemplar) {
    case EjemplarDeclarante:
        return "Ejemplar para el declarante";
    case EjemplarAdministracion:
        return "Ejemplar para la Administración";
    case EjemplarEntidadColaboradora:
        return "Ejemplar para la entidad colaboradora";
    case EjemplarSujetoPasivo:
        return "Ejemplar para el sujeto pasivo";
    }
    return CString();
}

CGuiaDoc::CGuiaDoc() = default;
CGuiaDoc::~CGuiaDoc() = default;

// ----- boxes ------------------------------------------------------------------------------------

CString CGuiaDoc::GetCasilla(int casilla, int pagina) const {
    auto it = casillas_.find({pagina, casilla});
    return it == casillas_.end() ? CString() : it->second;
}

// An empty text is not stored: "never written" and "emptied" read the same.
void CGuiaDoc::SetCasilla(int casilla, int pagina, const CString& valor) {
    const auto clave = std::make_pair(pagina, casilla);
    auto it = casillas_.find(clave);
    const CString anterior = it == casillas_.end() ? CString() : it->second;
    if (anterior == valor)
        return;
    if (valor.IsEmpty())
        casillas_.erase(it);
    else
        casillas_[clave] = valor;
    cambio_ = COleDateTime::GetCurrentTime();
    SetModifiedFlag(true);
}

void CGuiaDoc::VaciarCasillas() {
    casillas_.clear();
}

// ----- pages ------------------------------------------------------------------------------------

bool CGuiaDoc::CrearPagina(int indice, const stPagina& pagina) {
    if (indice < 0 || paginas_.count(indice))
        return false;
    stPagina p = pagina;
    p.Indice = indice;
    paginas_.emplace(indice, std::move(p));
    return true;
}

stPagina CGuiaDoc::GetPagina(int indice) const {
    auto it = paginas_.find(indice);
    return it == paginas_.end() ? stPagina() : it->second;
}

bool CGuiaDoc::SetPagina(int indice, const stPagina& pagina) {
    auto it = paginas_.find(indice);
    if (it == paginas_.end())
        return false;
    it->second = pagina;
    it->second.Indice = indice;
    return true;
}

void CGuiaDoc::ReplicarCasilla(const stPagina& origen, const stPagina& destino, int casilla) {
    if (origen.Indice < 0 || destino.Indice < 0)
        return;
    SetCasilla(casilla, destino.Indice, GetCasilla(casilla, origen.Indice));
}

// ----- operations the host drives ---------------------------------------------------------------

CString CGuiaDoc::GetTag() {
    return codModelo_ + codDeclar_;
}

CString CGuiaDoc::FechaDevengo() {
    if (mes_.IsEmpty() || anio_.IsEmpty())
        return CString();
    return "01/" + mes_ + "/" + anio_;
}

bool CGuiaDoc::TieneDatos(int pagina) {
    for (const auto& [clave, valor] : casillas_)
        if (clave.first == pagina)
            return true;
    return false;
}

bool CGuiaDoc::ObtenerDetallesError(const CString& codigo, CString& descripcion, CString& detalle) {
    CBaseDatos* db = CBaseDatos::Actual();
    bool hallado = false;
    if (db && db->EstaAbierta()) {
        db->Consultar("SELECT DESCRIPCION, DETALLE FROM CATALOGO_ERRORES WHERE CODIGO = ?",
                      {codigo}, [&](const FilaSql& f) {
                          descripcion = f.Texto(0);
                          detalle = f.Texto(1);
                          hallado = true;
                      });
    }
    if (!hallado) {
        descripcion = "Error " + codigo + " sin descripción en el catálogo";
        detalle = CString();
    }
    return hallado;
}

CString CGuiaDoc::GetAyuda(int casilla) {
    if (!ayudas_) {
        CBaseDatos* db = CBaseDatos::Actual();
        if (!db || !db->EstaAbierta())
            return CString();
        std::map<int, CString> ayudas;
        db->Consultar("SELECT CASILLA, TEXTO FROM AYUDAS_CASILLA WHERE MODELO = ?", {codModelo_},
                      [&](const FilaSql& f) { ayudas[int(f.Entero(0))] = f.Texto(1); });
        ayudas_ = std::move(ayudas);
    }
    const auto texto = ayudas_->find(casilla);
    return texto == ayudas_->end() ? CString() : texto->second;
}

// Only the records whose texts are still empty are completed: a record that arrived with its
// texts (a data-file finding with its row number) keeps them.
bool CGuiaDoc::ObtenerDetallesListaErrores(CListaErrores& errores) {
    for (stError& e : errores)
        if (e.Descripcion.IsEmpty() && e.Detalle.IsEmpty())
            ObtenerDetallesError(e.Codigo, e.Descripcion, e.Detalle);
    return true;
}

bool CGuiaDoc::Validar(CListaErrores& errores) {
    ValidarFormatoCasillas(errores);
    error_ = COleDateTime::GetCurrentTime();
    return true;
}

bool CGuiaDoc::CambioTimeStamp() {
    if (!almacen_.marca || codDeclar_.IsEmpty())
        return false;
    return almacen_.marca(codDeclar_) != marcaLeida_;
}

void CGuiaDoc::ErrorTimeStamp() {
    AfxMessageBox("La declaración " + codDeclar_ +
                      " se ha guardado desde otra ventana o programa después de abrirla aquí. "
                      "Ciérrela sin guardar y vuelva a abrirla para no deshacer esos cambios.",
                  MB_OK | MB_ICONWARNING);
}

void CGuiaDoc::ActualizarTimeStamp() {
    if (almacen_.marca && !codDeclar_.IsEmpty())
        marcaLeida_ = almacen_.marca(codDeclar_);
}

bool CGuiaDoc::ValidarObligatorio(CListaErrores& errores, int casilla, int pagina, CString codigo) {
    if (!GetCasilla(casilla, pagina).IsEmpty())
        return true;
    errores.Add(stError(casilla, pagina, codigo, "", ""));
    return false;
}

bool CGuiaDoc::ValidarFechaFirma(CListaErrores& errores, int casillaDia, int casillaMes,
                                 int casillaAnio, int pagina, CString codigo) {
    const int dia = std::atoi(GetCasilla(casillaDia, pagina));
    const int mes = std::atoi(GetCasilla(casillaMes, pagina));
    const int anio = std::atoi(GetCasilla(casillaAnio, pagina));
    if (COleDateTime::IsValidDate(anio, mes, dia))
        return true;
    errores.Add(stError(casillaDia, pagina, codigo, "", ""));
    return false;
}

bool CGuiaDoc::SalvarDatos() {
    if (!almacen_.salvar || !permiteCambios_)
        return false;
    if (!almacen_.salvar(*this))
        return false;
    SetModifiedFlag(false);
    return true;
}

bool CGuiaDoc::CargarDatos(CString codDeclar, bool soloLectura, bool) {
    if (!almacen_.cargar || !almacen_.cargar(*this, codDeclar))
        return false;
    if (soloLectura)
        modoEdicion_ = false;
    SetModifiedFlag(false);
    return true;
}

bool CGuiaDoc::NuevosDatos(CString, CString, CString, CString) {
    estado_ = estado::Borrador;
    permiteCambios_ = true;
    modoEdicion_ = true;
    return true;
}

bool CGuiaDoc::ReplicarDatos() {
    return true;
}
bool CGuiaDoc::IniDocumento() {
    return true;
}
bool CGuiaDoc::IniAyudas() {
    return true;
}
bool CGuiaDoc::IniciarConceptos() {
    return true;
}

bool CGuiaDoc::CrearEstructPaginas() {
    paginas_.clear();
    return true;
}

// A form without annexes is the host's default.
bool CGuiaDoc::CrearAnexo() {
    return false;
}
bool CGuiaDoc::DestruirAnexo() {
    return false;
}
bool CGuiaDoc::PosibleCrearAnexo() {
    return false;
}
bool CGuiaDoc::PosibleDestruirAnexo() {
    return false;
}
bool CGuiaDoc::AsociarTiposEjemplares(stPagina*) {
    return true;
}

bool CGuiaDoc::RevisarRegRemesa(CString, CString, CString, CListaRegRemesa&) {
    return true;
}

bool CGuiaDoc::CancelarCambios() {
    if (codDeclar_.IsEmpty() || !almacen_.cargar)
        return false;
    return almacen_.cargar(*this, codDeclar_);
}

CGuiaView* CGuiaDoc::CrearVistaTipo(CString) {
    return nullptr;
}

bool CGuiaDoc::GetIdsArbol(CStringArray& ids, CStringArray& textos, CStringArray& padres,
                           CTreeCtrl*) {
    for (const auto& [indice, pagina] : paginas_) {
        ids.Add(CString::Formatted("%d", indice));
        textos.Add("Página " + pagina.Tipo);
        padres.Add("");
    }
    return true;
}

CString CGuiaDoc::TraducirTipoPagina(int indice) {
    return GetPagina(indice).Tipo;
}

bool CGuiaDoc::IrPaginaCasilla(int, int pagina) {
    return paginas_.count(pagina) != 0;
}

bool CGuiaDoc::SetCasillaXSD(CString casilla, CString pagina, CString valor) {
    return SetCasillaXSD(casilla, std::atoi(pagina) - 1, valor);
}

bool CGuiaDoc::SetCasillaXSD(CString casilla, int pagina, CString valor) {
    char* fin = nullptr;
    const long numero = std::strtol(casilla, &fin, 10);
    if (casilla.IsEmpty() || *fin != '\0' || numero < 0 || pagina < 0)
        return false;
    SetCasilla(int(numero), pagina, valor);
    return true;
}

bool CGuiaDoc::ValidarIntervinientes(CStringArray&) {
    return true;
}
bool CGuiaDoc::RefCatObligatoria() {
    return false;
}

bool CGuiaDoc::CopiarRegistrosAdicionales(CString origen, CString destino) {
    if (!almacen_.copiarAdicionales)
        return false;
    return almacen_.copiarAdicionales(origen, destino);
}

bool CGuiaDoc::LimpiarRegistrosAdicionales() {
    adicionales_.clear();
    return true;
}

bool CGuiaDoc::GuardarRegistrosAdicionales() {
    adicionalesGuardados_ = adicionales_;
    return true;
}

bool CGuiaDoc::RestaurarRegistrosAdicionales() {
    adicionales_ = adicionalesGuardados_;
    return true;
}

bool CGuiaDoc::Validar_Establecimientos_Errores_2012(CListaErrores&, int, CString) {
    return true;
}
