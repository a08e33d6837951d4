// Commands on stored declarations: create, list, show, write boxes, replicate.
#include "CasosDeUso.h"
#include "ComandosComun.h"
#include "Formularios.h"
#include "Modelo/Funciones.h"

#include <algorithm>
#include <cstdio>

namespace {

// "3" or "03" -> "03"; anything else is refused.
CString NormalizarMes(const std::string& mes) {
    if (mes.empty())
        return CString();
    const bool digitos = mes.size() <= 2 && std::all_of(mes.begin(), mes.end(), texto::EsDigito);
    const int n = digitos ? std::stoi(mes) : 0;
    if (n < 1 || n > 12)
        throw ErrorUsuario("Mes no válido: " + CitaBreve(CString(mes)) + " (de 01 a 12)");
    return CString::Formatted("%02d", n);
}

CString ValidarAnio(const std::string& anio) {
    if (anio.empty())
        return CString();
    if (anio.size() != 4 || !std::all_of(anio.begin(), anio.end(), texto::EsDigito))
        throw ErrorUsuario("Año no válido: " + CitaBreve(CString(anio)) + " (cuatro cifras)");
    return CString(anio);
}

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

// Nobody at a terminal, or an answer other than yes, is a no.
bool Confirmar(const CString& pregunta) {
    std::fputs(pregunta.c_str(), stderr);
    std::fflush(stderr);
    char linea[64] = {};
    if (!std::fgets(linea, sizeof linea, stdin))
        return false;
    return linea[0] == 's' || linea[0] == 'S';
}

} // namespace

