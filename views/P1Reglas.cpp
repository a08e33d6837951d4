// The rules of page 1 while a person works on it: the parties and help buttons, the kind of
// declaration, the liquidation table and its total, the accrual period, the signature date and
// the import of the data file.
#include "Formulario.h"
#include "Modelo/base/Funciones.h"
#include "Modelo/document/GuiaDoc.h"
#include "Modelo/parties/Intervinientes.h"
#include "Modelo/services/Servicios.h"
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
    DeCasilla<CButton>(casilla::Sustitutiva).SetCheck(BST_UNCHECKED);
    RevisarEstadoCasillas();
}

void MOD_P1VIEW::OnChkSustClicked() {
    DeCasilla<CButton>(casilla::Complementaria).SetCheck(BST_UNCHECKED);
    RevisarEstadoCasillas();
}

void MOD_P1VIEW::RevisarEstadoCasillas() {
    const int anteriores[] = {control::IdJustificante, control::SelectorFechaPresentacion,
                              control::AnioAnterior, control::NumeroPresentacion};
    if (DeCasilla<CButton>(casilla::Complementaria).GetCheck() == BST_CHECKED ||
        DeCasilla<CButton>(casilla::Sustitutiva).GetCheck() == BST_CHECKED) {
        for (int id : anteriores)
            HabilitarControl(id);
        return;
    }
    Texto(casilla::JustificanteAnterior).Empty();
    Texto(casilla::AnioAnterior).Empty();
    Texto(casilla::NumeroPresentacionAnterior).Empty();
    DeCasilla<CDateTimeOptCtrl>(casilla::FechaPresentacionAnterior).OcultarFecha();
    Fecha(casilla::FechaPresentacionAnterior) = COleDateTime();
    for (int id : anteriores)
        InhabilitarControl(id);
    UpdateData(false);
    DeCasilla<CButton>(casilla::Complementaria).SetCheck(BST_UNCHECKED);
    DeCasilla<CButton>(casilla::Sustitutiva).SetCheck(BST_UNCHECKED);
}

// ----- counts, bases, quotas and the total ------------------------------------------------------

