#include "Comandos.h"

#include "ComandosComun.h"
#include "Modelo/FicheroAtomico.h"
#include "Modelo/Funciones.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>
#include <vector>

CString Contexto::RutaBD() const {
    return db ? CString(*db) : RutaBDPorDefecto();
}

CHost& Contexto::Host() {
    if (!host_) {
        const CString carpeta = plugins ? CString(*plugins) : CarpetaDelPrograma();
        host_ = std::make_unique<CHost>(RutaBD(), carpeta);
        for (const CString& e : host_->Plugins().Errores())
            std::fprintf(stderr, "%s\n", e.c_str());
        if (host_->Plugins().Plugins().empty())
            throw ErrorUsuario("No hay ningún módulo de formulario en " + carpeta);
    }
    return *host_;
}

namespace {
// Why stdout first refused a write. The C library drops what it could not write, so a later
// flush no longer fails and the reason would be lost.
int errnoSalida = 0;

void AnotarFalloSalida() {
    if (errnoSalida == 0 && std::ferror(stdout))
        errnoSalida = errno;
}
} // namespace

void Imprimir(const CString& linea) {
    std::fwrite(linea.c_str(), 1, size_t(linea.GetLength()), stdout);
    std::fputc('\n', stdout);
    AnotarFalloSalida();
}

