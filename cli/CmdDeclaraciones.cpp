// Commands on stored declarations: the forms, create, list, delete, show, the box catalogue,
// write boxes, replicate.
#include "CasosDeUso.h"
#include "ComandosComun.h"
#include "Formularios.h"
#include "Modelo/base/Funciones.h"
#include "Traspaso.h"

#include <algorithm>
#include <cstdio>

CString LeerMes(const std::string& mes) {
    if (mes.empty())
        return CString();
    const bool digitos = mes.size() <= 2 && std::all_of(mes.begin(), mes.end(), texto::EsDigito);
    const int n = digitos ? std::stoi(mes) : 0;
    if (n < 1 || n > 12)
        throw ErrorUsuario("Mes no válido: " + CitaBreve(CString(mes)) + " (de 01 a 12)");
    return CString::Formatted("%02d", n);
}

CString LeerAnio(const std::string& anio) {
    if (anio.empty())
        return CString();
    if (anio.size() != 4 || !std::all_of(anio.begin(), anio.end(), texto::EsDigito))
        throw ErrorUsuario("Año no válido: " + CitaBreve(CString(anio)) + " (cuatro cifras)");
    return CString(anio);
}

namespace {

struct Asignacion {
    int pagina, casilla;
    CString valor;
};

// Everything is read and checked before anything is written. Only the boxes a person fills on
// page 1 (and the declarant number an import writes) may be set: page 2 is a copy that every
// save rewrites, and the boxes the program writes are not a script's to change.
std::vector<Asignacion> LeerAsignaciones(const std::vector<std::string>& textos,
                                         const CGuiaDoc& doc) {
    std::vector<Asignacion> cambios;
    for (const std::string& a : textos) {
        const size_t igual = a.find('=');
        Asignacion c{};
        if (igual == std::string::npos || !LeerCasilla(a.substr(0, igual), c.pagina, c.casilla))
            throw ErrorUsuario("Casilla mal escrita: " + CitaBreve(CString(a)) +
                               " (se espera P1-nn=valor o P2-nn=valor)");
        const CString nombre = CitaBreve(CString(a.substr(0, igual)));
        if (c.pagina != 0)
            throw ErrorUsuario("La casilla " + nombre +
                               " es copia de la página 1 y se rellena al guardar; escriba la "
                               "casilla P1-" +
                               CString::Formatted("%d", c.casilla));
        const stCasillaCatalogo* entrada = doc.EntradaCatalogo(c.casilla);
        if (!entrada)
            throw ErrorUsuario("El formulario no tiene la casilla " + nombre +
                               " (modelo boxes lista las casillas)");
        if (entrada->Formato == FormatoCasilla::Fija)
            throw ErrorUsuario("La casilla " + nombre +
                               " la escribe el programa al crear la declaración");
        c.valor = CString(a.substr(igual + 1));
        if (texto::TieneControl(c.valor.view()))
            throw ErrorUsuario("El valor de " + CitaBreve(CString(a.substr(0, igual))) +
                               " lleva caracteres de control");
        cambios.push_back(c);
    }
    return cambios;
}

CString NombreEstado(const CString& e) {
    if (e == estado::Borrador)
        return "borrador";
    if (e == estado::Definitiva)
        return "definitiva";
    return e;
}

} // namespace

// Nobody at a terminal, or an answer other than yes, is a no.
bool Confirmar(const CString& pregunta) {
    std::fputs(pregunta.c_str(), stderr);
    std::fflush(stderr);
    char linea[64] = {};
    if (!std::fgets(linea, sizeof linea, stdin))
        return false;
    return linea[0] == 's' || linea[0] == 'S';
}

