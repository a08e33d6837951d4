#include "CasosDeUso.h"

#include "Modelo/Funciones.h"
#include "Modelo/MantenimientoIntervinientes.h"

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

} // namespace casos
