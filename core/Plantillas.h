// The two page templates of the form: every control laid over the page images, with the box it
// shows. The views, the page-image generator and the resource table all read these templates,
// so a position or an id is written in exactly one place.
#pragma once

#include "Formulario.h"
#include "Modelo/Recursos.h"

// Ids of the controls that show no box.
namespace control {
inline constexpr int CodigoPuntos = formulario::kIdBase + 102; // PDF417 of the declaration
inline constexpr int CodigoBarras = formulario::kIdBase + 149; // bar code of the declaration
inline constexpr int TextoCodigoBarras = formulario::kIdBase + 171;
inline constexpr int TituloLopd1 = formulario::kIdBase + 169;
inline constexpr int TituloLopd2 = formulario::kIdBase + 170;
inline constexpr int TextoLopd = formulario::kIdBase + 172;
inline constexpr int IntervSujeto = formulario::kIdBase + 103;
inline constexpr int IntervRepresentante = formulario::kIdBase + 104;
inline constexpr int IntervPresentador = formulario::kIdBase + 150;
inline constexpr int AyudaSujeto = formulario::kIdBase + 105;
inline constexpr int AyudaRepresentante = formulario::kIdBase + 106;
inline constexpr int AyudaPresentador = formulario::kIdBase + 128;
inline constexpr int AyudaTipoDeclaracion = formulario::kIdBase + 107;
inline constexpr int AyudaAutoliquidacion = formulario::kIdBase + 108;
} // namespace control

const PlantillaDialogo& PlantillaPagina1();
const PlantillaDialogo& PlantillaPagina2();

// The control that shows a box on a page, or null when the page has none.
const ControlPlantilla* ControlDeCasilla(const PlantillaDialogo& plantilla, int casilla);
