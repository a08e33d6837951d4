// Reading a data file from disk.
#include "datafile/Lectura.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sys/stat.h>

namespace {
struct Cerrar {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// Streams the whole file through `cada`; false when it cannot be opened as a file or a read
// fails.
template <class F> bool Recorrer(const CString& ruta, size_t& tamano, F&& cada) {
    struct stat st {};
    if (::stat(ruta.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    tamano = size_t(st.st_size);
    std::unique_ptr<std::FILE, Cerrar> f(std::fopen(ruta.c_str(), "rb"));
    if (!f)
        return false;
    char buf[1 << 16];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f.get())) > 0)
        cada(buf, n);
    return !std::ferror(f.get());
}
} // namespace

bool LeerFichero(const CString& ruta, std::string& contenido) {
    contenido.clear();
    size_t tamano = 0;
    bool reservado = false;
    const bool ok = Recorrer(ruta, tamano, [&](const char* datos, size_t n) {
        if (!reservado) {
            contenido.reserve(tamano + 1);
            reservado = true;
        }
        contenido.append(datos, n);
    });
    if (!ok)
        return false;
    const size_t nul = contenido.find('\0');
    if (nul != std::string::npos)
        contenido.resize(nul);
    return true;
}

bool FicheroLegible(const CString& ruta) {
    size_t tamano = 0;
    return Recorrer(ruta, tamano, [](const char*, size_t) {});
}

namespace {

constexpr std::string_view kMarcaUtf8 = "\xEF\xBB\xBF";

// The length of the valid UTF-8 sequence at i, or 0 when none starts there.
size_t SecuenciaUtf8(std::string_view s, size_t i) {
    const auto b = static_cast<unsigned char>(s[i]);
    size_t largo;
    unsigned char min2 = 0x80, max2 = 0xBF; // the bounds of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
        largo = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        largo = 3;
        if (b == 0xE0)
            min2 = 0xA0; // no overlong forms
        if (b == 0xED)
            max2 = 0x9F; // no surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
        largo = 4;
        if (b == 0xF0)
            min2 = 0x90;
        if (b == 0xF4)
            max2 = 0x8F;
    } else {
        return 0;
    }
    if (i + largo > s.size())
        return 0;
    const auto b2 = static_cast<unsigned char>(s[i + 1]);
    if (b2 < min2 || b2 > max2)
        return 0;
    for (size_t k = 2; k < largo; ++k)
        if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
            return 0;
    return largo;
}

// Eight bytes at a time while they are all ASCII: most data files are, and the import must stay
// as fast as a pass over the file.
size_t SaltarAscii(std::string_view s, size_t i) {
    while (i + 8 <= s.size()) {
        std::uint64_t bloque;
        std::memcpy(&bloque, s.data() + i, 8);
        if (bloque & 0x8080808080808080ULL)
            break;
        i += 8;
    }
    while (i < s.size() && static_cast<unsigned char>(s[i]) < 0x80)
        ++i;
    return i;
}

} // namespace

Codificacion DetectarCodificacion(std::string_view& texto) {
    if (texto.substr(0, kMarcaUtf8.size()) == kMarcaUtf8) {
        texto.remove_prefix(kMarcaUtf8.size());
        return Codificacion::Utf8;
    }
    bool masAlla = false;
    for (size_t i = SaltarAscii(texto, 0); i < texto.size(); i = SaltarAscii(texto, i)) {
        const size_t largo = SecuenciaUtf8(texto, i);
        if (largo == 0)
            return Codificacion::Latin1;
        masAlla = true;
        i += largo;
    }
    return masAlla ? Codificacion::Utf8 : Codificacion::Latin1;
}

size_t ByteDeColumna(std::string_view linea, size_t columna) {
    size_t i = 0;
    for (size_t c = 0; c < columna && i < linea.size(); ++c) {
        const size_t largo =
            static_cast<unsigned char>(linea[i]) < 0x80 ? 1 : SecuenciaUtf8(linea, i);
        i += largo == 0 ? 1 : largo;
    }
    return i;
}

bool TieneNoAscii(std::string_view linea) {
    return SaltarAscii(linea, 0) < linea.size();
}
