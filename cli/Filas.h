// The rows a command prints and the one writer that prints them: tab-separated text, one line
// per row, or JSON, both from the same rows, so the two faces cannot come to say different
// things.
#pragma once

#include "Modelo/base/CString.h"

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

// One value as each face shows it. Text is the same in both; a number, a flag or a missing
// value is typed in JSON and written as plain text on the line.
struct Celda {
    Celda(const CString& t) : texto(t), json(t.str()) {}
    Celda(const char* t) : Celda(CString(t)) {}
    Celda(const std::string& t) : Celda(CString(t)) {}
    Celda(int n) : texto(CString::Formatted("%d", n)), json(n) {}
    Celda(bool b) : texto(b ? "1" : "0"), json(b) {}
    Celda(CString t, nlohmann::ordered_json j) : texto(std::move(t)), json(std::move(j)) {}

    CString texto;
    nlohmann::ordered_json json;
};

class Fila {
public:
    // A column of both faces, in the order added.
    Fila& Columna(const char* nombre, Celda valor);
    // A detail JSON carries and the text line leaves out.
    Fila& SoloJson(const char* nombre, nlohmann::ordered_json valor);

private:
    friend class Tabla;
    struct Dato {
        const char* nombre;
        Celda celda;
        bool enTexto;
    };
    std::vector<Dato> datos_;
};

class Tabla {
public:
    // The shape of the JSON; the text is always one line per row.
    enum class Forma {
        Lista,    // an array of objects, one per row
        Valores,  // an array of each row's only value
        PorClave, // one object keyed by each row's first column: the second column's value, or
                  // an object of the others when there are more
        Registro, // the one row as an object
    };

    explicit Tabla(Forma forma = Forma::Lista) : forma_(forma) {}

    Fila& Nueva();
    bool Vacia() const { return filas_.empty(); }

    // What is printed: one line per row, or the one line of JSON. A tab or a line end inside a
    // value would split its row, so the text shows it as a space; JSON keeps every byte, bytes
    // that are not UTF-8 as replacement characters rather than failing the whole output.
    std::vector<std::string> Lineas(bool json) const;
    // Prints Lineas(json) to standard output.
    void Escribir(bool json) const;

private:
    std::string Texto(const Fila& fila) const;
    nlohmann::ordered_json Json() const;
    // The row's columns from `desde` on, as one object.
    static nlohmann::ordered_json Objeto(const Fila& fila, size_t desde);
    Forma forma_;
    std::vector<Fila> filas_;
};
