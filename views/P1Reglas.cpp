// The rules of page 1 while a person works on it: the parties and help buttons, the kind of
// declaration, the liquidation table and its total, the accrual period, the signature date and
// the import of the data file.
#include "Formulario.h"
#include "Modelo/Funciones.h"
#include "Modelo/GuiaDoc.h"
#include "Modelo/Intervinientes.h"
#include "Modelo/Servicios.h"
#include "P1View.h"
#include "core/ModDoc.h"
#include "core/Plantillas.h"
#include "datafile/Lectura.h"

#include <cstdlib>

namespace {

constexpr const char* kPaginaAyuda = "1";
constexpr const char* kFiltroFichero = "Ficheros Txt (*.txt)|*.txt||";
constexpr const char* kTituloFichero = "Selección del fichero que contiene los datos";
constexpr const char* kFicheroIlegible =
    "No se puede leer el fichero %1; la declaración queda como estaba.";

// One message box listing every finding, each on its own line after "- ".
void MostrarErrores(CGuiaDoc& doc, CListaErrores& errores) {
    doc.ObtenerDetallesListaErrores(errores);
    CString texto;
    for (const stError& e : errores)
        texto += "- " + e.Descripcion + "\n";
    AfxMessageBox(texto, MB_OK | MB_ICONINFORMATION);
}

CString Normalizado(const CString& mes) {
    const CString m = MesNumero(mes);
    return m != "00" ? m : mes;
}

} // namespace

// ----- parties and help
// ---------------------------------------------------------------------------

void MOD_P1VIEW::OnBtnIntervinientes() {
    UpdateData(true);
    SalvarDatos();
    CGuiaDoc& doc = *GetDocument();
    if (doc.CambioTimeStamp()) {
        doc.ErrorTimeStamp();
        return;
    }
    doc.ActualizarTimeStamp();
    CMtoIntervDlg dialogo(doc.EsModoEdicion(), doc.GetCodModelo(), doc.GetCodDeclar(),
                          COleDateTime::GetCurrentTime());
    if (dialogo.DoModal() == IDOK && doc.PermiteCambios()) {
        static_cast<MOD_DOC&>(doc).InicializarDatosIntervinientes();
        CargarDatos();
    }
}

void MOD_P1VIEW::OnBtnAyudaSuj() {
    AbrirAyudaBloque(GetDocument()->GetCodModelo(), kPaginaAyuda, "SujPasivo");
}
void MOD_P1VIEW::OnBtnAyudaRep() {
    AbrirAyudaBloque(GetDocument()->GetCodModelo(), kPaginaAyuda, "Representante");
}
void MOD_P1VIEW::OnBtnAyudaPresentador() {
    AbrirAyudaBloque(GetDocument()->GetCodModelo(), kPaginaAyuda, "Presentador");
}
void MOD_P1VIEW::OnBtnAyudaLiqTipo() {
    AbrirAyudaBloque(GetDocument()->GetCodModelo(), kPaginaAyuda, "Tipo_Liquidacion");
}
void MOD_P1VIEW::OnBtnAyudaLiqFichero() {
    AbrirAyudaBloque(GetDocument()->GetCodModelo(), kPaginaAyuda, "Autoliquidacion");
}

// ----- complementary or substitutive ------------------------------------------------------------

void MOD_P1VIEW::OnChkCompClicked() {
    m_ChkSustitutiva.SetCheck(BST_UNCHECKED);
    RevisarEstadoCasillas();
}

void MOD_P1VIEW::OnChkSustClicked() {
    m_ChkComplementaria.SetCheck(BST_UNCHECKED);
    RevisarEstadoCasillas();
}

void MOD_P1VIEW::RevisarEstadoCasillas() {
    const int anteriores[] = {control::IdJustificante, control::SelectorFechaPresentacion,
                              control::AnioAnterior, control::NumeroPresentacion};
    if (m_ChkComplementaria.GetCheck() == BST_CHECKED ||
        m_ChkSustitutiva.GetCheck() == BST_CHECKED) {
        for (int id : anteriores)
            HabilitarControl(id);
        return;
    }
    m_strJustificante.Empty();
    m_strAnioAnterior.Empty();
    m_strNumeroPresentacion.Empty();
    m_FechaPresentacion.OcultarFecha();
    m_FechaPresentacionValor = COleDateTime();
    for (int id : anteriores)
        InhabilitarControl(id);
    UpdateData(false);
    m_ChkComplementaria.SetCheck(BST_UNCHECKED);
    m_ChkSustitutiva.SetCheck(BST_UNCHECKED);
}

// ----- counts, bases, quotas and the total ------------------------------------------------------

