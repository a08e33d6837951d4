// The office's clients by the months of a year.
#include "Ajustes.h"
#include "Clientes.h"
#include "ComandosComun.h"

namespace {

Celda CeldaDelMes(const casos::MesCliente& m) {
    const char* estado = m.Vacio()                        ? "ninguna"
                         : m.estado == estado::Definitiva ? "definitiva"
                                                          : "borrador";
    nlohmann::ordered_json j = {{"estado", estado}, {"codigo", m.codigo.str()}};
    if (m.Vacio())
        return Celda("-", j);
    return Celda(CString(m.estado == estado::Definitiva ? "D:" : "B:") + m.codigo, j);
}

} // namespace

void RegistrarClientes(CLI::App& app, Contexto& ctx) {
    struct Opc {
        std::string anio, formulario;
        bool json = false;
    };
    auto o = std::make_shared<Opc>();
    auto* cmd = app.add_subcommand(
        "clients", "Los clientes y el estado de su declaración de cada mes del año");
    cmd->add_option("--year", o->anio, "Año de devengo (por defecto, el del periodo por defecto)");
    cmd->add_option("--form", o->formulario, "Formulario (por defecto, el de los ajustes)");
    OpcionJson(cmd, o->json);
    cmd->callback([&ctx, o] {
        CHost& host = ctx.Host();
        CString anio = LeerAnio(o->anio);
        if (anio.IsEmpty()) {
            CString mes;
            casos::PeriodoPorDefecto(host, COleDateTime::GetCurrentTime(), mes, anio);
        }
        const CString formulario =
            o->formulario.empty() ? casos::FormularioPorDefecto(host) : CString(o->formulario);
        Tabla tabla;
        for (const casos::Cliente& c : casos::Clientes(host, formulario, anio)) {
            Fila& fila = tabla.Nueva().Columna("nif", c.nif).Columna("nombre", c.nombre);
            static const char* const kMeses[] = {"01", "02", "03", "04", "05", "06",
                                                 "07", "08", "09", "10", "11", "12"};
            for (size_t m = 0; m < 12; ++m)
                fila.Columna(kMeses[m], CeldaDelMes(c.meses[m]));
        }
        tabla.Escribir(o->json);
    });
}
