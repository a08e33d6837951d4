// The payload of the PDF417 code printed on page 1: the declaration in machine-readable form,
// field after field, in the host's delimiters.
#include "Modelo/base/Funciones.h"
#include "Modelo/codes/Codigos.h"
#include "Modelo/parties/Intervinientes.h"
#include "core/Casillas.h"
#include "core/ModDoc.h"

namespace {

// Only the page of this type has a payload of its own.
// What follows the prefix on a page that has a payload.
constexpr const char* kInicioDatos = "0";

// The earlier-declaration fields, with the fixed mark between the year and the number.
constexpr int kCasillasDeclaracionAnterior[] = {
    casilla::Complementaria,
    casilla::Sustitutiva,
    casilla::JustificanteAnterior,
    casilla::FechaPresentacionAnterior,
    casilla::AnioAnterior,
    casilla::MarcaT,
    casilla::NumeroPresentacionAnterior,
};
constexpr int kCasillasFirma[] = {casilla::LugarFirma, casilla::FirmaDia, casilla::FirmaMes,
                                  casilla::FirmaAnio};

// One party as the payload carries it, from the boxes of its group or from a party record.
struct Parte {
    CString nif, apellido1, apellido2, nombre;
    CString tipoVia, nombreVia, numero, escalera, piso, puerta, telefono;
    CString provincia, municipio, codigoPostal;
};

// A value field: the value as the filter leaves it, then the field separator.
void Campo(CString& codigo, const CString& valor) {
    codigo += CGuiaDoc::EliminarCaracteresEspeciales(valor);
    codigo += CGuiaDoc::kSeparadorCampo;
}

Parte ParteDeCasillas(const CGuiaDoc& doc, int primera, int pagina) {
    using namespace casilla::grupo;
    auto c = [&](int desplazamiento) { return doc.GetCasilla(primera + desplazamiento, pagina); };
    return {c(Nif),       c(Apellido1), c(Apellido2), c(Nombre),      c(TipoVia),
            c(NombreVia), c(Numero),    c(Escalera),  c(Piso),        c(Puerta),
            c(Telefono),  c(Provincia), c(Municipio), c(CodigoPostal)};
}

// The seventeen fields of a party. Each municipality is read against the municipalities of the
// province just translated, so the document's municipality table ends up holding those of the
// last party appended.
void AnadirParte(CGuiaDoc& doc, CString& codigo, const Parte& p) {
    Campo(codigo, p.nif);
    Campo(codigo, p.apellido1);
    Campo(codigo, p.apellido2);
    Campo(codigo, p.nombre);
    Campo(codigo, p.tipoVia);
    Campo(codigo, TraducirCodigo(p.tipoVia, doc.CodTiposVia, doc.TxtTiposVia));
    Campo(codigo, p.nombreVia);
    Campo(codigo, p.numero);
    Campo(codigo, p.escalera);
    Campo(codigo, p.piso);
    Campo(codigo, p.puerta);
    Campo(codigo, p.telefono);
    Campo(codigo, p.provincia);
    const CString provincia = TraducirCodigo(p.provincia, doc.CodProvincias, doc.TxtProvincias);
    Campo(codigo, provincia);
    Campo(codigo, p.municipio);
    doc.IniMunicipios(provincia, false);
    Campo(codigo, TraducirCodigo(p.municipio, doc.CodMunicipios, doc.TxtMunicipios));
    Campo(codigo, p.codigoPostal);
}

// The presenter's name comes from the store when the presenter is a natural person (its three
// parts), and from the box otherwise; the address always comes from the store. A presenter the
// store lacks has an empty record: its fields are empty, never another party's.
Parte Presentador(const CGuiaDoc& doc, int pagina) {
    Parte p;
    p.nif = doc.GetCasilla(casilla::PresentadorNif, pagina);
    CMtoIntervDlg dialogo(doc.GetCodModelo(), doc.GetCodDeclar(), COleDateTime::GetCurrentTime());
    dialogo.LocalizarIntervinienteDecl(p.nif, doc.GetCasilla(casilla::PresentadorNombre, pagina));
    const stInterviniente& r = dialogo.Actual();
    if (Tratar_como_NIF(p.nif))
        ExtraerCadBD(r.Nombre, p.apellido1, p.apellido2, p.nombre);
    else
        p.apellido1 = doc.GetCasilla(casilla::PresentadorNombre, pagina);
    p.tipoVia = r.TipoVia;
    p.nombreVia = r.NombreVia;
    p.numero = r.Numero;
    p.escalera = r.Escalera;
    p.piso = r.Piso;
    p.puerta = r.Puerta;
    p.telefono = r.Telefono;
    p.provincia = r.Provincia;
    p.municipio = r.Municipio;
    p.codigoPostal = r.CodigoPostal;
    return p;
}

} // namespace

