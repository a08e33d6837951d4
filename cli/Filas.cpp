#include "Filas.h"

#include "Salida.h"

#include <stdexcept>

Fila& Fila::Columna(const char* nombre, Celda valor) {
    datos_.push_back({nombre, std::move(valor), true});
    return *this;
}

Fila& Fila::SoloJson(const char* nombre, nlohmann::ordered_json valor) {
    datos_.push_back({nombre, Celda(CString(), std::move(valor)), false});
    return *this;
}

Fila& Tabla::Nueva() {
    return filas_.emplace_back();
}

std::string Tabla::Texto(const Fila& fila) const {
    std::string linea;
    bool primera = true;
    for (const Fila::Dato& d : fila.datos_) {
        if (!d.enTexto)
            continue;
        if (!primera)
            linea += '\t';
        primera = false;
        for (const char c : d.celda.texto.view())
            linea += c == '\t' || c == '\n' || c == '\r' ? ' ' : c;
    }
    return linea;
}

nlohmann::ordered_json Tabla::Objeto(const Fila& fila, size_t desde) {
    nlohmann::ordered_json o = nlohmann::ordered_json::object();
    for (size_t i = desde; i < fila.datos_.size(); ++i)
        o[fila.datos_[i].nombre] = fila.datos_[i].celda.json;
    return o;
}

nlohmann::ordered_json Tabla::Json() const {
    switch (forma_) {
    case Forma::Lista: {
        nlohmann::ordered_json a = nlohmann::ordered_json::array();
        for (const Fila& f : filas_)
            a.push_back(Objeto(f, 0));
        return a;
    }
    case Forma::Valores: {
        nlohmann::ordered_json a = nlohmann::ordered_json::array();
        for (const Fila& f : filas_)
            a.push_back(f.datos_.empty() ? nlohmann::ordered_json() : f.datos_[0].celda.json);
        return a;
    }
    case Forma::PorClave: {
        nlohmann::ordered_json o = nlohmann::ordered_json::object();
        for (const Fila& f : filas_) {
            if (f.datos_.empty())
                continue;
            const std::string clave = f.datos_[0].celda.texto.str();
            o[clave] = f.datos_.size() == 2 ? f.datos_[1].celda.json : Objeto(f, 1);
        }
        return o;
    }
    case Forma::Registro:
        if (filas_.size() != 1)
            throw std::logic_error("un registro se escribe con una sola fila");
        return Objeto(filas_[0], 0);
    }
    throw std::logic_error("forma de tabla desconocida");
}

std::vector<std::string> Tabla::Lineas(bool json) const {
    if (json)
        return {Json().dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace)};
    std::vector<std::string> lineas;
    for (const Fila& f : filas_)
        lineas.push_back(Texto(f));
    return lineas;
}

void Tabla::Escribir(bool json) const {
    for (const std::string& linea : Lineas(json))
        Imprimir(CString(linea));
}