void MOD_P1VIEW::SalirDeNumDoc(int fila) {
    UpdateData(true);
    if (Texto(casilla::NumeroDocumentos + fila) == valor::kCuentaCero)
        Texto(casilla::NumeroDocumentos + fila).Empty();
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
        const CString cuenta = DeCasilla(casilla::NumeroDocumentos + i).GetWindowText();
        if (!cuenta.IsEmpty() && cuenta != valor::kCuentaCero) {
            HabilitarControl(control::Base + i);
            HabilitarControl(control::Cuota + i);
        } else {
            DeCasilla(casilla::Base + i).SetWindowText("");
            DeCasilla(casilla::Cuota + i).SetWindowText("");
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
    for (int i = 0; i < casilla::FilasLiquidacion; ++i) {
        const CString& cuota = Texto(casilla::Cuota + i);
        long long centimos = 0;
        if (cuota.IsEmpty() || !Currency2Centimos(cuota, centimos))
            continue;
        suma += centimos;
        algunaCuota = true;
    }
    Texto(casilla::TotalIngresar) = algunaCuota ? Centimos2Currency(suma) : CString();
    UpdateData(false);
}

// ----- the accrual period -----------------------------------------------------------------------

void MOD_P1VIEW::OnSetfocusMesDevengo() {
    AfxServicios().VaciarPortapapeles();
    UpdateData(true);
    if (!Texto(casilla::MesDevengo).IsEmpty()) {
        Texto(casilla::MesDevengo) = Normalizado(Texto(casilla::MesDevengo));
        UpdateData(false);
    }
    ActivarDropListMeses(&DeCasilla(casilla::MesDevengo));
}

void MOD_P1VIEW::OnChangeMesDevengo() {
    const CString anioAnterior = Texto(casilla::AnioDevengo);
    const CString mesAnterior = Texto(casilla::MesDevengo);
    const CString mesAnteriorNumero = MesNumero(mesAnterior);
    UpdateData(true);
    if (!Texto(casilla::MesDevengo).IsEmpty())
        Texto(casilla::MesDevengo) = Normalizado(Texto(casilla::MesDevengo));
    else
        Texto(casilla::MesDevengo) = mesAnteriorNumero != "00" ? mesAnteriorNumero : mesAnterior;
    UpdateData(false);
    if (!anioAnterior.IsEmpty() && !mesAnterior.IsEmpty())
        ComprobarPeriodo(anioAnterior, mesAnterior);
}

void MOD_P1VIEW::OnKillfocusMesDevengo() {
    if (Texto(casilla::MesDevengo).IsEmpty())
        return;
    Texto(casilla::MesDevengo) = Normalizado(Texto(casilla::MesDevengo));
    UpdateData(false);
    if (formulario::kSalidaMesRecalcula) {
        CalcularTotalIngresar();
        SalvarDatos();
        CargarDatos();
        UpdateData(false);
    }
}

void MOD_P1VIEW::OnKillfocusAnioDevengo() {
    const CString anioAnterior = Texto(casilla::AnioDevengo);
    const CString mesAnterior = Texto(casilla::MesDevengo);
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
    DeCasilla(casilla::AnioDevengo).SetWindowText(anioAnterior);
    DeCasilla(casilla::MesDevengo).SetWindowText(mesAnterior);
    UpdateData(true);
    SalvarDatos();
    restaurandoPeriodo_ = false;
}

// ----- the earlier declaration ------------------------------------------------------------------

void MOD_P1VIEW::OnKillfocusLiqNumPres() {
    UpdateData(true);
    if (!Texto(casilla::NumeroPresentacionAnterior).IsEmpty())
        Texto(casilla::NumeroPresentacionAnterior) = Padding(
            Texto(casilla::NumeroPresentacionAnterior), formato::LongitudNumeroPresentacion);
    UpdateData(false);
}

void MOD_P1VIEW::OnDropdownLiqFechaPres(NMHDR*, LRESULT* resultado) {
    UpdateData(true);
    *resultado = 0;
}

void MOD_P1VIEW::OnCloseupLiqFechaPres(NMHDR*, LRESULT* resultado) {
    DeId(control::AyudaAutoliquidacion).SetFocus();
    *resultado = 0;
}

void MOD_P1VIEW::OnKillfocusLiqFechaPres(NMHDR*, LRESULT* resultado) {
    *resultado = 0;
}

// ----- the signature date -----------------------------------------------------------------------

void MOD_P1VIEW::OnCloseupFechaFirma(NMHDR*, LRESULT* resultado) {
    DeId(control::IntervPresentador).SetFocus();
    *resultado = 0;
}

void MOD_P1VIEW::EscribirFechaFirma(const COleDateTime& fecha) {
    Texto(casilla::FirmaDia) = CString::Formatted("%02d", fecha.GetDay());
    Texto(casilla::FirmaMes) = GetMesLetra(fecha.GetMonth());
    Texto(casilla::FirmaAnio) = CString::Formatted("%d", fecha.GetYear());
    UpdateData(false);
}

void MOD_P1VIEW::OnKillfocusFechaFirma(NMHDR*, LRESULT* resultado) {
    *resultado = 0;
    const COleDateTime anterior = Fecha(casilla::FirmaFecha);
    UpdateData(true);
    UpdateData(false);
    EscribirFechaFirma(Fecha(casilla::FirmaFecha));
    SalvarDatos();
    CListaErrores errores;
    static_cast<MOD_DOC*>(GetDocument())->ValidarFechaPresentacion(errores);
    if (errores.IsEmpty())
        return;
    MostrarErrores(*GetDocument(), errores);
    Fecha(casilla::FirmaFecha) = anterior;
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
    if (!Texto(casilla::MesDevengo).IsEmpty() && !Texto(casilla::AnioDevengo).IsEmpty()) {
        Fecha(casilla::FechaPresentacionAnterior) =
            Str2Time("01/" + Texto(casilla::MesDevengo) + "/" + Texto(casilla::AnioDevengo));
        UpdateData(false);
    }
    return tomado ? ResultadoImportacion::Tomado : ResultadoImportacion::Rechazado;
}