CString MOD_DOC::GenerarCodigoPDF417(int pagina) {
    CString codigo = CGuiaDoc::GenerarCodigoPDF417();
    if (GetPagina(pagina).Tipo != pagina::kTipo1)
        return codigo;
    codigo += kInicioDatos;
    codigo += kSeparadorCampo;

    // Box P1-0 is the declaration's, whatever page is coded.
    const CString codigoP0 = GetCasilla(casilla::CodigoP0, pagina::P1);
    Campo(codigo, codigoP0);
    Campo(codigo, TraducirCodigo(codigoP0, CodCasilla0, TxtCasilla0));
    Campo(codigo, GetCasilla(casilla::MesDevengo, pagina));
    const CString anio = GetCasilla(casilla::AnioDevengo, pagina);
    Campo(codigo, anio);
    // The host loads the bracket concepts of the year before the payload is built; the payload
    // itself reads nothing back from them.
    CStringArray textos, codigos;
    InicializarDatosTramos(anio, textos, codigos);

    GenerarCodigoPDF417IntervPag(codigo, pagina);
    // An ordinary declaration refers to no earlier one: whatever its boxes of the earlier
    // declaration hold (a value written by a script), a reader must not take it for a
    // correction. The fields stay, empty, so that every later field keeps its place.
    const bool correccion = GetCasilla(casilla::Complementaria, pagina) == valor::kMarcado ||
                            GetCasilla(casilla::Sustitutiva, pagina) == valor::kMarcado;
    for (int c : kCasillasDeclaracionAnterior)
        Campo(codigo, correccion || c == casilla::MarcaT ? GetCasilla(c, pagina) : CString());

    // A row without a number of documents leaves its separator only, so a reader still knows
    // which kind of document each row is.
    codigo += kAperturaTabla;
    for (int fila = 0; fila < casilla::FilasLiquidacion; ++fila) {
        const CString numero = GetCasilla(casilla::NumeroDocumentos + fila, pagina);
        if (!numero.IsEmpty()) {
            Campo(codigo, numero);
            Campo(codigo, GetCasilla(casilla::Base + fila, pagina));
            codigo += EliminarCaracteresEspeciales(GetCasilla(casilla::Cuota + fila, pagina));
        }
        codigo += fila + 1 < casilla::FilasLiquidacion ? kSeparadorFila : kCierreTabla;
    }
    Campo(codigo, GetCasilla(casilla::TotalIngresar, pagina));

    if (!GetCasilla(casilla::PresentadorNif, pagina).IsEmpty())
        AnadirParte(*this, codigo, Presentador(*this, pagina));
    for (int c : kCasillasFirma)
        Campo(codigo, GetCasilla(c, pagina));
    codigo += kFinCodigo;
    return codigo;
}

// The representative goes with the taxpayer: both or neither, even when all of the
// representative's boxes are empty.
void MOD_DOC::GenerarCodigoPDF417IntervPag(CString& codigo, int pagina) {
    if (GetCasilla(casilla::SujetoPasivo + casilla::grupo::Nif, pagina).IsEmpty())
        return;
    AnadirParte(*this, codigo, ParteDeCasillas(*this, casilla::SujetoPasivo, pagina));
    AnadirParte(*this, codigo, ParteDeCasillas(*this, casilla::Representante, pagina));
}
