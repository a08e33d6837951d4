#include "Castellano.h"

#include "Modelo/base/Funciones.h"

#include <algorithm>
#include <vector>

namespace {

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

} // namespace

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
