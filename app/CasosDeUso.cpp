#include "CasosDeUso.h"

#include "Modelo/base/Funciones.h"
#include "Modelo/parties/MantenimientoIntervinientes.h"
#include "Traspaso.h"

namespace casos {

namespace {

[[noreturn]] void RechazarBorradoDeDefinitiva(const CString& codigo) {
    throw ErrorUsuario("La declaración " + codigo +
                       " es definitiva y no se puede borrar; se corrige con una complementaria "
                       "o una sustitutiva");
}

// A draft as the store holds it now, read inside the caller's transaction.
void ExigirBorrador(CHost& host, const CString& codigo) {
    CHost::ExigirBorrador(host.Buscar(codigo));
}

// The store's refusals are the person's: one line, nothing changed.
template <class Cambio> auto EnAlmacen(CHost& host, Cambio cambio) {
    try {
        CMantenimientoIntervinientes m(host.BaseDatos());
        return cambio(m);
    } catch (const CExcepcionInterviniente& e) {
        throw ErrorUsuario(e.what());
    }
}

} // namespace

std::vector<Declaracion> Declaraciones(CHost& host, const CString& formulario, const CString& anio,
                                       const CString& nif) {
    CBaseDatos::Transaccion t(host.BaseDatos(), CBaseDatos::Transaccion::Lectura);
    std::vector<Declaracion> lista;
    std::map<CString, std::map<CString, CHost::Sujeto>> sujetos; // by model code, then code
    for (auto& r : host.Almacen().Listar(formulario, anio)) {
        auto modelo = sujetos.find(r.modelo);
        if (modelo == sujetos.end())
            modelo = sujetos.emplace(r.modelo, host.SujetosDelModelo(r.modelo)).first;
        const auto hallado = modelo->second.find(r.codigo);
        CHost::Sujeto sujeto = hallado == modelo->second.end() ? CHost::Sujeto{} : hallado->second;
        if (nif.IsEmpty() || sujeto.nif == nif)
            lista.push_back({std::move(r), std::move(sujeto)});
    }
    t.Confirmar();
    return lista;
}

std::unique_ptr<CGuiaDoc> NuevaCorrectora(CHost& host, const CString& formulario,
                                          const CString& anterior, bool complementaria, CString mes,
                                          CString anio) {
    // The earlier declaration is read in the transaction that creates the new one.
    CBaseDatos::Transaccion t(host.BaseDatos());
    const CAlmacenDeclaraciones::Resumen previa = host.Buscar(anterior);
    if (previa.modelo.Left(3) != formulario)
        throw ErrorUsuario("La declaración " + anterior + " es del modelo " + previa.modelo +
                           "; la nueva tiene que ser del mismo formulario");
    if (previa.estado != estado::Definitiva)
        throw ErrorUsuario("La declaración " + anterior +
                           " sigue en borrador: se corrige modificándola, sin complementaria "
                           "ni sustitutiva");
    if (mes.IsEmpty() && anio.IsEmpty()) {
        mes = previa.mes;
        anio = previa.anio;
    }
    auto doc = host.Nueva(formulario, mes, anio);
    // The same taxpayer corrects what it filed: a search by client finds the correction too.
    LlevarIntervinientes(host, *doc, anterior);
    host.Corregir(*doc, CHost::Anterior(previa, complementaria ? TipoCorreccion::Complementaria
                                                               : TipoCorreccion::Sustitutiva));
    host.Guardar(*doc);
    t.Confirmar();
    return doc;
}

CambioDeBorrador::CambioDeBorrador(CHost& host, const CString& codigo)
    : host_(host), t_(host.BaseDatos()), doc_(host.Abrir(codigo)) {
    CHost::ExigirBorrador(*doc_);
}

void CambioDeBorrador::Guardar() {
    host_.Guardar(*doc_);
    t_.Confirmar();
}

CListaErrores Validar(CGuiaDoc& doc) {
    CListaErrores hallazgos;
    doc.Validar(hallazgos);
    doc.ObtenerDetallesListaErrores(hallazgos);
    return hallazgos;
}

namespace {
// Whether the document may still be saved over the stored declaration: a draft, and nobody
// saved it since the document read it (that save would be undone). The caller holds the
// write transaction; false after telling the person.
bool Vigente(CHost& host, CGuiaDoc& doc) {
    CHost::ExigirBorrador(doc);
    if (doc.CambioTimeStamp()) {
        doc.ErrorTimeStamp();
        return false;
    }
    // The store's own state, not the document's: another program may have finalized it.
    ExigirBorrador(host, doc.GetCodDeclar());
    return true;
}
} // namespace

bool Guardar(CHost& host, CGuiaDoc& doc) {
    CBaseDatos::Transaccion t(host.BaseDatos());
    if (!Vigente(host, doc))
        return false;
    host.Guardar(doc);
    t.Confirmar();
    return true;
}

bool Finalizar(CHost& host, CGuiaDoc& doc, CListaErrores& hallazgos) {
    hallazgos.RemoveAll();
    CBaseDatos::Transaccion t(host.BaseDatos());
    if (!Vigente(host, doc))
        return false;
    // Unchanged, it is what is stored: a save would only move its stamp and make an open
    // window believe another program changed it.
    if (doc.IsModified())
        host.Guardar(doc);
    hallazgos = Validar(doc);
    if (hallazgos.IsEmpty()) {
        host.Almacen().CambiarEstado(doc.GetCodDeclar(), estado::Definitiva);
        doc.SetEstado(estado::Definitiva);
        doc.SetPermiteCambios(false);
        doc.SetModoEdicion(false);
    }
    t.Confirmar();
    return hallazgos.IsEmpty();
}

bool BorrarBorrador(CHost& host, const CString& codigo, const std::function<bool()>& confirmar) {
    if (host.Buscar(codigo).estado != estado::Borrador)
        RechazarBorradoDeDefinitiva(codigo);
    if (confirmar && !confirmar())
        return false;
    CBaseDatos::Transaccion t(host.BaseDatos());
    switch (host.Almacen().Borrar(codigo)) {
    case CAlmacenDeclaraciones::Borrado::Hecho:
        break;
    case CAlmacenDeclaraciones::Borrado::NoExiste:
        host.Buscar(codigo); // deleted meanwhile by another program: refused as unknown
        break;
    case CAlmacenDeclaraciones::Borrado::Definitiva:
        RechazarBorradoDeDefinitiva(codigo); // finalized meanwhile
    }
    t.Confirmar();
    return true;
}

void VincularInterviniente(CHost& host, const CString& codigo, const CString& rol,
                           const CString& numOrden) {
    CBaseDatos::Transaccion t(host.BaseDatos());
    ExigirBorrador(host, codigo);
    EnAlmacen(host, [&](CMantenimientoIntervinientes& m) { m.Vincular(codigo, rol, numOrden); });
    t.Confirmar();
}

bool DesvincularInterviniente(CHost& host, const CString& codigo, const CString& rol) {
    CBaseDatos::Transaccion t(host.BaseDatos());
    ExigirBorrador(host, codigo);
    const bool habia = EnAlmacen(
        host, [&](CMantenimientoIntervinientes& m) { return m.Desvincular(codigo, rol); });
    t.Confirmar();
    return habia;
}

void CambiarIntervinientes(CHost& host, const CString& codigo,
                           const std::function<void()>& cambio) {
    CambioDeBorrador borrador(host, codigo);
    if (cambio)
        cambio();
    host.RellenarIntervinientes(borrador.Doc());
    borrador.Guardar();
}

std::vector<stInterviniente> Intervinientes(CHost& host) {
    // The store's maintenance knows the free parties and those of one declaration; a listing
    // of the whole table also shows a copy whose declaration is gone.
    std::vector<stInterviniente> lista;
    host.BaseDatos().Consultar(
        "SELECT NUMORDEN, DENIF, DENOMBRE, ifnull(CDDECLAR, ''), ifnull(CDROL, '') "
        "FROM PAINTERVIN ORDER BY NUMORDEN",
        {}, [&](const FilaSql& f) {
            stInterviniente p;
            p.NumOrden = f.Texto(0);
            p.Nif = f.Texto(1);
            p.Nombre = f.Texto(2);
            p.CodDeclar = f.Texto(3);
            p.Rol = f.Texto(4);
            lista.push_back(std::move(p));
        });
    return lista;
}

stInterviniente IntervinienteLibre(CHost& host, const CString& numOrden) {
    for (stInterviniente& p :
         EnAlmacen(host, [](CMantenimientoIntervinientes& m) { return m.Libres(); }))
        if (p.NumOrden == numOrden)
            return p;
    throw ErrorUsuario("No existe en el almacén el interviniente " + CitaBreve(numOrden));
}

void CorregirInterviniente(CHost& host, const CString& numOrden, const stInterviniente& p) {
    CBaseDatos::Transaccion t(host.BaseDatos());
    EnAlmacen(host, [&](CMantenimientoIntervinientes& m) { m.Editar(numOrden, p); });
    t.Confirmar();
}

void QuitarInterviniente(CHost& host, const CString& numOrden) {
    CBaseDatos::Transaccion t(host.BaseDatos());
    EnAlmacen(host, [&](CMantenimientoIntervinientes& m) { m.Quitar(numOrden); });
    t.Confirmar();
}

bool FijarPresentador(CHost& host, const CString& nif, const CString& nombre) {
    CBaseDatos::Transaccion t(host.BaseDatos());
    CString guardado;
    for (const stInterviniente& p :
         EnAlmacen(host, [](CMantenimientoIntervinientes& m) { return m.Libres(); }))
        if (guardado.IsEmpty() && p.Rol.IsEmpty() && p.Nif == nif &&
            (p.Nombre == nombre || QuitarSep(p.Nombre) == nombre))
            guardado = p.Nombre;
    const bool hay = !guardado.IsEmpty();
    AfxFijarAjuste("presentador_nif", nif);
    AfxFijarAjuste("presentador_nombre", hay ? guardado : nombre);
    t.Confirmar();
    return hay;
}

CString AnadirInterviniente(CHost& host, const stInterviniente& p, const CString& codigo,
                            const CString& rol) {
    if (codigo.IsEmpty() != rol.IsEmpty())
        throw ErrorUsuario("Un interviniente se vincula a una declaración en un papel: faltan "
                           "la declaración o el papel");
    CBaseDatos::Transaccion t(host.BaseDatos());
    if (!codigo.IsEmpty())
        ExigirBorrador(host, codigo);
    const CString numero = EnAlmacen(host, [&](CMantenimientoIntervinientes& m) {
        return codigo.IsEmpty() ? m.Anadir(p) : m.AnadirVinculado(codigo, rol, p);
    });
    t.Confirmar();
    return numero;
}

std::vector<FilaTarifa> TarifaEnVigor(CHost& host, const CGuiaDoc& doc, const CString& fecha) {
    std::vector<FilaTarifa> filas;
    host.BaseDatos().Consultar(
        "SELECT CDTARIFA, NUMORDEN, RANGOINI, RANGOFIN, PORCENTJ, VIMPORTE, FECDESDE, FECHASTA "
        "FROM PATARIFA WHERE CDMODELO = ? AND ? BETWEEN FECDESDE AND FECHASTA "
        "ORDER BY CDTARIFA, NUMORDEN",
        {doc.GetCodModelo(), Str2Time(fecha).Format("%Y-%m-%d")}, [&](const FilaSql& f) {
            filas.push_back({f.Texto(0), f.Texto(1), f.Texto(2), f.Texto(3), f.Texto(4), f.Texto(5),
                             f.Texto(6), f.Texto(7)});
        });
    return filas;
}

} // namespace casos
