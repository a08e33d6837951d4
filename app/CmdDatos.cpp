// Commands on the host's data: tariff questions, parties, settings, loading SQL.
#include "CasosDeUso.h"
#include "ComandosComun.h"
#include "Modelo/Funciones.h"
#include "Modelo/Intervinientes.h"
#include "Modelo/MantenimientoIntervinientes.h"

#include <fstream>
#include <sstream>

namespace {

// An amount as a person writes it: "1500", "1500.5", "1500,50" or "1.500,50".
double LeerImporte(const std::string& texto) {
    std::string t = texto;
    const size_t coma = t.find(',');
    if (coma != std::string::npos) {
        std::string sinPuntos;
        for (size_t i = 0; i < t.size(); ++i)
            if (t[i] != '.' || i > coma)
                sinPuntos += t[i];
        t = sinPuntos;
        t[t.find(',')] = '.';
    }
    const size_t punto = t.find('.');
    bool valido = !t.empty() && t.size() <= 18 && t.find('.', punto + 1) == std::string::npos &&
                  (punto == std::string::npos ||
                   (t.size() - punto - 1 >= 1 && t.size() - punto - 1 <= 2 && punto > 0));
    for (char c : t)
        valido = valido && (texto::EsDigito(c) || c == '.');
    if (!valido)
        throw ErrorUsuario("Importe no válido: " + CitaBreve(CString(texto)) +
                           " (por ejemplo 1500.00 o 1.500,00)");
    return NumeroC(t);
}

CString LeerFecha(const std::string& texto) {
    if (Str2Time(CString(texto)).GetStatus() != COleDateTime::valid)
        throw ErrorUsuario("Fecha no válida: " + CitaBreve(CString(texto)) +
                           " (día/mes/año, 01/03/2023)");
    return CString(texto);
}

std::string LeerFichero(const std::string& ruta) {
    std::ifstream f(ruta, std::ios::binary);
    if (!f)
        throw ErrorUsuario("No se puede leer el fichero " + CitaBreve(CString(ruta)));
    std::stringstream s;
    s << f.rdbuf();
    if (f.bad())
        throw ErrorUsuario("No se puede leer el fichero " + CitaBreve(CString(ruta)));
    return s.str();
}

struct FilaTarifa {
    CString tarifa, orden, desde, hasta, porcentaje, fijo, vigenteDesde, vigenteHasta;
};

// The rows of the form's tariff in force on a day-first date, scale by scale.
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

// A quota of 0,00 on a day without a tariff would read as a real quota: that day is a finding,
// said on stderr, and nothing is printed.
bool HayTarifa(CHost& host, const CGuiaDoc& doc, const CString& fecha, Contexto& ctx) {
    if (!TarifaEnVigor(host, doc, fecha).empty())
        return true;
    std::fprintf(stderr,
                 "modelo: No hay tarifa del modelo %s en vigor el %s; cárguela con modelo db "
                 "load (véase el README)\n",
                 doc.GetCodModelo().c_str(), Str2Time(fecha).Format("%d/%m/%Y").c_str());
    ctx.estado = kHallazgos;
    return false;
}

CString Importe(const CString& numero) {
    return Double2Currency(NumeroC(numero.view()), 2, true, false);
}

// "0.5" as a person writes it here: "0,5".
CString Porcentaje(CString numero) {
    numero.Replace('.', ',');
    return numero;
}

void RegistrarTarifa(CLI::App& app, Contexto& ctx) {
    struct Opc {
        std::string formulario, importe, fecha;
        bool json = false;
    };
    auto o = std::make_shared<Opc>();
    auto* quota = app.add_subcommand("quota", "Cuota de un importe en una fecha");
    quota->add_option("FORM", o->formulario, "Formulario")->required();
    quota->add_option("AMOUNT", o->importe, "Importe (1500.00)")->required();
    quota->add_option("DATE", o->fecha, "Fecha (01/03/2023)")->required();
    quota->add_flag("--json", o->json, "Salida JSON");
    quota->callback([&ctx, o] {
        const double importe = LeerImporte(o->importe);
        const CString fecha = LeerFecha(o->fecha);
        CHost& host = ctx.Host();
        auto doc = host.Suelto(CString(o->formulario));
        if (!HayTarifa(host, *doc, fecha, ctx))
            return;
        const CString cuota =
            Double2Currency(host.Cuota(*doc, importe, Str2Time(fecha)), 2, true, false);
        if (!o->json) {
            Imprimir(cuota);
            return;
        }
        nlohmann::ordered_json j = {{"formulario", doc->GetCodModelo().str()},
                                    {"importe", Double2Currency(importe, 2, true, false).str()},
                                    {"fecha", Str2Time(fecha).Format("%d/%m/%Y").str()},
                                    {"cuota", cuota.str()}};
        Imprimir(CString(Json(j)));
    });

    auto b = std::make_shared<Opc>();
    auto* brackets = app.add_subcommand("brackets", "Límites inferiores de los tramos en vigor");
    brackets->add_option("FORM", b->formulario, "Formulario")->required();
    brackets->add_option("DATE", b->fecha, "Fecha (01/03/2023)")->required();
    brackets->add_flag("--json", b->json, "Salida JSON");
    brackets->callback([&ctx, b] {
        const CString fecha = LeerFecha(b->fecha);
        auto doc = ctx.Host().Suelto(CString(b->formulario));
        const CStringArray limites = ctx.Host().Tramos(*doc, Str2Time(fecha));
        nlohmann::json j = nlohmann::json::array();
        for (const CString& limite : limites) {
            if (b->json)
                j.push_back(limite.str());
            else
                Imprimir(limite);
        }
        if (b->json)
            Imprimir(CString(Json(j)));
    });

    auto t = std::make_shared<Opc>();
    auto* tariff = app.add_subcommand("tariff", "Tarifa en vigor de un formulario en una fecha");
    tariff->add_option("FORM", t->formulario, "Formulario")->required();
    tariff->add_option("--date", t->fecha, "Fecha (01/03/2023); por defecto, hoy");
    tariff->add_flag("--json", t->json, "Salida JSON");
    tariff->callback([&ctx, t] {
        const CString fecha = t->fecha.empty() ? COleDateTime::GetCurrentTime().Format("%d/%m/%Y")
                                               : LeerFecha(t->fecha);
        CHost& host = ctx.Host();
        auto doc = host.Suelto(CString(t->formulario));
        if (!HayTarifa(host, *doc, fecha, ctx))
            return;
        nlohmann::ordered_json j = nlohmann::ordered_json::array();
        for (const FilaTarifa& f : TarifaEnVigor(host, *doc, fecha)) {
            if (!t->json) {
                Imprimir(f.tarifa + "\t" + f.orden + "\t" + Importe(f.desde) + "\t" +
                         Importe(f.hasta) + "\t" + Porcentaje(f.porcentaje) + "\t" +
                         Importe(f.fijo) + "\t" + f.vigenteDesde + "\t" + f.vigenteHasta);
                continue;
            }
            j.push_back({{"tarifa", f.tarifa.str()},
                         {"orden", std::atoi(f.orden)},
                         {"desde", NumeroC(f.desde.view())},
                         {"hasta", NumeroC(f.hasta.view())},
                         {"porcentaje", NumeroC(f.porcentaje.view())},
                         {"fijo", NumeroC(f.fijo.view())},
                         {"vigente_desde", f.vigenteDesde.str()},
                         {"vigente_hasta", f.vigenteHasta.str()}});
        }
        if (t->json)
            Imprimir(CString(Json(j)));
    });
}

// Every party field ends up in the printed code and the party boxes: a control character
// would travel there unseen, and the name separator would split the name into the wrong parts.
void ExigirCamposLimpios(const CLI::App& add) {
    for (const CLI::Option* opcion : add.get_options()) {
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

void RegistrarIntervinientes(CLI::App& app, Contexto& ctx) {
    auto* parties = app.add_subcommand("parties", "Almacén de intervinientes");
    parties->require_subcommand(1);

    auto jsonIntervinientes = std::make_shared<bool>(false);
    auto* list = parties->add_subcommand("list", "Lista los intervinientes");
    list->add_flag("--json", *jsonIntervinientes, "Salida JSON");
    list->callback([&ctx, jsonIntervinientes] {
        nlohmann::ordered_json j = nlohmann::ordered_json::array();
        ctx.Host().BaseDatos().Consultar(
            "SELECT NUMORDEN, DENIF, DENOMBRE, ifnull(CDDECLAR, ''), ifnull(CDROL, '') "
            "FROM PAINTERVIN ORDER BY NUMORDEN",
            {}, [&](const FilaSql& f) {
                if (*jsonIntervinientes)
                    j.push_back({{"orden", f.Entero(0)},
                                 {"nif", f.Texto(1).str()},
                                 {"nombre", QuitarSep(f.Texto(2)).str()},
                                 {"declaracion", f.Texto(3).str()},
                                 {"papel", f.Texto(4).str()}});
                else
                    Imprimir(f.Texto(0) + "\t" + f.Texto(1) + "\t" + QuitarSep(f.Texto(2)) + "\t" +
                             f.Texto(3) + "\t" + f.Texto(4));
            });
        if (*jsonIntervinientes)
            Imprimir(CString(Json(j)));
    });

    auto p = std::make_shared<stInterviniente>();
    struct Extra {
        std::string nif, nombre, apellido2, nombrePropio, declaracion, papel;
        std::string provincia, municipio, tipoVia, via, numero, escalera, piso, puerta, cp, tel;
    };
    auto e = std::make_shared<Extra>();
    auto* add = parties->add_subcommand("add", "Añade un interviniente");
    add->add_option("--nif", e->nif, "NIF")->required();
    add->add_option("--name", e->nombre,
                    "Primer apellido (persona física) o razón social (entidad)")
        ->required();
    add->add_option("--second-surname", e->apellido2, "Segundo apellido");
    add->add_option("--first-name", e->nombrePropio, "Nombre");
    auto* declaracion =
        add->add_option("--declaration", e->declaracion, "Declaración a la que se vincula");
    add->add_option("--role", e->papel, "Papel: Sujeto Pasivo, Representante o Presentador")
        ->check(CLI::IsMember({rol::SujetoPasivo, rol::Representante, rol::Presentador}))
        ->needs(declaracion);
    declaracion->needs("--role");
    add->add_option("--province", e->provincia, "Código de provincia");
    add->add_option("--municipality", e->municipio, "Código de municipio");
    add->add_option("--street-type", e->tipoVia, "Tipo de vía");
    add->add_option("--street", e->via, "Nombre de la vía");
    add->add_option("--number", e->numero, "Número");
    add->add_option("--staircase", e->escalera, "Escalera");
    add->add_option("--floor", e->piso, "Piso");
    add->add_option("--door", e->puerta, "Puerta");
    add->add_option("--postcode", e->cp, "Código postal");
    add->add_option("--phone", e->tel, "Teléfono");
    add->callback([&ctx, e, add] {
        ExigirCamposLimpios(*add);
        stInterviniente p;
        p.Nif = CString(e->nif);
        p.Nombre = CString(e->nombre);
        if (!e->apellido2.empty() || !e->nombrePropio.empty())
            p.Nombre += CString(kSeparadorNombre, 1) + CString(e->apellido2) +
                        CString(kSeparadorNombre, 1) + CString(e->nombrePropio);
        p.Provincia = CString(e->provincia);
        p.Municipio = CString(e->municipio);
        p.TipoVia = CString(e->tipoVia);
        p.NombreVia = CString(e->via);
        p.Numero = CString(e->numero);
        p.Escalera = CString(e->escalera);
        p.Piso = CString(e->piso);
        p.Puerta = CString(e->puerta);
        p.CodigoPostal = CString(e->cp);
        p.Telefono = CString(e->tel);
        Imprimir(
            casos::AnadirInterviniente(ctx.Host(), p, CString(e->declaracion), CString(e->papel)));
    });

    auto codigo = std::make_shared<std::string>();
    auto* refresh = parties->add_subcommand(
        "refresh", "Rellena las casillas de los intervinientes de una declaración y guarda");
    refresh->add_option("CODE", *codigo, "Código de la declaración")->required();
    refresh->callback([&ctx, codigo] {
        CHost& host = ctx.Host();
        CBaseDatos::Transaccion t(host.BaseDatos());
        auto doc = host.Abrir(CString(*codigo));
        CHost::ExigirBorrador(*doc);
        host.RellenarIntervinientes(*doc);
        host.Guardar(*doc);
        t.Confirmar();
    });
}

void RegistrarAjustes(CLI::App& app, Contexto& ctx) {
    auto* config = app.add_subcommand("config", "Ajustes del programa");
    config->require_subcommand(1);
    struct Opc {
        std::string nif, nombre;
    };
    auto o = std::make_shared<Opc>();
    auto* presenter = config->add_subcommand("presenter", "Presentador por defecto");
    presenter->add_option("NIF", o->nif, "NIF")->required();
    presenter->add_option("NAME", o->nombre, "Nombre tal como figura en el almacén")->required();
    presenter->callback([&ctx, o] {
        CHost& host = ctx.Host();
        CBaseDatos::Transaccion t(host.BaseDatos());
        // The lookup of a new declaration compares the stored name, which keeps a natural
        // person's parts apart: the name a person types is matched to it here.
        CString guardado;
        host.BaseDatos().Consultar(
            "SELECT DENOMBRE FROM PAINTERVIN WHERE CDDECLAR IS NULL AND CDROL IS NULL AND "
            "DENIF = ? ORDER BY NUMORDEN",
            {CString(o->nif)}, [&](const FilaSql& f) {
                if (guardado.IsEmpty() && (f.Texto(0) == CString(o->nombre) ||
                                           QuitarSep(f.Texto(0)) == CString(o->nombre)))
                    guardado = f.Texto(0);
            });
        if (guardado.IsEmpty()) {
            guardado = CString(o->nombre);
            std::fprintf(stderr,
                         "Aviso: no hay en el almacén ningún interviniente libre con NIF %s y "
                         "ese nombre; las declaraciones nuevas no tendrán presentador hasta "
                         "que se añada.\n",
                         CitaBreve(CString(o->nif)).c_str());
        }
        AfxFijarAjuste("presentador_nif", CString(o->nif));
        AfxFijarAjuste("presentador_nombre", guardado);
        t.Confirmar();
    });
}

void RegistrarCarga(CLI::App& app, Contexto& ctx) {
    auto* db = app.add_subcommand("db", "Base de datos");
    db->require_subcommand(1);
    auto fichero = std::make_shared<std::string>();
    auto* load = db->add_subcommand("load", "Ejecuta un fichero SQL: todo o nada");
    load->add_option("FILE", *fichero, "Fichero SQL")->required();
    load->callback([&ctx, fichero] {
        const std::string sql = LeerFichero(*fichero);
        CHost& host = ctx.Host();
        try {
            host.BaseDatos().CargarScript(CString(sql));
        } catch (const CExcepcionBD& e) {
            // A failure of the file or the disk is said as what it is, by the program.
            if (e.Fallo() != FalloBD::Sentencia)
                throw;
            throw ErrorUsuario("No se ha cargado nada de " + CitaBreve(CString(*fichero)) + ": " +
                               e.Mensaje() + " en la sentencia: " + CitaBreve(e.Sql(), 200));
        }
    });
}

} // namespace

void RegistrarDatos(CLI::App& app, Contexto& ctx) {
    RegistrarTarifa(app, ctx);
    RegistrarIntervinientes(app, ctx);
    RegistrarAjustes(app, ctx);
    RegistrarCarga(app, ctx);
}
