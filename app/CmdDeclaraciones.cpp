// Commands on stored declarations: create, list, show, write boxes, replicate.
#include "ComandosComun.h"
#include "Modelo/Funciones.h"

#include <algorithm>

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
        for (int i = 0; i < c.valor.GetLength(); ++i)
            if (static_cast<unsigned char>(c.valor[i]) < 0x20)
                throw ErrorUsuario("El valor de " + CitaBreve(CString(a.substr(0, igual))) +
                                   " lleva caracteres de control");
        cambios.push_back(c);
    }
    return cambios;
}

} // namespace

void RegistrarDeclaraciones(CLI::App& app, Contexto& ctx) {
    app.add_subcommand("forms", "Lista los formularios cargados")->callback([&ctx] {
        for (const auto& p : ctx.Host().Plugins().Plugins())
            Imprimir(p.codigo + "\t" + p.version + "\t" + p.titulo + "\t" + p.periodo);
    });

    struct OpcNueva {
        std::string formulario, mes, anio;
    };
    auto nueva = std::make_shared<OpcNueva>();
    auto* cmdNueva = app.add_subcommand("new", "Crea una declaración y muestra su código");
    cmdNueva->add_option("FORM", nueva->formulario, "Código del formulario (863, 871)")->required();
    cmdNueva->add_option("--month", nueva->mes, "Mes de devengo (01 a 12)");
    cmdNueva->add_option("--year", nueva->anio, "Año de devengo (cuatro cifras)");
    cmdNueva->callback([&ctx, nueva] {
        const CString mes = NormalizarMes(nueva->mes);
        const CString anio = ValidarAnio(nueva->anio);
        auto doc = ctx.Host().Nueva(CString(nueva->formulario), mes, anio);
        Imprimir(doc->GetCodDeclar());
    });

    app.add_subcommand("list", "Lista las declaraciones guardadas")->callback([&ctx] {
        for (const auto& r : ctx.Host().Almacen().Listar())
            Imprimir(r.codigo + "\t" + r.modelo + "\t" + r.estado + "\t" + r.mes + "\t" + r.anio);
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
    cmdMostrar->add_option("--page", mostrar->pagina, "Sólo esa página")
        ->check(CLI::IsMember({1, 2}));
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
