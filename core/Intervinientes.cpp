// Parties of the declaration, the defaults of a new one, and page 2 as the copy of page 1.
#include "Modelo/parties/Intervinientes.h"
#include "Casillas.h"
#include "ModDoc.h"
#include "Modelo/base/Funciones.h"
#include "Sql.h"
#include "TablaCasillas.h"

#include <memory>

namespace {

constexpr const char* kConsultaIntervinientes = "SELECT * FROM PAINTERVIN ";
constexpr const char* kLugarFirma = "VELDAR a";
constexpr const char* kMarcaT = "T";

void RellenarGrupo(CGuiaDoc& doc, int b, const stInterviniente& p) {
    using namespace casilla::grupo;
    doc.SetCasilla(b + Nif, pagina::P1, p.Nif);
    if (Tratar_como_NIF(p.Nif)) {
        CString a1, a2, n;
        ExtraerCadBD(p.Nombre, a1, a2, n);
        doc.SetCasilla(b + Apellido1, pagina::P1, a1);
        doc.SetCasilla(b + Apellido2, pagina::P1, a2);
        doc.SetCasilla(b + Nombre, pagina::P1, n);
    } else {
        doc.SetCasilla(b + Apellido1, pagina::P1, p.Nombre);
    }
    doc.SetCasilla(b + Provincia, pagina::P1, p.Provincia);
    doc.SetCasilla(b + Municipio, pagina::P1, p.Municipio);
    doc.SetCasilla(b + TipoVia, pagina::P1, p.TipoVia);
    doc.SetCasilla(b + NombreVia, pagina::P1, p.NombreVia);
    doc.SetCasilla(b + Numero, pagina::P1, p.Numero);
    doc.SetCasilla(b + Escalera, pagina::P1, p.Escalera);
    doc.SetCasilla(b + Piso, pagina::P1, p.Piso);
    doc.SetCasilla(b + Puerta, pagina::P1, p.Puerta);
    doc.SetCasilla(b + CodigoPostal, pagina::P1, p.CodigoPostal);
    doc.SetCasilla(b + Telefono, pagina::P1, p.Telefono);
}

void RellenarPresentador(CGuiaDoc& doc, const stInterviniente& p) {
    doc.SetCasilla(casilla::PresentadorNif, pagina::P1, p.Nif);
    doc.SetCasilla(casilla::PresentadorNombre, pagina::P1, QuitarSep(p.Nombre));
    doc.SetCasilla(casilla::PresentadorTelefono, pagina::P1, p.Telefono);
}

} // namespace

void MOD_DOC::LimpiarDatosIntervinientes() {
    for (int grupo : {casilla::SujetoPasivo, casilla::Representante})
        for (int i = 0; i < casilla::grupo::Tamano; ++i)
            SetCasilla(grupo + i, pagina::P1, "");
    for (int c = casilla::PresentadorNif; c <= casilla::PresentadorTelefono; ++c)
        SetCasilla(c, pagina::P1, "");
}

void MOD_DOC::InicializarDatosIntervinientes() {
    auto registro = std::make_unique<CIntervSet>(CBaseDatos::Actual());
    try {
        LimpiarDatosIntervinientes();
        registro->Open(CIntervSet::dynaset, kConsultaIntervinientes, 0);
        for (const char* papel : {rol::SujetoPasivo, rol::Representante, rol::Presentador}) {
            registro->m_strFilter =
                "CDDECLAR = '" + LiteralSql(GetCodDeclar()) + "' " + "AND CDROL = '" + papel + "'";
            registro->m_strSort = "";
            registro->Requery();
            if (registro->IsEOF())
                continue;
            const stInterviniente& p = registro->Actual();
            if (papel == rol::SujetoPasivo)
                RellenarGrupo(*this, casilla::SujetoPasivo, p);
            else if (papel == rol::Representante)
                RellenarGrupo(*this, casilla::Representante, p);
            else
                RellenarPresentador(*this, p);
        }
        registro->Close();
    } catch (const CExcepcionBD& e) {
        CExcepcionDao(e).Traducir(true);
    }
}

bool MOD_DOC::NuevosDatos(CString codDeclar, CString mes, CString anio, CString) {
    if (!CGuiaDoc::NuevosDatos("", "", "", ""))
        return false;
    SetCasilla(casilla::CodigoP0, pagina::P1, CodigoPorDefecto);
    SetCasilla(casilla::MesDevengo, pagina::P1, mes);
    SetCasilla(casilla::AnioDevengo, pagina::P1, anio);
    InicializarFecha(casilla::FirmaDia, casilla::FirmaMes, casilla::FirmaAnio, pagina::P1);
    SetCasilla(casilla::LugarFirma, pagina::P1, kLugarFirma);
    SetCasilla(casilla::MarcaT, pagina::P1, kMarcaT);
    if (codDeclar.IsEmpty() && mes.IsEmpty() && anio.IsEmpty())
        return true;

    CString nif, nombre;
    VerPresentadorPorDefecto(nif, nombre);
    if (nif.IsEmpty() || nombre.IsEmpty())
        return true;
    auto registro = std::make_unique<CIntervSet>(CBaseDatos::Actual());
    try {
        registro->Open(CIntervSet::dynaset, kConsultaIntervinientes, 0);
        registro->m_strFilter = CString(" CDDECLAR IS NULL ") + " AND CDROL IS NULL " +
                                " AND DENIF = '" + LiteralSql(nif) + "' " + " AND DENOMBRE = '" +
                                LiteralSql(nombre) + "' ";
        registro->m_strSort = " NUMORDEN ASC";
        registro->Requery();
        if (!registro->IsEOF()) {
            RellenarPresentador(*this, registro->Actual());
            MeterPresentadorPorDefecto(GetCodDeclar(), rol::Presentador, *registro);
        }
    } catch (const CExcepcionBD& e) {
        CExcepcionDao(e).Traducir(true);
    }
    return true;
}

bool MOD_DOC::ReplicarDatos() {
    if (!CGuiaDoc::ReplicarDatos())
        return false;
    const stPagina origen = GetPagina(pagina::P1);
    stPagina destino = GetPagina(pagina::P2);
    for (int c : casilla::kReplicadas)
        ReplicarCasilla(origen, destino, c);
    SetPagina(pagina::P2, destino);
    return true;
}
