// The form's operations that the host program reaches through its table of operations: the
// scriptable face of what the page views call directly (the quota of an amount, the brackets,
// the refill of the parties, the import of page 1).
#include "Casillas.h"
#include "Formulario.h"
#include "ModDoc.h"
#include "Modelo/base/Funciones.h"
#include "Modelo/windows/OperacionesFormulario.h"
#include "views/P1View.h"

#include <charconv>
#include <stdexcept>

namespace {

// The host finds the plug-in by the document's own model code, so a document of another form
// here is a fault of the caller, not something a person did.
MOD_DOC& Documento(CGuiaDoc& doc) {
    auto* mod = dynamic_cast<MOD_DOC*>(&doc);
    if (!mod)
        throw std::invalid_argument("El documento no es del formulario " +
                                    std::string(formulario::kCodigo));
    return *mod;
}

// The day as the tariff's queries read it: day first, four-digit year.
CString DiaPrimero(const COleDateTime& fecha) {
    return fecha.Format("%d/%m/%Y");
}

double Cuota(CGuiaDoc& doc, double importe, const COleDateTime& fecha) {
    return Documento(doc).GetCuota(importe, DiaPrimero(fecha));
}

bool Tramos(CGuiaDoc& doc, const COleDateTime& fecha, CStringArray& limites) {
    return Documento(doc).GetInformacionTramos(DiaPrimero(fecha), limites);
}

void Intervinientes(CGuiaDoc& doc) {
    Documento(doc).InicializarDatosIntervinientes();
}

// A box that holds anything but a whole number of at most `digitos` digits counts as empty:
// the period is only a summary for the list of declarations, the box keeps what was written.
int Numero(const CString& texto, int digitos) {
    const std::string_view t = texto.view();
    int n = 0;
    const auto [fin, ec] = std::from_chars(t.data(), t.data() + t.size(), n);
    if (t.empty() || t.size() > size_t(digitos) || ec != std::errc() || fin != t.data() + t.size())
        return 0;
    return n;
}

PeriodoDevengo Periodo(CGuiaDoc& doc) {
    MOD_DOC& mod = Documento(doc);
    PeriodoDevengo p;
    p.mes = Numero(mod.GetCasilla(casilla::MesDevengo, pagina::P1), 2);
    p.anio = Numero(mod.GetCasilla(casilla::AnioDevengo, pagina::P1), formato::LongitudAnio);
    if (p.mes > 12)
        p.mes = 0;
    return p;
}

void Corregir(CGuiaDoc& doc, const DeclaracionAnterior& a) {
    using namespace casilla;
    MOD_DOC& mod = Documento(doc);
    const bool complementaria = a.tipo == TipoCorreccion::Complementaria;
    mod.SetCasilla(Complementaria, pagina::P1, complementaria ? valor::kMarcado : "");
    mod.SetCasilla(Sustitutiva, pagina::P1, complementaria ? "" : valor::kMarcado);
    mod.SetCasilla(JustificanteAnterior, pagina::P1, a.justificante);
    mod.SetCasilla(FechaPresentacionAnterior, pagina::P1,
                   a.presentacion.GetStatus() == COleDateTime::valid ? DiaPrimero(a.presentacion)
                                                                     : CString());
    mod.SetCasilla(AnioAnterior, pagina::P1,
                   a.anio > 0 ? CString::Formatted("%d", a.anio) : CString());
    mod.SetCasilla(NumeroPresentacionAnterior, pagina::P1,
                   Padding(a.numeroPresentacion, formato::LongitudNumeroPresentacion));
}

ResultadoImportacion Importar(CGuiaView& vista) {
    auto* pagina1 = dynamic_cast<MOD_P1VIEW*>(&vista);
    if (!pagina1)
        throw std::invalid_argument("El fichero de datos se importa desde la página 1");
    return pagina1->OnBtnImportFichero();
}

constexpr OperacionesFormulario kOperaciones = {
    .version = kVersionOperaciones,
    .tamano = sizeof(OperacionesFormulario),
    .sujeto = {.nif = casilla::SujetoPasivo + casilla::grupo::Nif,
               .nombre = {casilla::SujetoPasivo + casilla::grupo::Apellido1,
                          casilla::SujetoPasivo + casilla::grupo::Apellido2,
                          casilla::SujetoPasivo + casilla::grupo::Nombre}},
    .cuota = Cuota,
    .tramos = Tramos,
    .intervinientes = Intervinientes,
    .periodo = Periodo,
    .corregir = Corregir,
    // Forms whose page 1 offers no import do not offer it here either.
    .importar = formulario::kImportacionDesdePagina1 ? Importar : nullptr,
};

} // namespace

MODELO_PLUGIN_EXPORT const OperacionesFormulario* DllOperaciones() {
    return &kOperaciones;
}
