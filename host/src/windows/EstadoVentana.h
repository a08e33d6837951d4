// The window behind the handles: what a control holds and shows. Private to the library; the
// handles are the only way in.
#pragma once

#include "Modelo/base/COleDateTime.h"
#include "Modelo/codes/Codigos.h"
#include "Modelo/windows/Ventanas.h"

struct EstadoVentana {
    CGuiaView* vista = nullptr;
    int id = 0;
    ClaseControl clase = ClaseControl::EditTrans;
    unsigned estilos = 0;
    CRect rect;
    CString texto;
    bool visible = true;
    bool habilitada = true;
    int marca = 0;      // check boxes
    COleDateTime fecha; // date pickers; null when the picker shows no date
    int limite = 0;     // edits: most characters a person may type, 0 for no limit
    int enteros = 14;   // number edits with decimals
    int decimales = 2;
    UINT bitmaps[4] = {};  // bitmap buttons: normal, pressed, focused, disabled
    stImagenCodigo imagen; // picture statics
    LOGFONT fuente;
    mutable CFont fuenteObjeto; // what GetFont hands out, rebuilt from `fuente`
    int redibujos = 0;
};

// Tells the view's observer what changed in the window.
void AvisarCambio(EstadoVentana* v, CambioVentana cambio);

// Which kinds a person can type into, and which take the focus.
bool EsEdicion(ClaseControl c);
bool EsSelectorFecha(ClaseControl c);
bool EsBoton(ClaseControl c);
bool AdmiteFoco(const EstadoVentana& v);
// Whether a person may leave this text in the edit (its kind, its digits, its limit).
bool TextoAdmitido(const EstadoVentana& v, const CString& texto);
// The bytes of the character that starts at i: a whole valid UTF-8 sequence, else one byte.
size_t LargoCaracter(std::string_view s, size_t i);
// Length in characters: a valid UTF-8 sequence counts once, any other byte once.
int Caracteres(const CString& t);
// Upper case, for the edits whose style asks for it: ASCII letters and the accented letters of
// Latin-1, whether written as UTF-8 or as single Latin-1 bytes.
CString EnMayusculas(const CString& texto);