void RegistrarDeclaraciones(CLI::App& app, Contexto& ctx) {
    app.add_subcommand("forms", "Lista los formularios cargados")->callback([&ctx] {
        for (const auto& p : ctx.Host().Plugins().Plugins())
            Imprimir(p.codigo + "\t" + p.version + "\t" + p.titulo + "\t" + p.periodo);
    });

    struct OpcNueva {
        std::string formulario, mes, anio, complementaria, sustitutiva;
    };
    auto nueva = std::make_shared<OpcNueva>();
    auto* cmdNueva = app.add_subcommand("new", "Crea una declaración y muestra su código");
    cmdNueva
        ->add_option("FORM", nueva->formulario,
                     std::string("Código del formulario (") + formularios::kLista + ")")
        ->required();
    cmdNueva->add_option("--month", nueva->mes, "Mes de devengo (01 a 12)");
    cmdNueva->add_option("--year", nueva->anio, "Año de devengo (cuatro cifras)");
    auto* comp = cmdNueva->add_option("--complementary-of", nueva->complementaria,
                                      "Complementaria de esta declaración definitiva");
    cmdNueva
        ->add_option("--substitutive-of", nueva->sustitutiva,
                     "Sustitutiva de esta declaración definitiva")
        ->excludes(comp);
    cmdNueva->callback([&ctx, nueva] {
        CString mes = NormalizarMes(nueva->mes);
        CString anio = ValidarAnio(nueva->anio);
        CHost& host = ctx.Host();
        const bool complementaria = !nueva->complementaria.empty();
        const CString anterior(complementaria ? nueva->complementaria : nueva->sustitutiva);
        if (anterior.IsEmpty()) {
            Imprimir(host.Nueva(CString(nueva->formulario), mes, anio)->GetCodDeclar());
            return;
        }
        // The earlier declaration is read in the transaction that creates the new one.
        CBaseDatos::Transaccion t(host.BaseDatos());
        const CAlmacenDeclaraciones::Resumen previa = host.Buscar(anterior);
        if (previa.modelo.Left(3) != CString(nueva->formulario))
            throw ErrorUsuario("La declaración " + anterior + " es del modelo " + previa.modelo +
                               "; la nueva tiene que ser del mismo formulario");
        if (previa.estado != estado::Definitiva)
            throw ErrorUsuario("La declaración " + anterior +
                               " sigue en borrador: se corrige modificándola, sin complementaria "
                               "ni sustitutiva");
        if (mes.IsEmpty() && anio.IsEmpty()) {
            mes = previa.mes;
            anio = previa.anio;
        }
        auto doc = host.Nueva(CString(nueva->formulario), mes, anio);
        host.Corregir(*doc, CHost::Anterior(previa, complementaria ? TipoCorreccion::Complementaria
                                                                   : TipoCorreccion::Sustitutiva));
        host.Guardar(*doc);
        t.Confirmar();
        Imprimir(doc->GetCodDeclar());
    });

    struct OpcListar {
        std::string nif, formulario, anio;
        bool json = false;
    };
    auto listar = std::make_shared<OpcListar>();
    auto* cmdListar = app.add_subcommand(
        "list", "Lista las declaraciones guardadas con su sujeto pasivo y su estado");
    cmdListar->add_option("--nif", listar->nif, "Sólo las de este NIF del sujeto pasivo");
    cmdListar->add_option("--form", listar->formulario, "Sólo las de este formulario");
    cmdListar->add_option("--year", listar->anio, "Sólo las de este año de devengo");
    cmdListar->add_flag("--json", listar->json, "Salida JSON");
    cmdListar->callback([&ctx, listar] {
        CHost& host = ctx.Host();
        const CString anio = ValidarAnio(listar->anio);
        CBaseDatos::Transaccion t(host.BaseDatos(), CBaseDatos::Transaccion::Lectura);
        nlohmann::ordered_json lista = nlohmann::ordered_json::array();
        for (const auto& r : host.Almacen().Listar(CString(listar->formulario), anio)) {
            const CHost::Sujeto sujeto = host.SujetoDe(r.codigo, r.modelo);
            if (!listar->nif.empty() && sujeto.nif != CString(listar->nif))
                continue;
            const CString estado = NombreEstado(r.estado);
            if (!listar->json) {
                Imprimir(r.codigo + "\t" + r.modelo + "\t" + estado + "\t" + r.mes + "\t" + r.anio +
                         "\t" + sujeto.nif + "\t" + sujeto.nombre);
                continue;
            }
            lista.push_back({{"codigo", r.codigo.str()},
                             {"modelo", r.modelo.str()},
                             {"estado", estado.str()},
                             {"mes", r.mes.str()},
                             {"anio", r.anio.str()},
                             {"nif", sujeto.nif.str()},
                             {"nombre", sujeto.nombre.str()},
                             {"modificada", r.modificada.str()}});
        }
        if (listar->json)
            Imprimir(CString(Json(lista)));
        t.Confirmar();
    });

    struct OpcBorrar {
        std::string codigo;
        bool si = false;
    };
    auto borrar = std::make_shared<OpcBorrar>();
    auto* cmdBorrar = app.add_subcommand("delete", "Borra una declaración en borrador");
    cmdBorrar->add_option("CODE", borrar->codigo, "Código de la declaración")->required();
    cmdBorrar->add_flag("--yes", borrar->si, "Sin pedir confirmación");
    cmdBorrar->callback([&ctx, borrar] {
        const CString codigo(borrar->codigo);
        const bool borrada = casos::BorrarBorrador(ctx.Host(), codigo, [&] {
            return borrar->si || Confirmar("¿Borrar la declaración " + codigo + "? [s/N] ");
        });
        if (!borrada)
            throw ErrorUsuario("No se ha borrado la declaración " + codigo);
        Imprimir("Declaración " + codigo + " borrada.");
    });

    struct OpcMostrar {
        std::string codigo;
        int pagina = 0;
        bool json = false, largo = false;
    };
    auto mostrar = std::make_shared<OpcMostrar>();
    auto* cmdMostrar =
        app.add_subcommand("show", "Muestra las casillas con valor de una declaración");
    cmdMostrar->add_option("CODE", mostrar->codigo, "Código de la declaración")->required();
    OpcionEntera(cmdMostrar->add_option("--page", mostrar->pagina, "Sólo esa página"), 1, 2);
    cmdMostrar->add_flag("--json", mostrar->json, "Salida JSON");
    cmdMostrar->add_flag("--long", mostrar->largo, "Añade el significado de cada casilla");
    cmdMostrar->callback([&ctx, mostrar] {
        auto doc = ctx.Host().Abrir(CString(mostrar->codigo));
        // By page and box number, as the document keeps them: P1-2 before P1-10.
        nlohmann::ordered_json j = nlohmann::ordered_json::object();
        for (const auto& [clave, valor] : doc->Casillas()) {
            const auto [pagina, casilla] = clave;
            if (mostrar->pagina != 0 && pagina != mostrar->pagina - 1)
                continue;
            const std::string nombre = NombreCasilla(pagina, casilla).str();
            const CString significado = SignificadoCasilla(*doc, pagina, casilla);
            if (mostrar->json && mostrar->largo)
                j[nombre] = {{"valor", valor.str()}, {"significado", significado.str()}};
            else if (mostrar->json)
                j[nombre] = valor.str();
            else if (mostrar->largo)
                Imprimir(CString(nombre) + "\t" + valor + "\t" + significado);
            else
                Imprimir(CString(nombre) + "\t" + valor);
        }
        if (mostrar->json)
            Imprimir(CString(Json(j)));
    });

    struct OpcCasillas {
        std::string formulario;
        bool json = false;
    };
    auto casillas = std::make_shared<OpcCasillas>();
    auto* cmdCasillas = app.add_subcommand(
        "boxes", "Lista las casillas de la página 1 de un formulario: significado y formato");
    cmdCasillas->add_option("--form", casillas->formulario,
                            "Formulario (por defecto, el primero cargado)");
    cmdCasillas->add_flag("--json", casillas->json, "Salida JSON");
    cmdCasillas->callback([&ctx, casillas] {
        CHost& host = ctx.Host();
        const CString formulario = casillas->formulario.empty()
                                       ? host.Plugins().Plugins().front().codigo
                                       : CString(casillas->formulario);
        auto doc = host.Suelto(formulario);
        nlohmann::ordered_json lista = nlohmann::ordered_json::array();
        for (const stCasillaCatalogo& e : doc->CatalogoPagina1()) {
            const CString nombre = NombreCasilla(0, e.Casilla);
            if (!casillas->json) {
                Imprimir(nombre + "\t" + e.Significado + "\t" + NombreFormato(e.Formato));
                continue;
            }
            lista.push_back({{"casilla", nombre.str()},
                             {"significado", e.Significado},
                             {"formato", NombreFormato(e.Formato).str()},
                             {"escribible", e.Formato != FormatoCasilla::Fija}});
        }
        if (casillas->json)
            Imprimir(CString(Json(lista)));
    });

    struct OpcEscribir {
        std::string codigo;
        std::vector<std::string> asignaciones;
    };
    auto escribir = std::make_shared<OpcEscribir>();
    auto* cmdEscribir = app.add_subcommand(
        "set",
        "Escribe casillas de la página 1 tal cual, sin sus reglas, y guarda (type las aplica)");
    cmdEscribir->add_option("CODE", escribir->codigo, "Código de la declaración")->required();
    cmdEscribir->add_option("BOX=VALUE", escribir->asignaciones, "Casillas, como P1-10=B12345674")
        ->required();
    cmdEscribir->callback([&ctx, escribir] {
        CHost& host = ctx.Host();
        // Read and written under one write lock: another program's save cannot fall between
        // reading the boxes and writing them all back.
        CBaseDatos::Transaccion t(host.BaseDatos());
        auto doc = host.Abrir(CString(escribir->codigo));
        CHost::ExigirBorrador(*doc);
        const std::vector<Asignacion> cambios = LeerAsignaciones(escribir->asignaciones, *doc);
        for (const Asignacion& c : cambios)
            doc->SetCasilla(c.casilla, c.pagina, c.valor);
        host.Guardar(*doc);
        t.Confirmar();
    });

    auto codigoReplicar = std::make_shared<std::string>();
    auto* cmdReplicar =
        app.add_subcommand("replicate", "Copia la página 1 en la página 2 y guarda");
    cmdReplicar->add_option("CODE", *codigoReplicar, "Código de la declaración")->required();
    cmdReplicar->callback([&ctx, codigoReplicar] {
        CHost& host = ctx.Host();
        CBaseDatos::Transaccion t(host.BaseDatos());
        auto doc = host.Abrir(CString(*codigoReplicar));
        CHost::ExigirBorrador(*doc);
        host.Guardar(*doc); // every save replicates first
        t.Confirmar();
    });
}