void MOD_P1VIEW::SalirDeNumDoc(int fila) {
    UpdateData(true);
    if (m_strNumDoc[fila] == valor::kCuentaCero)
        m_strNumDoc[fila].Empty();
    UpdateData(false);
}

void MOD_P1VIEW::OnKillfocusNumDocRecibos() {
    SalirDeNumDoc(0);
}
void MOD_P1VIEW::OnKillfocusNumDocPagares() {
    SalirDeNumDoc(1);
}
void MOD_P1VIEW::OnKillfocusNumDocCheques() {
    SalirDeNumDoc(2);
}
void MOD_P1VIEW::OnKillfocusNumDocOtros() {
    SalirDeNumDoc(3);
}

void MOD_P1VIEW::OnChangeNumDocRecibos() {
    RevisarNumeroDocumentos();
}
void MOD_P1VIEW::OnChangeNumDocPagares() {
    RevisarNumeroDocumentos();
}
void MOD_P1VIEW::OnChangeNumDocCheques() {
    RevisarNumeroDocumentos();
}
void MOD_P1VIEW::OnChangeNumDocOtros() {
    RevisarNumeroDocumentos();
}

// A read-only page shows the rows and the total as stored, as its code carries them.
void MOD_P1VIEW::RevisarNumeroDocumentos() {
    if (EsSoloLectura())
        return;
    for (int i = 0; i < casilla::FilasLiquidacion; ++i) {
        const CString cuenta = m_NumDoc[i].GetWindowText();
        if (!cuenta.IsEmpty() && cuenta != valor::kCuentaCero) {
            HabilitarControl(control::Base + i);
            HabilitarControl(control::Cuota + i);
        } else {
            m_Base[i].SetWindowText("");
            m_Cuota[i].SetWindowText("");
            InhabilitarControl(control::Base + i);
            InhabilitarControl(control::Cuota + i);
        }
    }
    CalcularTotalIngresar();
}

void MOD_P1VIEW::OnKillfocusCuota() {
    CalcularTotalIngresar();
}

// The sum in whole cents: a double loses the last cents of fourteen-digit quotas, and the
// validation, which adds cents, would then refuse the total the page wrote. A quota the field
// would not admit adds nothing; the validation names it.
void MOD_P1VIEW::CalcularTotalIngresar() {
    UpdateData(true);
    long long suma = 0;
    bool algunaCuota = false;
    for (const CString& cuota : m_strCuota) {
        long long centimos = 0;
        if (cuota.IsEmpty() || !Currency2Centimos(cuota, centimos))
            continue;
        suma += centimos;
        algunaCuota = true;
    }
    m_strTotal = algunaCuota ? Centimos2Currency(suma) : CString();
    UpdateData(false);
}

// ----- the accrual period -----------------------------------------------------------------------

void MOD_P1VIEW::OnSetfocusMesDevengo() {
    AfxServicios().VaciarPortapapeles();
    UpdateData(true);
    if (!m_strMesDevengo.IsEmpty()) {
        m_strMesDevengo = Normalizado(m_strMesDevengo);
        UpdateData(false);
    }
    ActivarDropListMeses(&m_MesDevengo);
}

void MOD_P1VIEW::OnChangeMesDevengo() {
    const CString anioAnterior = m_strAnioDevengo;
    const CString mesAnterior = m_strMesDevengo;
    const CString mesAnteriorNumero = MesNumero(mesAnterior);
    UpdateData(true);
    if (!m_strMesDevengo.IsEmpty())
        m_strMesDevengo = Normalizado(m_strMesDevengo);
    else
        m_strMesDevengo = mesAnteriorNumero != "00" ? mesAnteriorNumero : mesAnterior;
    UpdateData(false);
    if (!anioAnterior.IsEmpty() && !mesAnterior.IsEmpty())
        ComprobarPeriodo(anioAnterior, mesAnterior);
}

void MOD_P1VIEW::OnKillfocusMesDevengo() {
    if (m_strMesDevengo.IsEmpty())
        return;
    m_strMesDevengo = Normalizado(m_strMesDevengo);
    UpdateData(false);
    if (formulario::kSalidaMesRecalcula) {
        CalcularTotalIngresar();
        SalvarDatos();
        CargarDatos();
        UpdateData(false);
    }
}

void MOD_P1VIEW::OnKillfocusAnioDevengo() {
    const CString anioAnterior = m_strAnioDevengo;
    const CString mesAnterior = m_strMesDevengo;
    if (!anioAnterior.IsEmpty() && !mesAnterior.IsEmpty())
        ComprobarPeriodo(anioAnterior, mesAnterior);
}

