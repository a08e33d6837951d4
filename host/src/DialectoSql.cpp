#include "Modelo/DialectoSql.h"

#include "Modelo/Funciones.h"

#include <cstdlib>
#include <string>
#include <string_view>

namespace {

bool EsLetra(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u == '_' || u >= 0x80;
}

// "03-01-23" -> "2023-03-01"; false when the text is not such a date.
bool FechaIso(const std::string& t, std::string& iso) {
    int partes[3] = {0, 0, 0}, cifras[3] = {0, 0, 0}, k = 0;
    for (char c : t) {
        if (texto::EsDigito(c)) {
            partes[k] = partes[k] * 10 + (c - '0');
            if (++cifras[k] > 4)
                return false;
        } else if ((c == '-' || c == '/') && k < 2) {
            ++k;
        } else {
            return false;
        }
    }
    if (k != 2 || cifras[0] == 0 || cifras[0] > 2 || cifras[1] == 0 || cifras[1] > 2 ||
        (cifras[2] != 2 && cifras[2] != 4))
        return false;
    const int anio = cifras[2] == 2 ? AnioDeDosCifras(partes[2]) : partes[2];
    if (!COleDateTime::IsValidDate(anio, partes[0], partes[1]))
        return false;
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", anio, partes[0], partes[1]);
    iso = buf;
    return true;
}

// Keywords that open or close a list of column positions. Words are compared without
// copying: the translation runs once per query, and an import runs one query per document.
enum class Clave { Otra, Order, Group, By, Fin };

Clave Palabra(std::string_view w) {
    auto igual = [w](std::string_view k) {
        if (w.size() != k.size())
            return false;
        for (size_t i = 0; i < w.size(); ++i) {
            char c = w[i];
            if (c >= 'a' && c <= 'z')
                c = char(c - 'a' + 'A');
            if (c != k[i])
                return false;
        }
        return true;
    };
    if (igual("BY"))
        return Clave::By;
    if (igual("ORDER"))
        return Clave::Order;
    if (igual("GROUP"))
        return Clave::Group;
    for (std::string_view k : {"LIMIT", "HAVING", "WHERE", "UNION", "FROM", "OFFSET"})
        if (igual(k))
            return Clave::Fin;
    return Clave::Otra;
}

} // namespace

SentenciaSql TraducirSqlEscritorio(const CString& sqlEntrada, bool levantar) {
    const std::string& s = sqlEntrada.str();
    SentenciaSql out;
    std::string r;
    r.reserve(s.size());
    out.parametros.reserve(8);
    Clave ultima = Clave::Otra;
    bool enListaBy = false; // inside ORDER BY / GROUP BY, where numbers are column positions
    const size_t n = s.size();
    size_t i = 0;
    while (i < n) {
        const char c = s[i];
        if (c == '\'') {
            // A string literal, with '' standing for one apostrophe.
            std::string valor;
            size_t j = i + 1;
            bool cerrado = false;
            while (j < n) {
                if (s[j] == '\'') {
                    if (j + 1 < n && s[j + 1] == '\'') {
                        valor += '\'';
                        j += 2;
                        continue;
                    }
                    cerrado = true;
                    ++j;
                    break;
                }
                valor += s[j++];
            }
            if (levantar && cerrado) {
                r += '?';
                out.parametros.emplace_back(CString(valor));
            } else {
                r.append(s, i, j - i);
            }
            i = j;
        } else if (c == '"' || c == '[' || c == '`') {
            // A quoted identifier is copied as it is.
            const char cierre = c == '[' ? ']' : c;
            size_t j = s.find(cierre, i + 1);
            j = j == std::string::npos ? n : j + 1;
            r.append(s, i, j - i);
            i = j;
        } else if (c == '#') {
            size_t j = s.find('#', i + 1);
            std::string iso;
            if (j != std::string::npos && FechaIso(s.substr(i + 1, j - i - 1), iso)) {
                if (levantar) {
                    r += '?';
                    out.parametros.emplace_back(CString(iso));
                } else {
                    r += "'" + iso + "'";
                }
                i = j + 1;
            } else {
                r += c;
                ++i;
            }
        } else if (texto::EsDigito(c) || (c == '.' && i + 1 < n && texto::EsDigito(s[i + 1]))) {
            size_t j = i;
            bool real = false;
            while (j < n && (texto::EsDigito(s[j]) || s[j] == '.')) {
                real = real || s[j] == '.';
                ++j;
            }
            const std::string numero = s.substr(i, j - i);
            const bool suelto = j >= n || !EsLetra(s[j]);
            if (levantar && !enListaBy && suelto && numero.find('.') == numero.rfind('.')) {
                r += '?';
                if (real)
                    out.parametros.emplace_back(std::strtod(numero.c_str(), nullptr));
                else
                    out.parametros.emplace_back(std::strtoll(numero.c_str(), nullptr, 10));
            } else {
                r += numero;
            }
            i = j;
        } else if (EsLetra(c)) {
            size_t j = i;
            while (j < n && (EsLetra(s[j]) || texto::EsDigito(s[j])))
                ++j;
            const Clave palabra = Palabra(std::string_view(s).substr(i, j - i));
            if (palabra == Clave::By && (ultima == Clave::Order || ultima == Clave::Group))
                enListaBy = true;
            else if (palabra == Clave::Fin)
                enListaBy = false;
            ultima = palabra;
            r.append(s, i, j - i);
            i = j;
        } else {
            if (c == ';' || c == ')')
                enListaBy = false;
            r += c;
            ++i;
        }
    }
    out.texto = CString(std::move(r));
    return out;
}
