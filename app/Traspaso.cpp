#include "Traspaso.h"

#include "CasosDeUso.h"
#include "Modelo/base/Funciones.h"

#include <cstdlib>

namespace casos {

namespace {

bool PeriodoValido(const CString& mes, const CString& anio) {
    const int m = std::atoi(mes);
    return mes.GetLength() == 2 && m >= 1 && m <= 12 && anio.GetLength() == 4 &&
           std::atoi(anio) > 0;
}

// The free party of the store with that number, lowest order number first; "" for none.
CString ParteLibre(CBaseDatos& db, const CString& nif) {
    return db.Valor("SELECT NUMORDEN FROM PAINTERVIN WHERE CDDECLAR IS NULL AND CDROL IS NULL "
                    "AND DENIF = ? ORDER BY NUMORDEN LIMIT 1",
                    {nif});
}

// The taxpayer's boxes as the origin's form keeps them, written where the new one's form
// keeps them: the two forms of a carry-over need not be the same.
void CopiarSujeto(CHost& host, CGuiaDoc& doc, const CString& origen, const CString& modelo) {
    const CargadorPlugins::Plugin* de = host.Plugins().Buscar(modelo.Left(3));
    const CargadorPlugins::Plugin* a = host.Plugins().Buscar(doc.GetCodModelo().Left(3));
    if (!de || !a)
        return;
    const CasillasSujeto& cd = de->operaciones->sujeto;
    const CasillasSujeto& ca = a->operaciones->sujeto;
    const std::map<int, CString> v =
        host.Almacen().CasillasP1(origen, {cd.nif, cd.nombre[0], cd.nombre[1], cd.nombre[2]});
    doc.SetCasilla(ca.nif, 0, v.at(cd.nif));
    for (int i = 0; i < 3; ++i)
        doc.SetCasilla(ca.nombre[i], 0, v.at(cd.nombre[i]));
}

} // namespace

void PeriodoSiguiente(CString& mes, CString& anio) {
    int m = std::atoi(mes) + 1;
    int a = std::atoi(anio);
    if (m > 12) {
        m = 1;
        ++a;
    }
    mes = CString::Formatted("%02d", m);
    anio = CString::Formatted("%04d", a);
}

void LlevarIntervinientes(CHost& host, CGuiaDoc& doc, const CString& origen) {
    CBaseDatos& db = host.BaseDatos();
    const CString destino = doc.GetCodDeclar();
    // A role the origin fills replaces the default the new declaration got (its presenter).
    db.Ejecutar("DELETE FROM PAINTERVIN WHERE CDDECLAR = ? AND CDROL IN "
                "(SELECT CDROL FROM PAINTERVIN WHERE CDDECLAR = ?)",
                {destino, origen});
    db.Ejecutar("INSERT INTO PAINTERVIN (CDDECLAR, CDROL, DENIF, DENOMBRE, CDPROVIN, CDMUNICI, "
                "CDTIPVIA, DENOMVIA, NUMVIA, ESCALERA, PISO, PUERTA, CODPOSTAL, TELEFONO) "
                "SELECT ?, CDROL, DENIF, DENOMBRE, CDPROVIN, CDMUNICI, CDTIPVIA, DENOMVIA, "
                "NUMVIA, ESCALERA, PISO, PUERTA, CODPOSTAL, TELEFONO FROM PAINTERVIN "
                "WHERE CDDECLAR = ? ORDER BY NUMORDEN",
                {destino, origen});
    host.RellenarIntervinientes(doc);

    const CAlmacenDeclaraciones::Resumen previa = host.Buscar(origen);
    const CHost::Sujeto sujeto = host.SujetoDe(origen, previa.modelo);
    // The boxes just filled are the document's, not yet in the store.
    const CargadorPlugins::Plugin* propio = host.Plugins().Buscar(doc.GetCodModelo().Left(3));
    const bool tieneSujeto =
        propio && !doc.GetCasilla(propio->operaciones->sujeto.nif, 0).IsEmpty();
    if (tieneSujeto || sujeto.nif.IsEmpty())
        return;
    if (const CString libre = ParteLibre(db, sujeto.nif); !libre.IsEmpty()) {
        VincularInterviniente(host, destino, rol::SujetoPasivo, libre);
        host.RellenarIntervinientes(doc);
    } else {
        CopiarSujeto(host, doc, origen, previa.modelo);
    }
}

std::unique_ptr<CGuiaDoc> NuevaComo(CHost& host, const CString& formulario, const CString& origen,
                                    CString mes, CString anio) {
    CBaseDatos::Transaccion t(host.BaseDatos());
    const CAlmacenDeclaraciones::Resumen previa = host.Buscar(origen);
    if (mes.IsEmpty() || anio.IsEmpty()) {
        if (!PeriodoValido(previa.mes, previa.anio))
            throw ErrorUsuario("La declaración " + origen +
                               " no tiene periodo de devengo del que seguir: indique el mes y "
                               "el año de la nueva");
        CString mesSiguiente = previa.mes, anioSiguiente = previa.anio;
        PeriodoSiguiente(mesSiguiente, anioSiguiente);
        if (mes.IsEmpty())
            mes = mesSiguiente;
        if (anio.IsEmpty())
            anio = anioSiguiente;
    }
    auto doc = host.Nueva(formulario, mes, anio);
    LlevarIntervinientes(host, *doc, origen);
    host.Guardar(*doc);
    t.Confirmar();
    return doc;
}

} // namespace casos
