#include "Modelo/DialectoSql.h"

#include "Modelo/Funciones.h"

#include <charconv>
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
    // Most words of a statement are names: the length and the first letter rule them out
    // before any comparison.
    if (w.size() < 2 || w.size() > 6)
        return Clave::Otra;
    char mayus[6];
    for (size_t i = 0; i < w.size(); ++i)
        mayus[i] = w[i] >= 'a' && w[i] <= 'z' ? char(w[i] - 'a' + 'A') : w[i];
    const std::string_view m(mayus, w.size());
    switch (mayus[0]) {
    case 'B':
        return m == "BY" ? Clave::By : Clave::Otra;
    case 'O':
        return m == "ORDER" ? Clave::Order : m == "OFFSET" ? Clave::Fin : Clave::Otra;
    case 'G':
        return m == "GROUP" ? Clave::Group : Clave::Otra;
    case 'L':
        return m == "LIMIT" ? Clave::Fin : Clave::Otra;
    case 'H':
        return m == "HAVING" ? Clave::Fin : Clave::Otra;
    case 'W':
        return m == "WHERE" ? Clave::Fin : Clave::Otra;
    case 'U':
        return m == "UNION" ? Clave::Fin : Clave::Otra;
    case 'F':
        return m == "FROM" ? Clave::Fin : Clave::Otra;
    }
    return Clave::Otra;
}

} // namespace

SentenciaSql TraducirSqlEscritorio(const CString& sqlEntrada, bool levantar) {
    const std::string_view s = sqlEntrada.view();
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
            size_t j = i + 1;
            bool dobles = false, cerrado = false;
            while (j < n) {
                if (s[j] != '\'') {
                    ++j;
                    continue;
                }
                if (j + 1 < n && s[j + 1] == '\'') {
                    dobles = true;
                    j += 2;
                    continue;
                }
                cerrado = true;
                ++j;
                break;
            }
            if (levantar && cerrado) {
                CString valor(s.substr(i + 1, j - i - 2));
                if (dobles)
                    valor.Replace("''", "'");
                r += '?';
                out.parametros.emplace_back(std::move(valor));
            } else {
                r.append(s, i, j - i);
            }
            i = j;
        } else if (c == '"' || c == '[' || c == '`') {
            // A quoted identifier is copied as it is.
            const char cierre = c == '[' ? ']' : c;
            size_t j = s.find(cierre, i + 1);
            j = j == std::string_view::npos ? n : j + 1;
            r.append(s, i, j - i);
            i = j;
        } else if (c == '#') {
            const size_t j = s.find('#', i + 1);
            std::string iso;
            if (j != std::string_view::npos &&
                FechaIso(std::string(s.substr(i + 1, j - i - 1)), iso)) {
                if (levantar) {
                    r += '?';
                    out.parametros.emplace_back(CString(std::move(iso)));
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
            int puntos = 0;
            while (j < n && (texto::EsDigito(s[j]) || s[j] == '.')) {
                puntos += s[j] == '.';
                ++j;
            }
            const std::string_view numero = s.substr(i, j - i);
            const bool suelto = j >= n || !EsLetra(s[j]);
            if (levantar && !enListaBy && suelto && puntos <= 1) {
                r += '?';
                if (puntos) {
                    double v = 0;
                    std::from_chars(numero.data(), numero.data() + numero.size(), v);
                    out.parametros.emplace_back(v);
                } else {
                    long long v = 0;
                    std::from_chars(numero.data(), numero.data() + numero.size(), v);
                    out.parametros.emplace_back(v);
                }
            } else {
                r.append(numero);
            }
            i = j;
        } else if (EsLetra(c)) {
            size_t j = i;
            while (j < n && (EsLetra(s[j]) || texto::EsDigito(s[j])))
                ++j;
            const Clave palabra = Palabra(s.substr(i, j - i));
            if (palabra == Clave::By && (ultima == Clave::Order || ultima == Clave::Group))
                enListaBy = true;
            else if (palabra == Clave::Fin)
                enListaBy = false;
            ultima = palabra;
            r.append(s, i, j - i);
            i = j;
        } else {
            // A run of blanks and operators is copied at once.
            if (c == ';' || c == ')')
                enListaBy = false;
            size_t j = i + 1;
            while (j < n) {
                const char d = s[j];
                if (d == '\'' || d == '"' || d == '[' || d == '`' || d == '#' || d == '.' ||
                    texto::EsDigito(d) || EsLetra(d))
                    break;
                if (d == ';' || d == ')')
                    enListaBy = false;
                ++j;
            }
            r.append(s, i, j - i);
            i = j;
        }
    }
    out.texto = CString(std::move(r));
    return out;
}
