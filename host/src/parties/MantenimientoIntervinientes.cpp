#include "Modelo/parties/MantenimientoIntervinientes.h"

#include "Modelo/base/Funciones.h"
#include "parties/Vinculos.h"

namespace {

constexpr const char* kColumnas =
    "NUMORDEN, ifnull(CDDECLAR, ''), ifnull(CDROL, ''), DENIF, DENOMBRE, CDPROVIN, CDMUNICI, "
    "CDTIPVIA, DENOMVIA, NUMVIA, ESCALERA, PISO, PUERTA, CODPOSTAL, TELEFONO";

stInterviniente Leer(const FilaSql& f) {
    stInterviniente p;
    CString* campos[] = {&p.NumOrden,  &p.CodDeclar, &p.Rol,     &p.Nif,          &p.Nombre,
                         &p.Provincia, &p.Municipio, &p.TipoVia, &p.NombreVia,    &p.Numero,
                         &p.Escalera,  &p.Piso,      &p.Puerta,  &p.CodigoPostal, &p.Telefono};
    for (int i = 0; i < int(std::size(campos)); ++i)
        *campos[i] = f.Texto(i);
    return p;
}

std::vector<ValorSql> Valores(const stInterviniente& p) {
    return {p.Nif,    p.Nombre,   p.Provincia, p.Municipio, p.TipoVia,      p.NombreVia,
            p.Numero, p.Escalera, p.Piso,      p.Puerta,    p.CodigoPostal, p.Telefono};
}

// The fields a person may fill, with the name a message gives them.
struct Campo {
    const char* nombre;
    CString stInterviniente::*campo;
};
constexpr Campo kCampos[] = {
    {"NIF", &stInterviniente::Nif},
    {"nombre", &stInterviniente::Nombre},
    {"provincia", &stInterviniente::Provincia},
    {"municipio", &stInterviniente::Municipio},
    {"tipo de vía", &stInterviniente::TipoVia},
    {"vía", &stInterviniente::NombreVia},
    {"número", &stInterviniente::Numero},
    {"escalera", &stInterviniente::Escalera},
    {"piso", &stInterviniente::Piso},
    {"puerta", &stInterviniente::Puerta},
    {"código postal", &stInterviniente::CodigoPostal},
    {"teléfono", &stInterviniente::Telefono},
};

} // namespace

