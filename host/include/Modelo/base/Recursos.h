// The resource chain: strings, page templates and bitmaps found by numeric id. The host's own
// module is always in the chain; a plug-in adds its module when it is loaded and removes it
// when it is unloaded, so its ids resolve exactly while it is present.
#pragma once

#include "Modelo/base/CString.h"

#include <cstddef>
#include <map>
#include <vector>

// Control classes of a page template.
enum class ClaseControl {
    EditTrans,          // CEditTrans: text edit drawn over the background
    EditNumber,         // CEditNumber: digits only
    EditDecNumber,      // CEditDecNumber: number with integer and decimal digits
    DateTimeOpt,        // CDateTimeOptCtrl: date picker that can show no date
    DateTimeFixFormat,  // CDateTimeFixFormatCtrl: date picker with a fixed display format
    StaticTransBold,    // CStaticTransBold: bold static text over the background
    ScrollBitmapButton, // CScrollBitmapButton: bitmap push button
    CheckBox,           // plain check box
    Picture,            // plain static showing a picture
};

MODELO_API const char* NombreClaseControl(ClaseControl c);

// Dialog styles of a control.
enum EstiloControl : unsigned {
    ES_CENTRADO = 1u << 0,           // C: centred text
    ES_DERECHA = 1u << 1,            // R: right-aligned text
    ES_MAYUSCULAS = 1u << 2,         // U: upper case only
    ES_AUTOSCROLL = 1u << 3,         // A: auto horizontal scroll
    ES_CALENDARIO_DERECHA = 1u << 4, // date picker opens its calendar right-aligned
};

// What a push button does for the person: the faces of the host name buttons by it and by the
// box of the row they serve.
enum class AccionBoton { Ninguna, Intervinientes, Ayuda };

struct ControlPlantilla {
    int id;
    ClaseControl clase;
    int x, y, cx, cy; // dialog units
    unsigned estilos;
    bool habilitado; // initial enabled state in the template
    int casilla;     // the box the control shows, or -1
    AccionBoton accion = AccionBoton::Ninguna;
    int casillaFila = -1; // a button: the first box of the row it serves
};

struct MODELO_API PlantillaDialogo {
    int id;
    int cx, cy; // dialog units
    const char* fuente;
    int puntos;
    std::vector<ControlPlantilla> controles;

    const ControlPlantilla* Control(int controlId) const;
    // The control that shows a box, or null when the page has none.
    const ControlPlantilla* ControlDeCasilla(int casilla) const;
    // The button that does `accion` for the row of that box, or null.
    const ControlPlantilla* BotonDeFila(AccionBoton accion, int casilla) const;
};

// A bitmap resource: the bytes of a Windows BMP file.
struct RecursoBitmap {
    const unsigned char* datos;
    size_t tamano;
};

// What one library contributes to the chain.
struct MODELO_API CModuloRecursos {
    const char* nombre;
    std::map<int, CString> cadenas;
    std::map<int, const PlantillaDialogo*> plantillas;
    std::map<int, RecursoBitmap> bitmaps;
};

// Adds a module at the front of the chain (the newest is searched first); Quitar removes it.
MODELO_API void AfxAnadirModuloRecursos(const CModuloRecursos* modulo);
MODELO_API void AfxQuitarModuloRecursos(const CModuloRecursos* modulo);

// Lookups through the whole chain; false / null when no module has the id.
MODELO_API bool AfxLoadString(int id, CString& out);
MODELO_API CString AfxCadena(int id); // "" when absent
MODELO_API const PlantillaDialogo* AfxBuscarPlantilla(int id);
MODELO_API const RecursoBitmap* AfxBuscarBitmap(int id);
