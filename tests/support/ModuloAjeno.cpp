// A plug-in sound in everything but, at most, one fault of its table of operations, chosen
// when it is compiled: the loader must take the sound one and turn each faulty one down.
#include "Modelo/document/GuiaDoc.h"
#include "Modelo/windows/OperacionesFormulario.h"

namespace {

#ifndef MODULO_SIN_CUOTA
double Cuota(CGuiaDoc&, double, const COleDateTime&) {
    return 0;
}
#endif
bool Tramos(CGuiaDoc&, const COleDateTime&, CStringArray&) {
    return true;
}
void Intervinientes(CGuiaDoc&) {}
PeriodoDevengo Periodo(CGuiaDoc&) {
    return {};
}
void Corregir(CGuiaDoc&, const DeclaracionAnterior&) {}

constexpr OperacionesFormulario kOperaciones = {
#ifdef MODULO_VERSION_AJENA
    .version = kVersionOperaciones + 1,
#else
    .version = kVersionOperaciones,
#endif
    .tamano = sizeof(OperacionesFormulario),
    .sujeto = {.nif = 10, .nombre = {11, 12, 13}},
#ifdef MODULO_SIN_CUOTA
    .cuota = nullptr,
#else
    .cuota = Cuota,
#endif
    .tramos = Tramos,
    .intervinientes = Intervinientes,
    .periodo = Periodo,
    .corregir = Corregir,
    .importar = nullptr,
};

} // namespace

MODELO_PLUGIN_EXPORT CGuiaDoc* DllCrearModelo() {
    return nullptr;
}

MODELO_PLUGIN_EXPORT void DllModInfo(CString* codigo, CString* version, CString* titulo,
                                     CString* periodo) {
    *codigo = "990";
    *version = "1";
    *titulo = "Formulario de prueba";
    *periodo = "PERIODO";
}

#ifndef MODULO_SIN_TABLA
MODELO_PLUGIN_EXPORT const OperacionesFormulario* DllOperaciones() {
    return &kOperaciones;
}
#endif
