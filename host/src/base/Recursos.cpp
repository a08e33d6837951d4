#include "Modelo/base/Recursos.h"

#include <algorithm>
#include <deque>

namespace {
std::deque<const CModuloRecursos*>& chain() {
    static std::deque<const CModuloRecursos*> modules;
    return modules;
}
} // namespace

const char* NombreClaseControl(ClaseControl c) {
    switch (c) {
    case ClaseControl::EditTrans:
        return "CEditTrans";
    case ClaseControl::EditNumber:
        return "CEditNumber";
    case ClaseControl::EditDecNumber:
        return "CEditDecNumber";
    case ClaseControl::DateTimeOpt:
        return "CDateTimeOptCtrl";
    case ClaseControl::DateTimeFixFormat:
        return "CDateTimeFixFormatCtrl";
    case ClaseControl::StaticTransBold:
        return "CStaticTransBold";
    case ClaseControl::ScrollBitmapButton:
        return "CScrollBitmapButton";
    case ClaseControl::CheckBox:
        return "Button";
    case ClaseControl::Picture:
        return "Static";
    }
    return "?";
}

const ControlPlantilla* PlantillaDialogo::Control(int controlId) const {
    for (const auto& c : controles)
        if (c.id == controlId)
            return &c;
    return nullptr;
}

const ControlPlantilla* PlantillaDialogo::BotonDeFila(AccionBoton accion, int casilla) const {
    for (const auto& c : controles)
        if (c.accion == accion && c.casillaFila == casilla && accion != AccionBoton::Ninguna)
            return &c;
    return nullptr;
}

const ControlPlantilla* PlantillaDialogo::ControlDeCasilla(int casilla) const {
    for (const auto& c : controles)
        if (c.casilla == casilla && casilla >= 0)
            return &c;
    return nullptr;
}

void AfxAnadirModuloRecursos(const CModuloRecursos* modulo) {
    if (modulo && std::find(chain().begin(), chain().end(), modulo) == chain().end())
        chain().push_front(modulo);
}

void AfxQuitarModuloRecursos(const CModuloRecursos* modulo) {
    auto& c = chain();
    c.erase(std::remove(c.begin(), c.end(), modulo), c.end());
}

bool AfxLoadString(int id, CString& out) {
    for (const CModuloRecursos* m : chain()) {
        auto it = m->cadenas.find(id);
        if (it != m->cadenas.end()) {
            out = it->second;
            return true;
        }
    }
    return false;
}

CString AfxCadena(int id) {
    CString s;
    AfxLoadString(id, s);
    return s;
}

const PlantillaDialogo* AfxBuscarPlantilla(int id) {
    for (const CModuloRecursos* m : chain()) {
        auto it = m->plantillas.find(id);
        if (it != m->plantillas.end())
            return it->second;
    }
    return nullptr;
}

const RecursoBitmap* AfxBuscarBitmap(int id) {
    for (const CModuloRecursos* m : chain()) {
        auto it = m->bitmaps.find(id);
        if (it != m->bitmaps.end())
            return &it->second;
    }
    return nullptr;
}
