// The page views from the command line: a page opened exactly as the window opens it, listed
// control by control or drawn as a person would see it.
#include "ComandosComun.h"
#include "Modelo/Controles.h"
#include "render/Pagina.h"

namespace {

// The value a control shows: its text; "S" or "" for a check box; the date or "" for a picker.
CString ValorMostrado(CWnd& w) {
    switch (w.GetClase()) {
    case ClaseControl::CheckBox:
        return static_cast<CButton&>(w).GetCheck() == BST_CHECKED ? "S" : "";
    case ClaseControl::DateTimeOpt:
    case ClaseControl::DateTimeFixFormat:
        return static_cast<CDateTimeCtrl&>(w).TextoFecha();
    default:
        return w.GetWindowText();
    }
}

CString CasillaDe(const CGuiaView& vista, int id) {
    const PlantillaDialogo* p = vista.Plantilla();
    const ControlPlantilla* c = p ? p->Control(id) : nullptr;
    return c && c->casilla >= 0 ? NombreCasilla(vista.GetPagina(), c->casilla) : CString("-");
}

// Tabs and line ends inside a value would break the columns.
CString EnUnaLinea(CString texto) {
    texto.Replace('\t', ' ');
    texto.Replace('\n', ' ');
    texto.Replace('\r', ' ');
    return texto;
}

void Listar(const CGuiaView& vista, bool json) {
    nlohmann::json lista = nlohmann::json::array();
    for (CWnd* w : vista.Controles()) {
        CRect r;
        w->GetWindowRect(&r);
        const CString clase = NombreClaseControl(w->GetClase());
        const CString valor = ValorMostrado(*w);
        const CString casilla = CasillaDe(vista, w->GetDlgCtrlID());
        if (!json) {
            Imprimir(CString::Formatted("%d\t", w->GetDlgCtrlID()) + casilla + "\t" + clase + "\t" +
                     EnUnaLinea(valor) +
                     CString::Formatted("\t%d\t%d\t%d,%d,%d,%d", w->IsWindowEnabled(),
                                        w->IsWindowVisible(), r.left, r.top, r.Width(),
                                        r.Height()));
            continue;
        }
        nlohmann::json j = {
            {"id", w->GetDlgCtrlID()},
            {"casilla", casilla == "-" ? nlohmann::json(nullptr) : nlohmann::json(casilla.str())},
            {"clase", clase.str()},
            {"valor", valor.str()},
            {"habilitado", w->IsWindowEnabled()},
            {"visible", w->IsWindowVisible()},
            {"rect", {{"x", r.left}, {"y", r.top}, {"ancho", r.Width()}, {"alto", r.Height()}}}};
        if (w->GetClase() == ClaseControl::CheckBox)
            j["marcada"] = valor == "S";
        if (w->GetClase() == ClaseControl::DateTimeOpt ||
            w->GetClase() == ClaseControl::DateTimeFixFormat)
            j["fecha"] = valor.IsEmpty() ? nlohmann::json(nullptr) : nlohmann::json(valor.str());
        lista.push_back(std::move(j));
    }
    if (json)
        Imprimir(CString(Json(lista)));
}

} // namespace

void RegistrarVistas(CLI::App& app, Contexto& ctx) {
    struct Opc {
        std::string codigo, salida;
        int pagina = 1;
        bool json = false;
    };
    auto o = std::make_shared<Opc>();
    auto* cmd = app.add_subcommand(
        "view", "Abre una página de la declaración como la ve una persona y lista sus controles");
    cmd->add_option("CODE", o->codigo, "Código de la declaración")->required();
    OpcionEntera(cmd->add_option("--page", o->pagina, "Página: 1 (por defecto) o 2"), 1, 2);
    cmd->add_flag("--json", o->json, "Salida JSON");
    cmd->add_option("-o,--output", o->salida, "Dibuja la página en este fichero PNG")
        ->type_name("FICHERO");
    cmd->callback([&ctx, o] {
        auto doc = ctx.Host().Abrir(CString(o->codigo));
        CString error;
        std::unique_ptr<CGuiaView> vista = AbrirVistaPagina(*doc, o->pagina - 1, error);
        if (!vista)
            throw ErrorUsuario(error);
        if (!o->salida.empty()) {
            const QImage imagen = DibujarVista(*vista);
            if (imagen.isNull())
                throw ErrorUsuario("El formulario no tiene la imagen de la página");
            std::string motivo;
            if (!GuardarPNG(imagen, o->salida, motivo))
                throw ErrorUsuario("No se puede escribir el fichero " + CString(o->salida) + ": " +
                                   CString(motivo));
            return;
        }
        Listar(*vista, o->json);
    });
}
