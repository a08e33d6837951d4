#include "core/Plantillas.h"

#include "Formulario.h"
#include "core/IdsRecursos.h"
#include "core/TablaCasillas.h"

namespace {

const char* const kFuente = "MS Sans Serif";
constexpr int kPuntos = 8;

// Where the payment copy differs from page 1 for a control it repeats. It shows the month in
// the plain style whatever page 1's is, prints the taxpayer's address row one unit lower and
// places the total where the form's copy has it; nothing on it can be edited.
ControlPlantilla EnPagina2(ControlPlantilla c) {
    if (c.casilla < 0)
        return c;
    c.habilitado = false;
    const int item = c.casilla - casilla::SujetoPasivo;
    if (c.casilla == casilla::MesDevengo)
        c.estilos = ES_CENTRADO | ES_MAYUSCULAS;
    else if (item >= casilla::grupo::TipoVia && item <= casilla::grupo::Telefono)
        ++c.y;
    else if (c.casilla == casilla::TotalIngresar) {
        c.x = formulario::kTotalPagina2[0];
        c.y = formulario::kTotalPagina2[1];
        c.cx = formulario::kTotalPagina2[2];
        c.cy = formulario::kTotalPagina2[3];
    }
    return c;
}

PlantillaDialogo Construir(int pagina) {
    std::vector<ControlPlantilla> v;
    for (const tabla::Fila& f : tabla::kPagina1)
        if (f.TieneControl() && f.EnPagina(pagina))
            v.push_back(pagina == pagina::P1 ? f.control : EnPagina2(f.control));
    if (pagina == pagina::P1)
        return {recurso::PlantillaPagina1, 530, 688, kFuente, kPuntos, std::move(v)};
    return {recurso::PlantillaPagina2, 524, 688, kFuente, kPuntos, std::move(v)};
}

} // namespace

const PlantillaDialogo& PlantillaPagina1() {
    static const PlantillaDialogo plantilla = Construir(pagina::P1);
    return plantilla;
}

const PlantillaDialogo& PlantillaPagina2() {
    static const PlantillaDialogo plantilla = Construir(pagina::P2);
    return plantilla;
}