namespace {

void RegistrarFormularios(CLI::App& app, Contexto& ctx) {
    auto json = std::make_shared<bool>(false);
    auto* cmd = app.add_subcommand("forms", "Lista los formularios cargados");
    OpcionJson(cmd, *json);
    cmd->callback([&ctx, json] {
        Tabla tabla;
        for (const auto& p : ctx.Host().Plugins().Plugins())
            tabla.Nueva()
                .Columna("codigo", p.codigo)
                .Columna("version", p.version)
                .Columna("titulo", p.titulo)
                .Columna("periodo", p.periodo);
        tabla.Escribir(*json);
    });
}

void RegistrarNueva(CLI::App& app, Contexto& ctx) {
    struct Opc {
        std::string formulario, mes, anio, complementaria, sustitutiva, como;
    };
    auto o = std::make_shared<Opc>();
    auto* cmd = app.add_subcommand("new", "Crea una declaración y muestra su código");
    cmd->add_option("FORM", o->formulario,
                    std::string("Código del formulario (") + formularios::kLista + ")")
        ->required();
    cmd->add_option("--month", o->mes, "Mes de devengo (01 a 12)");
    cmd->add_option("--year", o->anio, "Año de devengo (cuatro cifras)");
    auto* comp = cmd->add_option("--complementary-of", o->complementaria,
                                 "Complementaria de esta declaración definitiva");
    auto* sust = cmd->add_option("--substitutive-of", o->sustitutiva,
                                 "Sustitutiva de esta declaración definitiva")
                     ->excludes(comp);
    cmd->add_option("--like", o->como,
                    "Con los intervinientes de esta declaración y sin importes; por defecto, "
                    "del periodo siguiente al suyo")
        ->excludes(comp)
        ->excludes(sust);
    cmd->callback([&ctx, o] {
        const CString mes = LeerMes(o->mes);
        const CString anio = LeerAnio(o->anio);
        const CString formulario(o->formulario);
        CHost& host = ctx.Host();
        const bool complementaria = !o->complementaria.empty();
        const CString anterior(complementaria ? o->complementaria : o->sustitutiva);
        std::unique_ptr<CGuiaDoc> doc;
        if (!o->como.empty())
            doc = casos::NuevaComo(host, formulario, CString(o->como), mes, anio);
        else if (!anterior.IsEmpty())
            doc = casos::NuevaCorrectora(host, formulario, anterior, complementaria, mes, anio);
        else
            doc = host.Nueva(formulario, mes, anio);
        Imprimir(doc->GetCodDeclar());
    });
}

void RegistrarListar(CLI::App& app, Contexto& ctx) {
    struct Opc {
        std::string nif, formulario, anio;
        bool json = false;
    };
    auto o = std::make_shared<Opc>();
    auto* cmd = app.add_subcommand(
        "list", "Lista las declaraciones guardadas con su sujeto pasivo y su estado");
    cmd->add_option("--nif", o->nif, "Sólo las de este NIF del sujeto pasivo");
    cmd->add_option("--form", o->formulario, "Sólo las de este formulario");
    cmd->add_option("--year", o->anio, "Sólo las de este año de devengo");
    OpcionJson(cmd, o->json);
    cmd->callback([&ctx, o] {
        const CString anio = LeerAnio(o->anio);
        Tabla tabla;
        for (const casos::Declaracion& d :
             casos::Declaraciones(ctx.Host(), CString(o->formulario), anio, CString(o->nif))) {
            const CAlmacenDeclaraciones::Resumen& r = d.resumen;
            tabla.Nueva()
                .Columna("codigo", r.codigo)
                .Columna("modelo", r.modelo)
                .Columna("estado", NombreEstado(r.estado))
                .Columna("mes", r.mes)
                .Columna("anio", r.anio)
                .Columna("nif", d.sujeto.nif)
                .Columna("nombre", d.sujeto.nombre)
                .SoloJson("modificada", r.modificada.str());
        }
        tabla.Escribir(o->json);
    });
}

void RegistrarBorrar(CLI::App& app, Contexto& ctx) {
    struct Opc {
        std::string codigo;
        bool si = false;
    };
    auto o = std::make_shared<Opc>();
    auto* cmd = app.add_subcommand("delete", "Borra una declaración en borrador");
    OpcionCodigo(cmd, o->codigo);
    cmd->add_flag("--yes", o->si, "Sin pedir confirmación");
    cmd->callback([&ctx, o] {
        const CString codigo(o->codigo);
        const bool borrada = casos::BorrarBorrador(ctx.Host(), codigo, [&] {
            return o->si || Confirmar("¿Borrar la declaración " + codigo + "? [s/N] ");
        });
        if (!borrada)
            throw ErrorUsuario("No se ha borrado la declaración " + codigo);
        Imprimir("Declaración " + codigo + " borrada.");
    });
}

void RegistrarMostrar(CLI::App& app, Contexto& ctx) {
    struct Opc {
        std::string codigo;
        int pagina = 0;
        bool json = false, largo = false;
    };
    auto o = std::make_shared<Opc>();
    auto* cmd = app.add_subcommand("show", "Muestra las casillas con valor de una declaración");
    OpcionCodigo(cmd, o->codigo);
    OpcionEntera(cmd->add_option("--page", o->pagina, "Sólo esa página"), 1, 2);
    OpcionJson(cmd, o->json);
    cmd->add_flag("--long", o->largo, "Añade el significado de cada casilla");
    cmd->callback([&ctx, o] {
        auto doc = ctx.Host().Abrir(CString(o->codigo));
        // By page and box number, as the document keeps them: P1-2 before P1-10.
        Tabla tabla(Tabla::Forma::PorClave);
        for (const auto& [clave, valor] : doc->Casillas()) {
            const auto [pagina, casilla] = clave;
            if (o->pagina != 0 && pagina != o->pagina - 1)
                continue;
            Fila& fila = tabla.Nueva().Columna("casilla", NombreCasilla(pagina, casilla));
            fila.Columna("valor", valor);
            if (o->largo)
                fila.Columna("significado", SignificadoCasilla(*doc, pagina, casilla));
        }
        tabla.Escribir(o->json);
    });
}

void RegistrarCatalogo(CLI::App& app, Contexto& ctx) {
    struct Opc {
        std::string formulario;
        bool json = false;
    };
    auto o = std::make_shared<Opc>();
    auto* cmd = app.add_subcommand(
        "boxes", "Lista las casillas de la página 1 de un formulario: significado y formato");
    cmd->add_option("--form", o->formulario, "Formulario (por defecto, el primero cargado)");
    OpcionJson(cmd, o->json);
    cmd->callback([&ctx, o] {
        CHost& host = ctx.Host();
        const CString formulario = o->formulario.empty() ? host.Plugins().Plugins().front().codigo
                                                         : CString(o->formulario);
        auto doc = host.Suelto(formulario);
        Tabla tabla;
        for (const stCasillaCatalogo& e : doc->CatalogoPagina1())
            tabla.Nueva()
                .Columna("casilla", NombreCasilla(0, e.Casilla))
                .Columna("significado", e.Significado)
                .Columna("formato", NombreFormato(e.Formato))
                .SoloJson("escribible", e.Formato != FormatoCasilla::Fija);
        tabla.Escribir(o->json);
    });
}

void RegistrarEscribir(CLI::App& app, Contexto& ctx) {
    struct Opc {
        std::string codigo;
        std::vector<std::string> asignaciones;
    };
    auto o = std::make_shared<Opc>();
    auto* cmd = app.add_subcommand(
        "set",
        "Escribe casillas de la página 1 tal cual, sin sus reglas, y guarda (type las aplica)");
    OpcionCodigo(cmd, o->codigo);
    cmd->add_option("BOX=VALUE", o->asignaciones, "Casillas, como P1-10=B12345674")->required();
    cmd->callback([&ctx, o] {
        casos::CambioDeBorrador borrador(ctx.Host(), CString(o->codigo));
        for (const Asignacion& c : LeerAsignaciones(o->asignaciones, borrador.Doc()))
            borrador.Doc().SetCasilla(c.casilla, c.pagina, c.valor);
        borrador.Guardar();
    });
}

void RegistrarReplicar(CLI::App& app, Contexto& ctx) {
    auto codigo = std::make_shared<std::string>();
    auto* cmd = app.add_subcommand("replicate", "Copia la página 1 en la página 2 y guarda");
    OpcionCodigo(cmd, *codigo);
    // Every save replicates first.
    cmd->callback(
        [&ctx, codigo] { casos::CambioDeBorrador(ctx.Host(), CString(*codigo)).Guardar(); });
}

} // namespace

void RegistrarDeclaraciones(CLI::App& app, Contexto& ctx) {
    RegistrarFormularios(app, ctx);
    RegistrarNueva(app, ctx);
    RegistrarListar(app, ctx);
    RegistrarBorrar(app, ctx);
    RegistrarMostrar(app, ctx);
    RegistrarCatalogo(app, ctx);
    RegistrarEscribir(app, ctx);
    RegistrarReplicar(app, ctx);
}
