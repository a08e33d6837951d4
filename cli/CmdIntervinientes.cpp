// The parties dialog of the command line: the party store, and the parties of a declaration in
// their roles. Binding, unbinding and refreshing end as the dialog's OK does: the declaration's
// party boxes are filled again and saved.
#include "CasosDeUso.h"
#include "ComandosComun.h"
#include "Modelo/base/Funciones.h"

namespace {

// The fields of a party as options, declared once for adding and correcting; an option not
// given keeps what the party had.
struct Campos {
    std::optional<std::string> nif, nombre, apellido2, nombrePropio, provincia, municipio, tipoVia,
        via, numero, escalera, piso, puerta, cp, tel;
};

void OpcionesCampos(CLI::App* cmd, Campos& c) {
    cmd->add_option("--nif", c.nif, "NIF");
    cmd->add_option("--name", c.nombre,
                    "Primer apellido (persona física) o razón social (entidad)");
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

// Every party field ends up in the printed code and the party boxes: a control character
// would travel there unseen, and the name separator would split the name into the wrong parts.
void ExigirCamposLimpios(const CLI::App& cmd) {
    for (const CLI::Option* opcion : cmd.get_options()) {
        if (opcion->count() == 0 || opcion->get_expected_max() == 0)
            continue;
        for (const std::string& valor : opcion->results()) {
            for (const char c : valor) {
                if (c == kSeparadorNombre)
                    throw ErrorUsuario("El campo " + CString(opcion->get_name()) +
                                       " no puede llevar el carácter " +
                                       CString(kSeparadorNombre, 1) +
                                       ", que separa las partes del nombre");
                if (texto::EsControl(c))
                    throw ErrorUsuario("El campo " + CString(opcion->get_name()) +
                                       " lleva caracteres de control");
            }
        }
    }
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

const std::vector<std::string> kPapeles{rol::SujetoPasivo, rol::Representante, rol::Presentador};

CLI::Option* OpcionPapel(CLI::App* cmd, std::string& papel) {
    return cmd->add_option("--role", papel, "Sujeto Pasivo, Representante o Presentador")
        ->check(CLI::IsMember(kPapeles));
}

struct Opc {
    std::string numero, declaracion, papel;
    Campos campos;
    bool json = false;
};

void RegistrarListar(CLI::App* parties, Contexto& ctx) {
    auto o = std::make_shared<Opc>();
    auto* cmd = parties->add_subcommand("list", "Lista los intervinientes");
    OpcionJson(cmd, o->json);
    cmd->callback([&ctx, o] {
        Tabla tabla;
        for (const stInterviniente& p : casos::Intervinientes(ctx.Host()))
            tabla.Nueva()
                .Columna("orden", Celda(p.NumOrden, std::atoi(p.NumOrden)))
                .Columna("nif", p.Nif)
                .Columna("nombre", QuitarSep(p.Nombre))
                .Columna("declaracion", p.CodDeclar)
                .Columna("papel", p.Rol);
        tabla.Escribir(o->json);
    });
}

void RegistrarAnadir(CLI::App* parties, Contexto& ctx) {
    auto o = std::make_shared<Opc>();
    auto* cmd = parties->add_subcommand("add", "Añade un interviniente");
    OpcionesCampos(cmd, o->campos);
    cmd->get_option("--nif")->required();
    cmd->get_option("--name")->required();
    auto* declaracion =
        cmd->add_option("--declaration", o->declaracion, "Declaración a la que se vincula");
    OpcionPapel(cmd, o->papel)->needs(declaracion);
    declaracion->needs("--role");
    cmd->callback([&ctx, o, cmd] {
        ExigirCamposLimpios(*cmd);
        stInterviniente p;
        Aplicar(o->campos, p);
        Imprimir(
            casos::AnadirInterviniente(ctx.Host(), p, CString(o->declaracion), CString(o->papel)));
    });
}

void RegistrarCorregir(CLI::App* parties, Contexto& ctx) {
    auto o = std::make_shared<Opc>();
    auto* cmd = parties->add_subcommand("edit", "Corrige un interviniente del almacén");
    // The store compares the number as a number: "1.0" or "1e0" would name party 1.
    OpcionEntera(cmd->add_option("NUM", o->numero, "Número de orden")->required(), 1);
    OpcionesCampos(cmd, o->campos);
    cmd->callback([&ctx, o, cmd] {
        ExigirCamposLimpios(*cmd);
        CHost& host = ctx.Host();
        CBaseDatos::Transaccion t(host.BaseDatos());
        stInterviniente p = casos::IntervinienteLibre(host, CString(o->numero));
        Aplicar(o->campos, p);
        casos::CorregirInterviniente(host, p.NumOrden, p);
        t.Confirmar();
    });
}

void RegistrarQuitar(CLI::App* parties, Contexto& ctx) {
    auto o = std::make_shared<Opc>();
    auto* cmd = parties->add_subcommand("remove", "Quita un interviniente del almacén");
    OpcionEntera(cmd->add_option("NUM", o->numero, "Número de orden")->required(), 1);
    cmd->callback([&ctx, o] { casos::QuitarInterviniente(ctx.Host(), CString(o->numero)); });
}

void RegistrarVincular(CLI::App* parties, Contexto& ctx) {
    auto o = std::make_shared<Opc>();
    auto* cmd = parties->add_subcommand(
        "bind", "Vincula un interviniente del almacén a una declaración en un papel");
    OpcionCodigo(cmd, o->declaracion);
    OpcionPapel(cmd, o->papel)->required();
    OpcionEntera(
        cmd->add_option("--party", o->numero, "Número de orden del interviniente")->required(), 1);
    cmd->callback([&ctx, o] {
        const CString codigo(o->declaracion);
        casos::CambiarIntervinientes(ctx.Host(), codigo, [&] {
            casos::VincularInterviniente(ctx.Host(), codigo, CString(o->papel), CString(o->numero));
        });
    });
}

void RegistrarDesvincular(CLI::App* parties, Contexto& ctx) {
    auto o = std::make_shared<Opc>();
    auto* cmd =
        parties->add_subcommand("unbind", "Quita el interviniente de un papel de una declaración");
    OpcionCodigo(cmd, o->declaracion);
    OpcionPapel(cmd, o->papel)->required();
    cmd->callback([&ctx, o] {
        const CString codigo(o->declaracion);
        casos::CambiarIntervinientes(ctx.Host(), codigo, [&] {
            if (!casos::DesvincularInterviniente(ctx.Host(), codigo, CString(o->papel)))
                throw ErrorUsuario("La declaración " + CitaBreve(codigo) + " no tiene " + o->papel);
        });
    });
}

void RegistrarRellenar(CLI::App* parties, Contexto& ctx) {
    auto codigo = std::make_shared<std::string>();
    auto* cmd = parties->add_subcommand(
        "refresh", "Rellena las casillas de los intervinientes de una declaración y guarda");
    OpcionCodigo(cmd, *codigo);
    cmd->callback([&ctx, codigo] { casos::CambiarIntervinientes(ctx.Host(), CString(*codigo)); });
}

} // namespace

void RegistrarIntervinientes(CLI::App& app, Contexto& ctx) {
    auto* parties = app.add_subcommand("parties", "Almacén de intervinientes");
    parties->require_subcommand(1);
    RegistrarListar(parties, ctx);
    RegistrarAnadir(parties, ctx);
    RegistrarRellenar(parties, ctx);
    RegistrarCorregir(parties, ctx);
    RegistrarQuitar(parties, ctx);
    RegistrarVincular(parties, ctx);
    RegistrarDesvincular(parties, ctx);
}