std::string Json(const nlohmann::json& j) {
    return j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string Json(const nlohmann::ordered_json& j) {
    return j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

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

CString SignificadoCasilla(const CGuiaDoc& doc, int pagina, int casilla) {
    const stCasillaCatalogo* e = doc.EntradaCatalogo(casilla);
    if (!e)
        return CString();
    return pagina == 0 ? CString(e->Significado)
                       : CString(e->Significado) + " (copia de la página 1)";
}

CLI::Option* OpcionEntera(CLI::Option* opcion, int minimo, int maximo) {
    const std::string de = std::to_string(minimo), a = std::to_string(maximo);
    std::string ayuda = de + " a " + a, rango = "un número entero de " + ayuda;
    if (maximo == std::numeric_limits<int>::max()) {
        ayuda = de + " en adelante";
        rango = "un número entero de " + ayuda;
    } else if (maximo == minimo + 1) {
        ayuda = de + " o " + a;
        rango = de + " ni " + a;
    }
    // A transform, not a check: it also rewrites the number plainly for the parser.
    return opcion->type_name("ENTERO")->transform(CLI::Validator(
        [minimo, maximo, rango](std::string& valor) -> std::string {
            const bool digitos =
                !valor.empty() && std::all_of(valor.begin(), valor.end(), texto::EsDigito);
            const size_t primera =
                digitos ? std::min(valor.find_first_not_of('0'), valor.size() - 1) : 0;
            // Ten digits fit a long long whatever they are; more is out of range anyway.
            const bool cabe = digitos && valor.size() - primera <= 10;
            const long long n = cabe ? std::stoll(valor.substr(primera)) : 0;
            if (digitos && (!cabe || n > maximo) && maximo == std::numeric_limits<int>::max())
                return "«" + valor + "» es demasiado grande";
            if (!cabe || n < minimo || n > maximo)
                return "«" + valor + "» no es " + rango;
            valor.erase(0, primera); // "010" is ten, never an octal eight
            return "";
        },
        ayuda));
}

namespace {
// An empty name would silently mean the default one: a script whose variable came out empty
// must not write into the user's own database.
std::function<void(const std::string&)> NoVacio(std::optional<std::string>& destino,
                                                const char* opcion) {
    return [&destino, opcion](const std::string& valor) {
        if (valor.empty())
            throw CLI::ValidationError(opcion, "no puede ser un nombre vacío");
        destino = valor;
    };
}

// One of the parser's sentences, its quoted parts written "{}": true, with those parts in order,
// when `mensaje` is that sentence. Each literal part is found at its first place after the
// previous one (the names of options hold none of them), so a huge argument costs one pass.
bool Frase(const std::string& patron, const std::string& mensaje,
           std::vector<std::string>& partes) {
    std::vector<std::string> literales;
    for (size_t i = 0;;) {
        const size_t hueco = patron.find("{}", i);
        literales.push_back(patron.substr(i, hueco - i));
        if (hueco == std::string::npos)
            break;
        i = hueco + 2;
    }
    partes.clear();
    if (literales.size() == 1)
        return mensaje == patron;
    if (mensaje.rfind(literales.front(), 0) != 0)
        return false;
    size_t pos = literales.front().size();
    for (size_t i = 1; i + 1 < literales.size(); ++i) {
        const size_t donde = mensaje.find(literales[i], pos + 1);
        if (donde == std::string::npos)
            return false;
        partes.push_back(mensaje.substr(pos, donde - pos));
        pos = donde + literales[i].size();
    }
    const std::string& ultimo = literales.back();
    if (mensaje.size() < pos + ultimo.size() ||
        mensaje.compare(mensaje.size() - ultimo.size(), ultimo.size(), ultimo) != 0)
        return false;
    partes.push_back(mensaje.substr(pos, mensaje.size() - ultimo.size() - pos));
    return true;
}

// The parser speaks English; a person reads its refusals in Spanish. Each pattern is one of the
// parser's own sentences, what it quotes written "{}" and put back as {1}, {2}... The more
// particular sentences come first.
std::string EnCastellano(const std::string& mensaje) {
    static const std::pair<const char*, const char*> kFrases[] = {
        {"The following arguments were not expected: {}", "Sobran estos argumentos: {1}"},
        {"The following argument was not expected: {}", "Sobra este argumento: {1}"},
        {"Requires at least {} subcommands", "Faltan órdenes: se esperaban al menos {1}"},
        {"Requires at most {} subcommands", "Sobran órdenes: se esperaban como mucho {1}"},
        {"Could not convert: {} = {}", "{1}: no es un valor válido: {2}"},
        {"The value {} is not an allowed value for {}", "{2}: no es un valor válido: {1}"},
        {"{}: too many inputs for a flag", "{1} no lleva valor"},
        {"{}: Should be true/false or a number", "{1} no lleva valor"},
        {"{} was given a disallowed flag override", "{1} no lleva valor"},
        {"Expected exactly {} arguments to {}, got {}",
         "{2} necesita exactamente {1} valores y se dieron {3}"},
        {"Expected at least {} arguments to {}, got {}",
         "{2} necesita al menos {1} valores y se dieron {3}"},
        {"{}: At least {} required but received {}",
         "{1} necesita al menos {2} valores y se dieron {3}"},
        {"{}: At Most {} required but received {}", "{1} se puede dar una sola vez"},
        {"{}: {} required {} missing", "Falta el valor de {1}"},
        {"A subcommand is required", "Falta la orden"},
        {"{} is required", "Falta {1}"},
        {"{} excludes {}", "{1} no se puede usar con {2}"},
        {"{} requires {}", "{1} necesita {2}"},
        {"{}: {} not in {}", "{1}: {2} no es uno de {3}"},
    };
    std::vector<std::string> partes;
    for (const auto& [ingles, castellano] : kFrases) {
        if (!Frase(ingles, mensaje, partes))
            continue;
        std::string dicho;
        for (const char* c = castellano; *c; ++c) {
            if (c[0] == '{' && c[1] >= '1' && c[1] <= '9' && c[2] == '}') {
                dicho += partes.at(size_t(c[1] - '1'));
                c += 2;
            } else {
                dicho += *c;
            }
        }
        return dicho;
    }
    return "";
}

// The parser's refusal in Spanish. The program's own checks of a value already speak it; any
// other sentence of the parser that is not translated above is said in general terms rather
// than in English.
std::string Traducido(const CLI::Error& e, const std::string& mensaje) {
    const std::string castellano = EnCastellano(mensaje);
    if (!castellano.empty())
        return castellano;
    if (dynamic_cast<const CLI::ValidationError*>(&e))
        return mensaje;
    return "La línea de órdenes no es válida";
}

// Edit distance with a swap of two neighbouring letters as one edit (the commonest slip), for
// the names of commands, a few letters each.
size_t Distancia(const std::string& a, const std::string& b) {
    std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
    for (size_t i = 0; i <= a.size(); ++i)
        d[i][0] = i;
    for (size_t j = 0; j <= b.size(); ++j)
        d[0][j] = j;
    for (size_t i = 1; i <= a.size(); ++i)
        for (size_t j = 1; j <= b.size(); ++j) {
            d[i][j] = std::min(
                {d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (a[i - 1] != b[j - 1])});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    return d[a.size()][b.size()];
}

// What was typed where a command was expected: the first argument the parser did not take.
std::string PalabraEscrita(const CLI::App* app, const CLI::Error& e) {
    if (dynamic_cast<const CLI::ExtrasError*>(&e)) {
        // The parser lists the arguments it did not take last one first.
        const std::string mensaje = e.what();
        return mensaje.substr(mensaje.rfind(' ') + 1);
    }
    if (dynamic_cast<const CLI::RequiredError*>(&e) && app) {
        const std::vector<std::string> resto = app->remaining();
        return resto.empty() ? "" : resto.front();
    }
    return "";
}

// A mistyped command: the one it begins, or the nearest by one edit (two for longer words).
std::string Sugerencia(const CLI::App* app, const CLI::Error& e) {
    const std::string escrito = PalabraEscrita(app, e);
    if (!app || escrito.size() < 2 || escrito[0] == '-')
        return "";
    std::string mejor;
    size_t distancia = escrito.size() > 5 ? 3 : 2; // what is farther is no slip
    for (const CLI::App* sub : app->get_subcommands([](const CLI::App*) { return true; })) {
        const std::string nombre = sub->get_name();
        const size_t d = nombre.rfind(escrito, 0) == 0 ? 1 : Distancia(escrito, nombre);
        if (d < distancia) {
            distancia = d;
            mejor = nombre;
        }
    }
    return mejor.empty() ? "" : "¿Quería decir «" + mejor + "»?\n";
}

// The parser lists the arguments it did not take last one first; a person reads them in the
// order they were typed.
std::string EnOrden(const CLI::Error& e) {
    std::string mensaje = e.what();
    const size_t dos = mensaje.find(": ");
    if (!dynamic_cast<const CLI::ExtrasError*>(&e) || dos == std::string::npos)
        return mensaje;
    std::vector<std::string> palabras;
    for (size_t i = dos + 2; i <= mensaje.size();) {
        const size_t fin = std::min(mensaje.find(' ', i), mensaje.size());
        palabras.push_back(mensaje.substr(i, fin - i));
        i = fin + 1;
    }
    mensaje.resize(dos + 1);
    for (auto it = palabras.rbegin(); it != palabras.rend(); ++it)
        mensaje += " " + *it;
    return mensaje;
}

// The parser's refusals quote what was typed; a huge argument is cut to a readable line.
std::string MensajeDeFallo(const CLI::App* app, const CLI::Error& e) {
    return "modelo: " + CitaBreve(CString(Traducido(e, EnOrden(e))), 300).str() + "\n" +
           Sugerencia(app, e) + "Use --help para ver las opciones.\n";
}

// Help in Spanish: the parser's labels, its groups and its own flags.
void AyudaEnCastellano(CLI::App& app) {
    auto formato = app.get_formatter();
    for (const auto& [clave, texto] :
         {std::pair{"Usage", "Uso"}, std::pair{"OPTIONS", "OPCIONES"},
          std::pair{"SUBCOMMAND", "ORDEN"}, std::pair{"SUBCOMMANDS", "ÓRDENES"},
          std::pair{"REQUIRED", "OBLIGATORIO"}, std::pair{"Positionals", "Argumentos"},
          std::pair{"Needs", "Necesita"}, std::pair{"Excludes", "Excluye"},
          std::pair{"TEXT", "TEXTO"}, std::pair{"INT", "ENTERO"}, std::pair{"Env", "Entorno"}})
        formato->label(clave, texto);
    app.option_defaults()->group("Opciones");
    app.set_help_flag("-h,--help", "Muestra esta ayuda y termina");
}

void GruposEnCastellano(CLI::App& app) {
    for (CLI::App* sub : app.get_subcommands([](CLI::App*) { return true; })) {
        sub->group("Órdenes");
        if (CLI::Option* ayuda = sub->get_help_ptr())
            ayuda->group("Opciones"); // made with the command, before the defaults applied
        GruposEnCastellano(*sub);
    }
}

// A script trusts what a command printed: output that never reached its destination (a full
// disk, a closed pipe) is a failure, never a success. "" when all of it got there, else why
// not.
CString SalidaPerdida() {
    errno = 0;
    const bool vaciada = std::fflush(stdout) == 0 && !std::ferror(stdout);
    const int error = errnoSalida ? errnoSalida : errno;
    errno = 0;
    // Some file systems only report at the close; a descriptor closed before anything was
    // printed has nothing to lose.
    const bool cerrada = std::fclose(stdout) == 0 || errno == EBADF;
    if (!vaciada)
        return error ? DescribirErrno(error) : CString("error de escritura");
    return cerrada ? CString() : DescribirErrno(errno);
}

int EjecutarOrden(int argc, char** argv);

} // namespace

int EjecutarModelo(int argc, char** argv) {
    const int estado = EjecutarOrden(argc, argv);
    if (const CString motivo = SalidaPerdida(); !motivo.IsEmpty()) {
        std::fprintf(stderr, "modelo: no se ha podido escribir la salida: %s\n", motivo.c_str());
        return kRechazado;
    }
    return estado;
}

namespace {

int EjecutarOrden(int argc, char** argv) {
    Contexto ctx;
    CLI::App app{"Modelo: cumplimentación, validación e impresión de autoliquidaciones", "modelo"};
    app.failure_message(MensajeDeFallo); // before the commands, which copy it
    AyudaEnCastellano(app);              // so do they the help flag and the option group
    app.set_version_flag("--version", "modelo " MODELO_VERSION, "Muestra la versión y termina");
    app.add_option_function<std::string>("--db", NoVacio(ctx.db, "--db"),
                                         "Fichero de la base de datos")
        ->type_name("FICHERO");
    app.add_option_function<std::string>("--plugins", NoVacio(ctx.plugins, "--plugins"),
                                         "Carpeta de los módulos de formulario")
        ->type_name("CARPETA");
    app.require_subcommand(0, 1);
    RegistrarDeclaraciones(app, ctx);
    RegistrarDatos(app, ctx);
    RegistrarMantenimientoIntervinientes(app, ctx);
    RegistrarVentana(app, ctx);
    RegistrarCodigos(app, ctx);
    RegistrarValidacion(app, ctx);
    RegistrarPagina(app, ctx);
    RegistrarVistas(app, ctx);
    RegistrarImpresion(app, ctx);
    GruposEnCastellano(app);

    try {
        app.parse(argc, argv); // the chosen command runs inside, as its callback
        if (app.get_subcommands().empty())
            std::fputs(app.help().c_str(), stdout);
        return ctx.estado;
    } catch (const CLI::ParseError& e) {
        const int rc = app.exit(e);
        AnotarFalloSalida(); // the parser flushes its help and version itself
        return rc == 0 ? kHecho : kRechazado;
    } catch (const ErrorUsuario& e) {
        std::fprintf(stderr, "modelo: %s\n", e.what());
    } catch (const CExcepcionFichero& e) {
        std::fprintf(stderr, "modelo: %s\n", e.what());
    } catch (const CExcepcionBD& e) {
        std::fprintf(stderr, "modelo: %s\n", DescribirFalloBD(e, ctx.RutaBD()).c_str());
    } catch (const std::exception& e) {
        // Anything else (a file system error, memory) still ends in one line and a refusal.
        std::fprintf(stderr, "modelo: error: %s\n", e.what());
    }
    return kRechazado;
}

} // namespace