// A refused period is put back. Putting the month back may itself be a change of the month,
// whose handler checks the restored period again; while the period is being put back a refusal
// shows nothing and puts nothing back, so one change gives one message and never a loop of
// them. The restored values are saved here, since a month put back unchanged is no change.
void MOD_P1VIEW::ComprobarPeriodo(const CString& anioAnterior, const CString& mesAnterior) {
    UpdateData(true);
    SalvarDatos();
    CListaErrores errores;
    static_cast<MOD_DOC*>(GetDocument())->ValidarFechaDevengo(errores);
    if (errores.IsEmpty() || restaurandoPeriodo_)
        return;
    MostrarErrores(*GetDocument(), errores);
    restaurandoPeriodo_ = true;
    m_AnioDevengo.SetWindowText(anioAnterior);
    m_MesDevengo.SetWindowText(mesAnterior);
    UpdateData(true);
    SalvarDatos();
    restaurandoPeriodo_ = false;
}

// ----- the earlier declaration ------------------------------------------------------------------

void MOD_P1VIEW::OnKillfocusLiqNumPres() {
    UpdateData(true);
    if (!m_strNumeroPresentacion.IsEmpty())
        m_strNumeroPresentacion =
            Padding(m_strNumeroPresentacion, formato::LongitudNumeroPresentacion);
    UpdateData(false);
}

void MOD_P1VIEW::OnDropdownLiqFechaPres(NMHDR*, LRESULT* resultado) {
    UpdateData(true);
    *resultado = 0;
}

void MOD_P1VIEW::OnCloseupLiqFechaPres(NMHDR*, LRESULT* resultado) {
    m_BtnAyudaLiquidacion.SetFocus();
    *resultado = 0;
}

void MOD_P1VIEW::OnKillfocusLiqFechaPres(NMHDR*, LRESULT* resultado) {
    *resultado = 0;
}

// ----- the signature date -----------------------------------------------------------------------

void MOD_P1VIEW::OnCloseupFechaFirma(NMHDR*, LRESULT* resultado) {
    m_BtnIntervPresentador.SetFocus();
    *resultado = 0;
}

void MOD_P1VIEW::EscribirFechaFirma(const COleDateTime& fecha) {
    m_strFirmaDia = CString::Formatted("%02d", fecha.GetDay());
    m_strFirmaMes = GetMesLetra(fecha.GetMonth());
    m_strFirmaAnio = CString::Formatted("%d", fecha.GetYear());
    UpdateData(false);
}

void MOD_P1VIEW::OnKillfocusFechaFirma(NMHDR*, LRESULT* resultado) {
    *resultado = 0;
    const COleDateTime anterior = m_FechaFirmaValor;
    UpdateData(true);
    UpdateData(false);
    EscribirFechaFirma(m_FechaFirmaValor);
    SalvarDatos();
    CListaErrores errores;
    static_cast<MOD_DOC*>(GetDocument())->ValidarFechaPresentacion(errores);
    if (errores.IsEmpty())
        return;
    MostrarErrores(*GetDocument(), errores);
    m_FechaFirmaValor = anterior;
    UpdateData(false);
    EscribirFechaFirma(anterior);
}

// ----- the data file ----------------------------------------------------------------------------

ResultadoImportacion MOD_P1VIEW::OnBtnImportFichero() {
    SalvarDatos();
    CGuiaDoc& doc = *GetDocument();
    if (!doc.PermiteCambios())
        return ResultadoImportacion::Cancelado;
    CString ruta;
    if (!AfxServicios().ElegirFichero(kFiltroFichero, kTituloFichero, ruta))
        return ResultadoImportacion::Cancelado;
    // The table is cleared before the file is read; a file that cannot be read at all must
    // not cost the person the table they have.
    if (!FicheroLegible(ruta)) {
        CString mensaje = kFicheroIlegible;
        mensaje.Replace("%1", ruta);
        AfxMessageBox(mensaje, MB_OK | MB_ICONWARNING);
        return ResultadoImportacion::Ilegible;
    }
    auto& mod = static_cast<MOD_DOC&>(doc);
    mod.LimpiarDatosAutoliquidacion();
    const bool tomado = mod.AnalizarFicheroAutoliquidacion(ruta);
    CargarDatos();
    RevisarEstadoCasillas();
    if (!m_strMesDevengo.IsEmpty() && !m_strAnioDevengo.IsEmpty()) {
        m_FechaPresentacionValor = Str2Time("01/" + m_strMesDevengo + "/" + m_strAnioDevengo);
        UpdateData(false);
    }
    return tomado ? ResultadoImportacion::Tomado : ResultadoImportacion::Rechazado;
}