void VincularCopia(CBaseDatos& db, const CString& codDeclar, const CString& r,
                   const stInterviniente& p) {
    db.Ejecutar("DELETE FROM PAINTERVIN WHERE CDDECLAR = ? AND CDROL = ?", {codDeclar, r});
    std::vector<ValorSql> v{codDeclar, r};
    for (ValorSql& x : Valores(p))
        v.push_back(std::move(x));
    db.Ejecutar("INSERT INTO PAINTERVIN (CDDECLAR, CDROL, DENIF, DENOMBRE, CDPROVIN, CDMUNICI, "
                "CDTIPVIA, DENOMVIA, NUMVIA, ESCALERA, PISO, PUERTA, CODPOSTAL, TELEFONO) "
                "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                v);
}

bool CMantenimientoIntervinientes::EsRol(const CString& r) {
    return r == rol::SujetoPasivo || r == rol::Representante || r == rol::Presentador;
}

namespace {
void ExigirRol(const CString& r) {
    if (!CMantenimientoIntervinientes::EsRol(r))
        throw CExcepcionInterviniente("Papel desconocido: " + CitaBreve(r) +
                                      " (Sujeto Pasivo, Representante o Presentador)");
}
} // namespace

// A control character would travel unseen into the boxes and the printed code; the name
// separator inside a part would split the name into the wrong parts when it is read back.
CString CMantenimientoIntervinientes::Comprobar(const stInterviniente& p) {
    for (const Campo& c : kCampos) {
        for (char ch : (p.*c.campo).view())
            if (texto::EsControl(ch))
                return CString("El campo ") + c.nombre + " lleva caracteres de control";
        if (c.campo != &stInterviniente::Nombre && (p.*c.campo).Find(kSeparadorNombre) >= 0)
            return CString("El campo ") + c.nombre + " no puede llevar el carácter " +
                   CString(kSeparadorNombre, 1);
    }
    if (p.Nif.IsEmpty())
        return "Falta el NIF del interviniente";
    if (!DocumentoIdentificacionValido(p.Nif, false))
        return "El NIF " + CitaBreve(p.Nif) + " no es válido";
    CString a1, a2, n;
    ExtraerCadBD(p.Nombre, a1, a2, n);
    if (a1.IsEmpty())
        return "Falta el nombre o la razón social del interviniente";
    // Three parts at most: a fourth would be glued to the first name when it is read back.
    int separadores = 0;
    for (char ch : p.Nombre.view())
        separadores += ch == kSeparadorNombre;
    if (separadores > 2)
        return CString("El nombre tiene más de tres partes separadas por ") +
               CString(kSeparadorNombre, 1);
    return CString();
}

std::vector<stInterviniente> CMantenimientoIntervinientes::Libres() {
    std::vector<stInterviniente> v;
    db_.Consultar(CString("SELECT ") + kColumnas +
                      " FROM PAINTERVIN WHERE CDDECLAR IS NULL ORDER BY NUMORDEN",
                  {}, [&](const FilaSql& f) { v.push_back(Leer(f)); });
    return v;
}

std::vector<stInterviniente> CMantenimientoIntervinientes::Vinculados(const CString& codDeclar) {
    std::vector<stInterviniente> v;
    db_.Consultar(CString("SELECT ") + kColumnas +
                      " FROM PAINTERVIN WHERE CDDECLAR = ? ORDER BY NUMORDEN",
                  {codDeclar}, [&](const FilaSql& f) { v.push_back(Leer(f)); });
    return v;
}

stInterviniente CMantenimientoIntervinientes::Libre(const CString& numOrden) {
    std::vector<stInterviniente> v;
    db_.Consultar(CString("SELECT ") + kColumnas + " FROM PAINTERVIN WHERE NUMORDEN = ?",
                  {numOrden}, [&](const FilaSql& f) { v.push_back(Leer(f)); });
    if (v.empty())
        throw CExcepcionInterviniente("No existe el interviniente " + CitaBreve(numOrden));
    if (!v[0].CodDeclar.IsEmpty())
        throw CExcepcionInterviniente("El interviniente " + numOrden +
                                      " es la copia vinculada a la declaración " + v[0].CodDeclar +
                                      "; cambie el del almacén y vincúlelo");
    return v[0];
}

CString CMantenimientoIntervinientes::Anadir(const stInterviniente& p) {
    if (const CString motivo = Comprobar(p); !motivo.IsEmpty())
        throw CExcepcionInterviniente(motivo.str());
    CBaseDatos::Transaccion t(db_);
    std::vector<ValorSql> v = Valores(p);
    db_.Ejecutar("INSERT INTO PAINTERVIN (DENIF, DENOMBRE, CDPROVIN, CDMUNICI, CDTIPVIA, "
                 "DENOMVIA, NUMVIA, ESCALERA, PISO, PUERTA, CODPOSTAL, TELEFONO) "
                 "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                 v);
    // A new party takes the number after the highest, and writers follow one another: inside
    // this transaction the highest is the row just written, on either engine.
    const CString numero = db_.Valor("SELECT max(NUMORDEN) FROM PAINTERVIN");
    t.Confirmar();
    return numero;
}

void CMantenimientoIntervinientes::Editar(const CString& numOrden, const stInterviniente& p) {
    if (const CString motivo = Comprobar(p); !motivo.IsEmpty())
        throw CExcepcionInterviniente(motivo.str());
    CBaseDatos::Transaccion t(db_);
    Libre(numOrden);
    std::vector<ValorSql> v = Valores(p);
    v.push_back(numOrden);
    db_.Ejecutar("UPDATE PAINTERVIN SET DENIF = ?, DENOMBRE = ?, CDPROVIN = ?, CDMUNICI = ?, "
                 "CDTIPVIA = ?, DENOMVIA = ?, NUMVIA = ?, ESCALERA = ?, PISO = ?, PUERTA = ?, "
                 "CODPOSTAL = ?, TELEFONO = ? WHERE NUMORDEN = ?",
                 v);
    t.Confirmar();
}

void CMantenimientoIntervinientes::Quitar(const CString& numOrden) {
    CBaseDatos::Transaccion t(db_);
    Libre(numOrden);
    db_.Ejecutar("DELETE FROM PAINTERVIN WHERE NUMORDEN = ?", {numOrden});
    t.Confirmar();
}

void CMantenimientoIntervinientes::Vincular(const CString& codDeclar, const CString& r,
                                            const CString& numOrden) {
    ExigirRol(r);
    CBaseDatos::Transaccion t(db_);
    VincularCopia(db_, codDeclar, r, Libre(numOrden));
    t.Confirmar();
}

bool CMantenimientoIntervinientes::Desvincular(const CString& codDeclar, const CString& r) {
    ExigirRol(r);
    CBaseDatos::Transaccion t(db_);
    const bool habia =
        !db_.Valor("SELECT 1 FROM PAINTERVIN WHERE CDDECLAR = ? AND CDROL = ?", {codDeclar, r})
             .IsEmpty();
    db_.Ejecutar("DELETE FROM PAINTERVIN WHERE CDDECLAR = ? AND CDROL = ?", {codDeclar, r});
    t.Confirmar();
    return habia;
}

CString CMantenimientoIntervinientes::AnadirVinculado(const CString& codDeclar, const CString& r,
                                                      const stInterviniente& p) {
    ExigirRol(r);
    if (const CString motivo = Comprobar(p); !motivo.IsEmpty())
        throw CExcepcionInterviniente(motivo.str());
    CBaseDatos::Transaccion t(db_);
    VincularCopia(db_, codDeclar, r, p);
    const CString numero = db_.Valor("SELECT max(NUMORDEN) FROM PAINTERVIN");
    t.Confirmar();
    return numero;
}
