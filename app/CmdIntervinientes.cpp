// The parties dialog of the command line: correcting and removing parties of the store, and
// binding them to a declaration in a role, through the host's party maintenance. Binding and
// unbinding end as the dialog's OK does: the declaration's party boxes are filled again and
// saved.
#include "CasosDeUso.h"
#include "ComandosComun.h"
#include "Modelo/Funciones.h"
#include "Modelo/MantenimientoIntervinientes.h"

namespace {

// The fields a correction may change; an option not given keeps what the party had.
struct Campos {
    std::optional<std::string> nif, nombre, apellido2, nombrePropio, provincia, municipio, tipoVia,
        via, numero, escalera, piso, puerta, cp, tel;
};

void OpcionesCampos(CLI::App* cmd, Campos& c) {
    cmd->add_option("--nif", c.nif, "NIF");
    cmd->add_option("--name", c.nombre, "Primer apellido (persona física) o razón social");
    cmd->add_option("--second-surname", c.apellido2, "Segundo apellido");
    cmd->add_option("--first-name", c.nombrePropio, "Nombre");
    cmd->add_option("--province", c.provincia, "Código de provincia");
    cmd->add_option("--municipality", c.municipio, "Código de municipio");
    cmd->add_option("--street-type", c.tipoVia, "Tipo de vía");
    cmd->add_option("--street", c.via, "Nombre de la vía");
    cmd->add_option("--number", c.numero, "Número");
    cmd->add_option("--staircase", c.escalera, "Escalera");
    cmd->add_option("--floor", c.piso, "Piso");
    cmd->add_option("--door", c.puerta, "Puerta");
    cmd->add_option("--postcode", c.cp, "Código postal");
    cmd->add_option("--phone", c.tel, "Teléfono");
}

void Aplicar(const Campos& c, stInterviniente& p) {
    auto poner = [](const std::optional<std::string>& v, CString& campo) {
        if (v)
            campo = CString(*v);
    };
    poner(c.nif, p.Nif);
    poner(c.provincia, p.Provincia);
    poner(c.municipio, p.Municipio);
    poner(c.tipoVia, p.TipoVia);
    poner(c.via, p.NombreVia);
    poner(c.numero, p.Numero);
    poner(c.escalera, p.Escalera);
    poner(c.piso, p.Piso);
    poner(c.puerta, p.Puerta);
    poner(c.cp, p.CodigoPostal);
    poner(c.tel, p.Telefono);
    if (!c.nombre && !c.apellido2 && !c.nombrePropio)
        return;
    CString a1, a2, n;
    ExtraerCadBD(p.Nombre, a1, a2, n);
    poner(c.nombre, a1);
    poner(c.apellido2, a2);
    poner(c.nombrePropio, n);
    p.Nombre = a2.IsEmpty() && n.IsEmpty()
                   ? a1
                   : a1 + CString(kSeparadorNombre, 1) + a2 + CString(kSeparadorNombre, 1) + n;
}

stInterviniente BuscarLibre(CMantenimientoIntervinientes& m, const std::string& numero) {
    for (const stInterviniente& p : m.Libres())
        if (p.NumOrden == CString(numero))
            return p;
    throw ErrorUsuario("No existe en el almacén el interviniente " + CitaBreve(CString(numero)));
}

// A change of the store alone, in one transaction.
template <class Cambio> void Cambiar(Contexto& ctx, Cambio cambio) {
    CHost& host = ctx.Host();
    CBaseDatos::Transaccion t(host.BaseDatos());
    CMantenimientoIntervinientes m(host.BaseDatos());
    try {
        cambio(m);
    } catch (const CExcepcionInterviniente& e) {
        throw ErrorUsuario(e.what());
    }
    t.Confirmar();
}

// A change of a declaration's parties, ended as the dialog's OK ends it: the declaration's
// party boxes are filled again and saved, all in one transaction.
template <class Cambio>
void CambiarDeclaracion(Contexto& ctx, const std::string& declaracion, Cambio cambio) {
    CHost& host = ctx.Host();
    CBaseDatos::Transaccion t(host.BaseDatos());
    auto doc = host.Abrir(CString(declaracion));
    CHost::ExigirBorrador(*doc);
    cambio(host);
    host.RellenarIntervinientes(*doc);
    host.Guardar(*doc);
    t.Confirmar();
}

} // namespace

void RegistrarMantenimientoIntervinientes(CLI::App& app, Contexto& ctx) {
    CLI::App* parties = app.get_subcommand("parties");

    struct Opc {
        std::string numero, declaracion, papel;
        Campos campos;
    };
    auto e = std::make_shared<Opc>();
    auto* edit = parties->add_subcommand("edit", "Corrige un interviniente del almacén");
    // The store compares the number as a number: "1.0" or "1e0" would name party 1.
    OpcionEntera(edit->add_option("NUM", e->numero, "Número de orden")->required(), 1);
    OpcionesCampos(edit, e->campos);
    edit->callback([&ctx, e] {
        Cambiar(ctx, [&](CMantenimientoIntervinientes& m) {
            stInterviniente p = BuscarLibre(m, e->numero);
            Aplicar(e->campos, p);
            m.Editar(p.NumOrden, p);
        });
    });

    auto r = std::make_shared<Opc>();
    auto* remove = parties->add_subcommand("remove", "Quita un interviniente del almacén");
    OpcionEntera(remove->add_option("NUM", r->numero, "Número de orden")->required(), 1);
    remove->callback([&ctx, r] {
        Cambiar(ctx, [&](CMantenimientoIntervinientes& m) { m.Quitar(CString(r->numero)); });
    });

    const std::vector<std::string> papeles{rol::SujetoPasivo, rol::Representante, rol::Presentador};
    auto b = std::make_shared<Opc>();
    auto* bind = parties->add_subcommand(
        "bind", "Vincula un interviniente del almacén a una declaración en un papel");
    bind->add_option("CODE", b->declaracion, "Código de la declaración")->required();
    bind->add_option("--role", b->papel, "Sujeto Pasivo, Representante o Presentador")
        ->required()
        ->check(CLI::IsMember(papeles));
    OpcionEntera(
        bind->add_option("--party", b->numero, "Número de orden del interviniente")->required(), 1);
    bind->callback([&ctx, b] {
        CambiarDeclaracion(ctx, b->declaracion, [&](CHost& host) {
            casos::VincularInterviniente(host, CString(b->declaracion), CString(b->papel),
                                         CString(b->numero));
        });
    });

    auto u = std::make_shared<Opc>();
    auto* unbind =
        parties->add_subcommand("unbind", "Quita el interviniente de un papel de una declaración");
    unbind->add_option("CODE", u->declaracion, "Código de la declaración")->required();
    unbind->add_option("--role", u->papel, "Sujeto Pasivo, Representante o Presentador")
        ->required()
        ->check(CLI::IsMember(papeles));
    unbind->callback([&ctx, u] {
        CambiarDeclaracion(ctx, u->declaracion, [&](CHost& host) {
            if (!casos::DesvincularInterviniente(host, CString(u->declaracion), CString(u->papel)))
                throw ErrorUsuario("La declaración " + CitaBreve(CString(u->declaracion)) +
                                   " no tiene " + u->papel);
        });
    });
}
