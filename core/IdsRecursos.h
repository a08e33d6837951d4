// Resource ids of the form: the same layout for every form, counted from the form's base id.
#pragma once

#include "Formulario.h"

namespace recurso {
inline constexpr int FondoPagina1 = formulario::kIdBase + 0;
inline constexpr int PlantillaPagina1 = formulario::kIdBase + 1;
inline constexpr int CadenaCodigo = formulario::kIdBase + 2;
inline constexpr int CadenaVersion = formulario::kIdBase + 3;
inline constexpr int CadenaTitulo = formulario::kIdBase + 4;
inline constexpr int CadenaPeriodo = formulario::kIdBase + 5;
inline constexpr int FondoPagina2 = formulario::kIdBase + 6;
inline constexpr int PlantillaPagina2 = formulario::kIdBase + 7;
// The pages' drawings for paper: the same pages as their bitmaps, in shapes and text.
inline constexpr int DibujoPagina1 = formulario::kIdBase + 20;
inline constexpr int DibujoPagina2 = formulario::kIdBase + 21;
} // namespace recurso
