// The two page templates of the form: every control laid over the page images, with the box it
// shows, expanded from page 1's table (TablaCasillas.h). The views, the page-image generator and
// the resource table all read these templates.
#pragma once

#include "Formulario.h"
#include "Modelo/base/Recursos.h"

// Ids of the controls that show no box, and of those boxes' controls the page's rules are bound
// to by id.
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
inline constexpr int AnioDevengo = formulario::kIdBase + 147;
inline constexpr int MesDevengo = formulario::kIdBase + 148;
inline constexpr int ChkComplementaria = formulario::kIdBase + 100;
inline constexpr int ChkSustitutiva = formulario::kIdBase + 101;
inline constexpr int SelectorFechaPresentacion = formulario::kIdBase + 146;
inline constexpr int IdJustificante = formulario::kIdBase + 135;
inline constexpr int AnioAnterior = formulario::kIdBase + 136;
inline constexpr int NumeroPresentacion = formulario::kIdBase + 137;
inline constexpr int NumDoc = formulario::kIdBase + 156; // + row of the liquidation table
inline constexpr int Base = formulario::kIdBase + 160;   // + row
inline constexpr int Cuota = formulario::kIdBase + 164;  // + row
inline constexpr int SelectorFechaFirma = formulario::kIdBase + 155;
} // namespace control

const PlantillaDialogo& PlantillaPagina1();
const PlantillaDialogo& PlantillaPagina2();
