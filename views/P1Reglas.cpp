// The rules of page 1 while a person works on it: the parties and help buttons, the kind of
// declaration, the liquidation table and its total, the accrual period, the signature date and
// the import of the data file.
#include "Formulario.h"
#include "Modelo/base/Funciones.h"
#include "Modelo/document/CatalogoCasillas.h"
#include "Modelo/document/CodigosHost.h"
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
constexpr const char* kCuotasDelFichero =
    "Las cuotas de la liquidación se calcularon al importar el fichero, con la tarifa del "
    "periodo de devengo del fichero; no se han vuelto a calcular para el periodo %1. "
    "Revíselas.";

// The text of one message listing every finding, each on its own line after "- ".
CString TextoErrores(CGuiaDoc& doc, CListaErrores& errores) {
    doc.ObtenerDetallesListaErrores(errores);
    CString texto;
    for (const stError& e : errores)
        texto += "- " + e.Descripcion + "\n";
    return texto;
}

CString Normalizado(const CString& mes) {
    const CString m = MesNumero(mes);
    return m != "00" ? m : mes;
}

// A month is typed in two digits; a single one may be the first of two, and a name comes whole
// from the month list.
bool MesCompleto(const CString& mes) {
    return mes.GetLength() >= 2;
}

// An amount as a person writes it: digits grouped by dots in threes or not at all, and at most
// two decimals after a comma, which may be left out ("15", "1234,5", "1.234"). The cents it
// stands for, or false when it is not an amount.
bool LeerImporteEscrito(const CString& t, long long& centimos) {
    const int coma = t.Find(',');
    CString entera = coma < 0 ? t : t.Left(coma);
    CString decimales = coma < 0 ? CString() : t.Mid(coma + 1);
    if (entera.IsEmpty() && decimales.IsEmpty())
        return false;
    if (entera.IsEmpty())
        entera = "0";
    if (decimales.GetLength() > formato::DecimalesImporte)
        return false;
    while (decimales.GetLength() < formato::DecimalesImporte)
        decimales += "0";
    return LeerImporteMoneda(entera + "," + decimales, centimos, formato::DigitosImporte);
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

// A read-only page shows the rows and the total as stored, as its code carries them. A count
// the person is still typing empties nothing: "05" and "0,5" pass through "0", and the row's
// amounts must outlive that; leaving the box settles the row.
void MOD_P1VIEW::RevisarNumeroDocumentos() {
    if (EsSoloLectura())
        return;
    for (int i = 0; i < casilla::FilasLiquidacion; ++i) {
        const CString cuenta = DeCasilla(casilla::NumeroDocumentos + i).GetWindowText();
        if (casillaEnVisita_ == casilla::NumeroDocumentos + i &&
            (cuenta.IsEmpty() || cuenta == valor::kCuentaCero))
            continue;
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
// validation, which adds cents, would then refuse the total the page wrote. A quota that is
// not currency text adds nothing, as in the validation, which names it: "12.34" must not count
// as 1.234,00.
void MOD_P1VIEW::CalcularTotalIngresar() {
    UpdateData(true);
    long long suma = 0;
    bool algunaCuota = false;
    for (int i = 0; i < casilla::FilasLiquidacion; ++i) {
        const CString& cuota = Texto(casilla::Cuota + i);
        long long centimos = 0;
        if (cuota.IsEmpty() || !LeerImporteMoneda(cuota, centimos))
            continue;
        suma += centimos;
        algunaCuota = true;
    }
    Texto(casilla::TotalIngresar) = algunaCuota ? Centimos2Currency(suma) : CString();
    UpdateData(false);
}

// ----- what a person leaves in a box ------------------------------------------------------------

// On screen the message takes the focus from the page, and gives it back when it closes: the
// box the person was in is neither left nor entered by that.
void MOD_P1VIEW::Explicar(const CString& texto, UINT tipo) {
    struct Abierto {
        bool& explicando;
        ~Abierto() { explicando = false; }
    } abierto{explicando_ = true};
    AfxMessageBox(texto, tipo);
}

void MOD_P1VIEW::Entrar(int c) {
    casillaEnVisita_ = c;
    alEntrar_ = DeCasilla(c).GetWindowText();
}

CString MOD_P1VIEW::Anterior(int c) {
    return casillaEnVisita_ == c ? alEntrar_ : Texto(c);
}

bool MOD_P1VIEW::AjustarAlFormato(int c) {
    CWnd& control = DeCasilla(c);
    const CString texto = control.GetWindowText();
    if (texto.IsEmpty())
        return true;
    const char* codigo = nullptr;
    switch (Formato(c)) {
    case FormatoCasilla::Cuenta:
        if (CGuiaDoc::EsNumero(texto))
            return true;
        codigo = codigo_host::FormatoCuenta;
        break;
    case FormatoCasilla::Importe: {
        long long centimos = 0;
        if (LeerImporteEscrito(texto, centimos)) {
            control.SetWindowText(Centimos2Currency(centimos));
            return true;
        }
        codigo = codigo_host::FormatoImporte;
        break;
    }
    default:
        return true;
    }
    CListaErrores errores;
    errores.Add(stError(c, pagina::P1, codigo, "", ""));
    Explicar(TextoErrores(*GetDocument(), errores), MB_OK | MB_ICONINFORMATION);
    control.SetWindowText(Anterior(c));
    return false;
}

void MOD_P1VIEW::OnSetfocusLiquidacion(NMHDR* nm, LRESULT* resultado) {
    *resultado = 0;
    if (explicando_)
        return;
    const int c = CasillaDeControl(int(nm->idFrom));
    if (c >= 0)
        Entrar(c);
}

// The kind first, so that the box's own rule (a count of 0 cleared, the total) reads a value
// the box takes.
void MOD_P1VIEW::OnKillfocusLiquidacion(NMHDR* nm, LRESULT* resultado) {
    *resultado = 0;
    if (explicando_)
        return;
    const int c = CasillaDeControl(int(nm->idFrom));
    if (c < 0)
        return;
    if (!EsSoloLectura())
        AjustarAlFormato(c);
    casillaEnVisita_ = -1;
    if (c >= casilla::Cuota) {
        OnKillfocusCuota();
    } else if (c < casilla::Base) {
        SalirDeNumDoc(c - casilla::NumeroDocumentos);
        RevisarNumeroDocumentos();
    }
}

// ----- the accrual period -----------------------------------------------------------------------
//
// A half-typed month is left alone: "1" may become 12, and normalising it at once to 01 would
// make 01 the month a refusal of 13 puts back. The month is normalised, and the period
// checked, when the value is complete or the person leaves the box.

void MOD_P1VIEW::OnSetfocusMesDevengo() {
    if (explicando_)
        return;
    AfxServicios().VaciarPortapapeles();
    UpdateData(true);
    if (!Texto(casilla::MesDevengo).IsEmpty()) {
        Texto(casilla::MesDevengo) = Normalizado(Texto(casilla::MesDevengo));
        escribiendoPeriodo_ = true;
        UpdateData(false);
        escribiendoPeriodo_ = false;
    }
    Entrar(casilla::MesDevengo);
    mesAlEntrar_ = Texto(casilla::MesDevengo);
    anioAlEntrar_ = Texto(casilla::AnioDevengo);
    periodoComprobado_.Empty();
    ActivarDropListMeses(&DeCasilla(casilla::MesDevengo));
}

void MOD_P1VIEW::OnSetfocusAnioDevengo() {
    if (explicando_)
        return;
    UpdateData(true);
    Entrar(casilla::AnioDevengo);
    mesAlEntrar_ = Texto(casilla::MesDevengo);
    anioAlEntrar_ = Texto(casilla::AnioDevengo);
    periodoComprobado_.Empty();
}

// A change the person is not making (a month picked from the list, a rule) is complete as it
// comes. The page showing its values tells a stored period it refuses, and has nothing to put
// back.
void MOD_P1VIEW::OnChangeMesDevengo() {
    if (escribiendoPeriodo_)
        return;
    const CString mes = DeCasilla(casilla::MesDevengo).GetWindowText();
    if (casillaEnVisita_ < 0 && mes == Texto(casilla::MesDevengo)) {
        CListaErrores errores;
        if (!mes.IsEmpty() && !Texto(casilla::AnioDevengo).IsEmpty())
            static_cast<MOD_DOC*>(GetDocument())->ValidarFechaDevengo(errores);
        if (!errores.IsEmpty())
            Explicar(TextoErrores(*GetDocument(), errores), MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (EsSoloLectura())
        return;
    if (casillaEnVisita_ < 0) {
        mesAlEntrar_ = Texto(casilla::MesDevengo);
        anioAlEntrar_ = Texto(casilla::AnioDevengo);
        periodoComprobado_.Empty();
    } else if (casillaEnVisita_ == casilla::MesDevengo && !MesCompleto(mes)) {
        return;
    }
    if (mes != Anterior(casilla::MesDevengo))
        ComprobarPeriodo(casilla::MesDevengo);
}

void MOD_P1VIEW::OnKillfocusMesDevengo() {
    if (explicando_)
        return;
    if (!EsSoloLectura())
        ComprobarPeriodo(casilla::MesDevengo);
    casillaEnVisita_ = -1;
    if (formulario::kSalidaMesRecalcula && !Texto(casilla::MesDevengo).IsEmpty()) {
        CalcularTotalIngresar();
        SalvarDatos();
        CargarDatos();
        UpdateData(false);
    }
}

void MOD_P1VIEW::OnKillfocusAnioDevengo() {
    if (explicando_)
        return;
    if (!EsSoloLectura())
        ComprobarPeriodo(casilla::AnioDevengo);
    casillaEnVisita_ = -1;
}

// Half a period is checked for its own format only: a month that is no month, or a year that
// is not four digits, is refused at once, whatever the other half holds. The month cannot be
// emptied by typing: left empty, it gets back what it showed. Putting a value back writes the
// month, whose change handler stays out of it while this rule writes.
void MOD_P1VIEW::ComprobarPeriodo(int c) {
    const CString anterior = Anterior(c);
    UpdateData(true);
    CString& mes = Texto(casilla::MesDevengo);
    const CString& anio = Texto(casilla::AnioDevengo);
    if (c == casilla::MesDevengo)
        mes = mes.IsEmpty() ? anterior : Normalizado(mes);
    escribiendoPeriodo_ = true;
    UpdateData(false);
    escribiendoPeriodo_ = false;
    const CString periodo = mes + "/" + anio;
    if (periodo == periodoComprobado_ || (mes == mesAlEntrar_ && anio == anioAlEntrar_))
        return; // checked already, or nothing changed
    // The whole period is checked on the boxes, so the page is saved first, and again once a
    // refused value is put back.
    const bool completo = !mes.IsEmpty() && !anio.IsEmpty();
    CListaErrores errores;
    if (completo) {
        SalvarDatos();
        static_cast<MOD_DOC*>(GetDocument())->ValidarFechaDevengo(errores);
    } else if (!mes.IsEmpty() && MesNumero(mes) == "00") {
        errores.Add(stError(c, pagina::P1, codigo_host::MesDevengo, "", ""));
    } else if (!anio.IsEmpty() && (anio.GetLength() != 4 || !CGuiaDoc::EsNumero(anio))) {
        errores.Add(stError(c, pagina::P1, codigo_host::AnioDevengo, "", ""));
    }
    if (errores.IsEmpty()) {
        if (completo && !mesAlEntrar_.IsEmpty() && !anioAlEntrar_.IsEmpty())
            AvisarCuotasDelFichero();
        periodoComprobado_ = periodo;
        return;
    }
    Explicar(TextoErrores(*GetDocument(), errores), MB_OK | MB_ICONINFORMATION);
    escribiendoPeriodo_ = true;
    DeCasilla(c).SetWindowText(anterior);
    UpdateData(true);
    escribiendoPeriodo_ = false;
    if (completo)
        SalvarDatos();
    periodoComprobado_ = Texto(casilla::MesDevengo) + "/" + Texto(casilla::AnioDevengo);
}

void MOD_P1VIEW::AvisarCuotasDelFichero() {
    CGuiaDoc& doc = *GetDocument();
    if (doc.GetCasilla(casilla::NifDeclaranteFichero, pagina::P1).IsEmpty())
        return;
    bool algunaCuota = false;
    for (int i = 0; i < casilla::FilasLiquidacion; ++i)
        algunaCuota = algunaCuota || !Texto(casilla::Cuota + i).IsEmpty();
    if (!algunaCuota)
        return;
    CString mensaje = kCuotasDelFichero;
    mensaje.Replace("%1", Texto(casilla::MesDevengo) + "/" + Texto(casilla::AnioDevengo));
    Explicar(mensaje, MB_OK | MB_ICONWARNING);
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
    Explicar(TextoErrores(*GetDocument(), errores), MB_OK | MB_ICONINFORMATION);
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
    // The earlier declaration's presentation date belongs to a complementary or substitutive
    // declaration alone, and one already there is the real one: the first day of the accrual
    // month is only offered in its place when it is empty. The page is saved here, so that the
    // command line and the window store the same boxes.
    const bool correccion = DeCasilla<CButton>(casilla::Complementaria).GetCheck() == BST_CHECKED ||
                            DeCasilla<CButton>(casilla::Sustitutiva).GetCheck() == BST_CHECKED;
    if (tomado && correccion &&
        doc.GetCasilla(casilla::FechaPresentacionAnterior, pagina::P1).IsEmpty() &&
        !Texto(casilla::MesDevengo).IsEmpty() && !Texto(casilla::AnioDevengo).IsEmpty()) {
        Fecha(casilla::FechaPresentacionAnterior) =
            Str2Time("01/" + Texto(casilla::MesDevengo) + "/" + Texto(casilla::AnioDevengo));
        UpdateData(false);
        SalvarDatos();
    }
    return tomado ? ResultadoImportacion::Tomado : ResultadoImportacion::Rechazado;
}
