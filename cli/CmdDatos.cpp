// Commands on the host's data: tariff questions, settings, loading SQL.
#include "Ajustes.h"
#include "CasosDeUso.h"
#include "ComandosComun.h"
#include "Modelo/base/Funciones.h"

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

// A quota of 0,00 on a day without a tariff would read as a real quota: that day is a finding,
// said on stderr, and nothing is printed.
bool HayTarifa(CHost& host, const CGuiaDoc& doc, const CString& fecha, Contexto& ctx) {
    if (!casos::TarifaEnVigor(host, doc, fecha).empty())
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

struct OpcTarifa {
    std::string formulario, importe, fecha;
    bool json = false;
};

void RegistrarCuota(CLI::App& app, Contexto& ctx) {
    auto o = std::make_shared<OpcTarifa>();
    auto* quota = app.add_subcommand("quota", "Cuota de un importe en una fecha");
    quota->add_option("FORM", o->formulario, "Formulario")->required();
    quota->add_option("AMOUNT", o->importe, "Importe (1500.00)")->required();
    quota->add_option("DATE", o->fecha, "Fecha (01/03/2023)")->required();
    OpcionJson(quota, o->json);
    quota->callback([&ctx, o] {
        const double importe = LeerImporte(o->importe);
        const CString fecha = LeerFecha(o->fecha);
        CHost& host = ctx.Host();
        auto doc = host.Suelto(CString(o->formulario));
        if (!HayTarifa(host, *doc, fecha, ctx))
            return;
        const CString cuota =
            Double2Currency(host.Cuota(*doc, importe, Str2Time(fecha)), 2, true, false);
        Tabla tabla(Tabla::Forma::Registro);
        tabla.Nueva()
            .SoloJson("formulario", doc->GetCodModelo().str())
            .SoloJson("importe", Double2Currency(importe, 2, true, false).str())
            .SoloJson("fecha", Str2Time(fecha).Format("%d/%m/%Y").str())
            .Columna("cuota", cuota);
        tabla.Escribir(o->json);
    });
}

void RegistrarTramos(CLI::App& app, Contexto& ctx) {
    auto b = std::make_shared<OpcTarifa>();
    auto* brackets = app.add_subcommand("brackets", "Límites inferiores de los tramos en vigor");
    brackets->add_option("FORM", b->formulario, "Formulario")->required();
    brackets->add_option("DATE", b->fecha, "Fecha (01/03/2023)")->required();
    OpcionJson(brackets, b->json);
    brackets->callback([&ctx, b] {
        const CString fecha = LeerFecha(b->fecha);
        auto doc = ctx.Host().Suelto(CString(b->formulario));
        const CStringArray limites = ctx.Host().Tramos(*doc, Str2Time(fecha));
        Tabla tabla(Tabla::Forma::Valores);
        for (const CString& limite : limites)
            tabla.Nueva().Columna("limite", limite);
        tabla.Escribir(b->json);
    });
}

void RegistrarTarifa(CLI::App& app, Contexto& ctx) {
    auto t = std::make_shared<OpcTarifa>();
    auto* tariff = app.add_subcommand("tariff", "Tarifa en vigor de un formulario en una fecha");
    tariff->add_option("FORM", t->formulario, "Formulario")->required();
    tariff->add_option("--date", t->fecha, "Fecha (01/03/2023); por defecto, hoy");
    OpcionJson(tariff, t->json);
    tariff->callback([&ctx, t] {
        const CString fecha = t->fecha.empty() ? COleDateTime::GetCurrentTime().Format("%d/%m/%Y")
                                               : LeerFecha(t->fecha);
        CHost& host = ctx.Host();
        auto doc = host.Suelto(CString(t->formulario));
        if (!HayTarifa(host, *doc, fecha, ctx))
            return;
        Tabla tabla;
        for (const casos::FilaTarifa& f : casos::TarifaEnVigor(host, *doc, fecha))
            tabla.Nueva()
                .Columna("tarifa", f.tarifa)
                .Columna("orden", Celda(f.orden, std::atoi(f.orden)))
                .Columna("desde", Celda(Importe(f.desde), NumeroC(f.desde.view())))
                .Columna("hasta", Celda(Importe(f.hasta), NumeroC(f.hasta.view())))
                .Columna("porcentaje",
                         Celda(Porcentaje(f.porcentaje), NumeroC(f.porcentaje.view())))
                .Columna("fijo", Celda(Importe(f.fijo), NumeroC(f.fijo.view())))
                .Columna("vigente_desde", f.vigenteDesde)
                .Columna("vigente_hasta", f.vigenteHasta);
        tabla.Escribir(t->json);
    });
}

// The defaults of a new declaration besides its presenter, and all of them shown.
void RegistrarOtrosAjustes(CLI::App* config, Contexto& ctx) {
    auto formulario = std::make_shared<std::string>();
    auto* form = config->add_subcommand("form", "Formulario por defecto de una declaración nueva");
    form->add_option("FORM", *formulario, "Código del formulario")->required();
    form->callback(
        [&ctx, formulario] { casos::FijarFormularioPorDefecto(ctx.Host(), CString(*formulario)); });

    auto periodo = std::make_shared<std::string>();
    auto* period = config->add_subcommand(
        "period",
        "Periodo por defecto de una declaración nueva: el mes anterior o el mes en curso");
    period->add_option("PERIOD", *periodo, "previous o current")
        ->required()
        ->check(CLI::IsMember({"previous", "current"}));
    period->callback(
        [&ctx, periodo] { casos::FijarMesEnCurso(ctx.Host(), *periodo == "current"); });

    auto json = std::make_shared<bool>(false);
    auto* show = config->add_subcommand("show", "Muestra los ajustes");
    OpcionJson(show, *json);
    show->callback([&ctx, json] {
        CHost& host = ctx.Host();
        const casos::AjustesNueva a = casos::LeerAjustes(host);
        Tabla tabla(Tabla::Forma::PorClave);
        tabla.Nueva().Columna("ajuste", "presenter_nif").Columna("valor", a.presentadorNif);
        tabla.Nueva()
            .Columna("ajuste", "presenter_name")
            .Columna("valor", QuitarSep(a.presentadorNombre));
        tabla.Nueva().Columna("ajuste", "form").Columna("valor", casos::FormularioPorDefecto(host));
        tabla.Nueva()
            .Columna("ajuste", "period")
            .Columna("valor", a.mesEnCurso ? "current" : "previous");
        tabla.Escribir(*json);
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
        if (!casos::FijarPresentador(ctx.Host(), CString(o->nif), CString(o->nombre)))
            std::fprintf(stderr,
                         "Aviso: no hay en el almacén ningún interviniente libre con NIF %s y "
                         "ese nombre; las declaraciones nuevas no tendrán presentador hasta "
                         "que se añada.\n",
                         CitaBreve(CString(o->nif)).c_str());
    });
    RegistrarOtrosAjustes(config, ctx);
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
    RegistrarCopias(*db, ctx);
    RegistrarCopiaBases(*db, ctx);
}

} // namespace

void RegistrarDatos(CLI::App& app, Contexto& ctx) {
    RegistrarCuota(app, ctx);
    RegistrarTramos(app, ctx);
    RegistrarTarifa(app, ctx);
    RegistrarAjustes(app, ctx);
    RegistrarCarga(app, ctx);
}
