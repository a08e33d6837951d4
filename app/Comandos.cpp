#include "Comandos.h"

#include "Host.h"
#include "Modelo/Servicios.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>
#include <nlohmann/json.hpp>

namespace {

constexpr int kHecho = 0;
constexpr int kRechazado = 2;

void Imprimir(const CString& linea) {
    std::fwrite(linea.c_str(), 1, size_t(linea.GetLength()), stdout);
    std::fputc('\n', stdout);
}

// Box values are bytes; a value that is not UTF-8 is shown with replacement characters rather
// than making the whole output fail.
std::string Json(const nlohmann::json& j) {
    return j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

// "P1-10" -> page index 0, box 10.
bool LeerCasilla(const std::string& texto, int& pagina, int& casilla) {
    if (texto.size() < 4 || texto.size() > 6 || texto[0] != 'P' || texto[2] != '-')
        return false;
    if (texto[1] != '1' && texto[1] != '2')
        return false;
    int n = 0;
    for (size_t i = 3; i < texto.size(); ++i) {
        if (!texto::EsDigito(texto[i]))
            return false;
        n = n * 10 + (texto[i] - '0');
    }
    pagina = texto[1] - '1';
    casilla = n;
    return true;
}

CString NombreCasilla(int pagina, int casilla) {
    return CString::Formatted("P%d-%d", pagina + 1, casilla);
}

// "3" or "03" -> "03"; anything else is refused.
CString NormalizarMes(const std::string& mes) {
    if (mes.empty())
        return CString();
    if (mes.size() > 2 || !texto::EsDigito(mes[0]) || !texto::EsDigito(mes.back()))
        throw ErrorUsuario("Mes no válido: " + CString(mes) + " (de 01 a 12)");
    const int n = std::stoi(mes);
    if (n < 1 || n > 12)
        throw ErrorUsuario("Mes no válido: " + CString(mes) + " (de 01 a 12)");
    return CString::Formatted("%02d", n);
}

CString ValidarAnio(const std::string& anio) {
    if (anio.empty())
        return CString();
    if (anio.size() != 4 || !std::all_of(anio.begin(), anio.end(), texto::EsDigito))
        throw ErrorUsuario("Año no válido: " + CString(anio) + " (cuatro cifras)");
    return CString(anio);
}

void ExigirBorrador(const CGuiaDoc& doc) {
    if (!doc.PermiteCambios())
        throw ErrorUsuario("La declaración " + doc.GetCodDeclar() +
                           " es definitiva y ya no se puede modificar");
}

struct Opciones {
    std::string db, plugins;
    std::string formulario, mes, anio, codigo;
    int pagina = 0;
    bool json = false;
    std::vector<std::string> asignaciones;
};

std::unique_ptr<CHost> AbrirHost(const Opciones& o) {
    const CString carpeta = o.plugins.empty() ? CarpetaDelPrograma() : CString(o.plugins);
    auto host = std::make_unique<CHost>(o.db.empty() ? RutaBDPorDefecto() : CString(o.db), carpeta);
    for (const CString& e : host->Plugins().Errores())
        std::fprintf(stderr, "%s\n", e.c_str());
    if (host->Plugins().Plugins().empty())
        throw ErrorUsuario("No hay ningún módulo de formulario en " + carpeta);
    return host;
}

int Forms(CHost& host) {
    for (const auto& p : host.Plugins().Plugins())
        Imprimir(p.codigo + "\t" + p.version + "\t" + p.titulo + "\t" + p.periodo);
    return kHecho;
}

int New(CHost& host, const Opciones& o) {
    const CString mes = NormalizarMes(o.mes);
    const CString anio = ValidarAnio(o.anio);
    auto doc = host.Nueva(CString(o.formulario), mes, anio);
    Imprimir(doc->GetCodDeclar());
    return kHecho;
}

int List(CHost& host) {
    for (const auto& r : host.Almacen().Listar())
        Imprimir(r.codigo + "\t" + r.modelo + "\t" + r.estado + "\t" + r.mes + "\t" + r.anio);
    return kHecho;
}

int Show(CHost& host, const Opciones& o) {
    auto doc = host.Abrir(CString(o.codigo));
    nlohmann::json j = nlohmann::json::object();
    for (const auto& [clave, valor] : doc->Casillas()) {
        const auto [pagina, casilla] = clave;
        if (o.pagina != 0 && pagina != o.pagina - 1)
            continue;
        if (o.json)
            j[NombreCasilla(pagina, casilla).str()] = valor.str();
        else
            Imprimir(NombreCasilla(pagina, casilla) + "\t" + valor);
    }
    if (o.json)
        Imprimir(CString(Json(j)));
    return kHecho;
}

int Set(CHost& host, const Opciones& o) {
    // Everything is read and checked before anything is written.
    struct Asignacion {
        int pagina, casilla;
        CString valor;
    };
    std::vector<Asignacion> cambios;
    for (const std::string& a : o.asignaciones) {
        const size_t igual = a.find('=');
        Asignacion c{};
        if (igual == std::string::npos || !LeerCasilla(a.substr(0, igual), c.pagina, c.casilla))
            throw ErrorUsuario("Casilla mal escrita: " + CString(a) +
                               " (se espera P1-nn=valor o P2-nn=valor)");
        c.valor = CString(a.substr(igual + 1));
        for (int i = 0; i < c.valor.GetLength(); ++i)
            if (static_cast<unsigned char>(c.valor[i]) < 0x20)
                throw ErrorUsuario("El valor de " + CString(a.substr(0, igual)) +
                                   " lleva caracteres de control");
        cambios.push_back(c);
    }
    auto doc = host.Abrir(CString(o.codigo));
    ExigirBorrador(*doc);
    for (const Asignacion& c : cambios)
        doc->SetCasilla(c.casilla, c.pagina, c.valor);
    host.Guardar(*doc);
    return kHecho;
}

} // namespace

int EjecutarModelo(int argc, char** argv) {
    Opciones o;
    CLI::App app{"Modelo: cumplimentación, validación e impresión de autoliquidaciones", "modelo"};
    app.option_defaults()->always_capture_default(false);
    app.add_option("--db", o.db, "Fichero de la base de datos")->type_name("FICHERO");
    app.add_option("--plugins", o.plugins, "Carpeta de los módulos de formulario")
        ->type_name("CARPETA");
    app.require_subcommand(0, 1);

    auto* forms = app.add_subcommand("forms", "Lista los formularios cargados");
    auto* nueva = app.add_subcommand("new", "Crea una declaración y muestra su código");
    nueva->add_option("FORM", o.formulario, "Código del formulario (863, 871)")->required();
    nueva->add_option("--month", o.mes, "Mes de devengo (01 a 12)");
    nueva->add_option("--year", o.anio, "Año de devengo (cuatro cifras)");
    auto* list = app.add_subcommand("list", "Lista las declaraciones guardadas");
    auto* show = app.add_subcommand("show", "Muestra las casillas con valor de una declaración");
    show->add_option("CODE", o.codigo, "Código de la declaración")->required();
    show->add_option("--page", o.pagina, "Sólo esa página")->check(CLI::IsMember({1, 2}));
    show->add_flag("--json", o.json, "Salida JSON");
    auto* set = app.add_subcommand("set", "Escribe casillas y las guarda");
    set->add_option("CODE", o.codigo, "Código de la declaración")->required();
    set->add_option("BOX=VALUE", o.asignaciones, "Casillas, como P1-10=B12345674")->required();

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int rc = app.exit(e);
        return rc == 0 ? kHecho : kRechazado;
    }

    try {
        if (app.get_subcommands().empty()) {
            std::fputs(app.help().c_str(), stdout);
            return kHecho;
        }
        auto host = AbrirHost(o);
        if (*forms)
            return Forms(*host);
        if (*nueva)
            return New(*host, o);
        if (*list)
            return List(*host);
        if (*show)
            return Show(*host, o);
        if (*set)
            return Set(*host, o);
    } catch (const ErrorUsuario& e) {
        std::fprintf(stderr, "modelo: %s\n", e.what());
        return kRechazado;
    } catch (const CExcepcionBD& e) {
        std::fprintf(stderr, "modelo: error de la base de datos: %s\n", e.what());
        return kRechazado;
    }
    return kRechazado;
}
