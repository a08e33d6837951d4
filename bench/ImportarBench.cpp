// Import of the liquidation data file against a bare pass over the same file.
//
//   bench_importar [ROWS...]     (default: 10000 100000 1000000)
//
// For each size it writes a file of valid rows, times (best of three) a bare pass (read the file,
// cut every line into its eleven fields: "pasada" into reused buffers, "filas" with the form's own
// row reader), the floor of an import ("suelo": the bare pass plus one prepared range query of
// the quota scale a row, on the same database) and the import through a real form-863 document
// on a real database (in a child process, so its peak memory can be read alone), and prints rows
// per second, the ratios import / bare pass ("ratio" against the first, "ratio2" against the
// second), import / floor ("x suelo") and the import's peak memory above what the process held
// before, against the file size.
#include "Formulario.h"
#include "GeneradorDocumentos.h"
#include "Modelo/store/BaseDatos.h"
#include "Modelo/windows/ServiciosGrabados.h"
#include "core/ModDoc.h"

#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sqlite3.h>
#include <string>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Reloj_ = std::chrono::steady_clock;

double Segundos(Reloj_::time_point desde) {
    return std::chrono::duration<double>(Reloj_::now() - desde).count();
}

long MemoriaKb(const char* campo) {
    std::ifstream f("/proc/self/status");
    std::string linea;
    while (std::getline(f, linea))
        if (linea.rfind(campo, 0) == 0)
            return std::atol(linea.c_str() + std::strlen(campo));
    return 0;
}

// Reads the file and hands every non-empty line to `cortar`; the seconds it took.
template <class F> double Pasada(const std::string& ruta, long& filas, F&& cortar) {
    const auto inicio = Reloj_::now();
    std::string todo;
    // Sized at once, as the import reads a file: growing it would copy it over and over.
    std::error_code ec;
    todo.reserve(size_t(std::filesystem::file_size(ruta, ec)) + 1);
    if (std::FILE* f = std::fopen(ruta.c_str(), "rb")) {
        char buf[1 << 16];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
            todo.append(buf, n);
        std::fclose(f);
    }
    filas = 0;
    const std::string_view t(todo);
    for (size_t i = 0; i < t.size();) {
        size_t fin = t.find('\n', i);
        if (fin == std::string_view::npos)
            fin = t.size();
        const std::string_view l = t.substr(i, fin - i);
        i = fin + 1;
        if (!l.empty())
            cortar(l, ++filas);
    }
    return Segundos(inicio);
}

// Read the file and cut every line into its eleven fields, nothing else.
double PasadaDesnuda(const std::string& ruta, long& filas) {
    std::vector<std::string> campos(std::size(kColumnasFichero));
    return Pasada(ruta, filas, [&](std::string_view l, long) {
        size_t i = 0;
        for (const stColumnaFichero& c : kColumnasFichero) {
            const size_t desde = std::min(c.desde, l.size());
            campos[i++].assign(l.substr(desde, c.largo));
        }
    });
}

// The bare pass plus, a row, the quota scale's range query on the row's amount: prepared once,
// bound and stepped each row, its answer read.
double Suelo(const std::string& ruta, long& filas, CBaseDatos& db) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db.Manejador(),
                           "SELECT RANGOINI, PORCENTJ, VIMPORTE FROM PATARIFA WHERE CDMODELO = "
                           "'863A1' AND CDTIPTAF = 'ESCALA' AND CDTARIFA = 'CUO' AND ? BETWEEN "
                           "RANGOINI AND RANGOFIN AND '2024-03-01' BETWEEN FECDESDE AND FECHASTA",
                           -1, &stmt, nullptr) != SQLITE_OK)
        std::exit(2);
    std::vector<std::string> campos(std::size(kColumnasFichero));
    double suma = 0;
    // As the import runs: in one transaction, so no query takes the database's locks again.
    CBaseDatos::Transaccion t(db, CBaseDatos::Transaccion::Lectura);
    const double s = Pasada(ruta, filas, [&](std::string_view l, long) {
        size_t i = 0;
        for (const stColumnaFichero& c : kColumnasFichero) {
            const size_t desde = std::min(c.desde, l.size());
            campos[i++].assign(l.substr(desde, c.largo));
        }
        long long centimos = 0;
        const std::string& importe = campos[9];
        std::from_chars(importe.data(), importe.data() + importe.size(), centimos);
        sqlite3_bind_double(stmt, 1, double(centimos) / 100);
        if (sqlite3_step(stmt) == SQLITE_ROW)
            suma += sqlite3_column_double(stmt, 2);
        sqlite3_reset(stmt);
    });
    sqlite3_finalize(stmt);
    if (suma <= 0)
        std::exit(2); // every amount of the file lies in some bracket
    return s;
}

// The same pass, cutting with the form's own row reader (the texts the import works on).
double PasadaConFilas(const std::string& ruta, long& filas) {
    MOD_DOC doc;
    stRegistroDeclarado fila;
    return Pasada(ruta, filas, [&](std::string_view l, long numero) {
        doc.ObtenerDatosFila(CString(l), fila, int(numero));
    });
}

struct Resultado {
    double segundos;
    long picoExtraKb;
    int tomado;
};

Resultado Importar(const std::string& carpeta, const std::string& ruta) {
    int tubo[2];
    if (pipe(tubo) != 0)
        std::exit(2);
    const pid_t hijo = fork();
    if (hijo == 0) {
        close(tubo[0]);
        CBaseDatos db;
        const std::string base = carpeta + "/bench.db";
        std::remove(base.c_str());
        db.Abrir(base.c_str());
        CBaseDatos::FijarActual(&db);
        CServiciosGrabados ui;
        AfxFijarServicios(&ui);
        MOD_DOC doc;
        doc.CrearEstructPaginas();
        const long antes = MemoriaKb("VmRSS:");
        const auto inicio = Reloj_::now();
        // As the host runs a form's operation: one unit of work on the database.
        CBaseDatos::Transaccion t(db);
        doc.LimpiarDatosAutoliquidacion();
        const bool tomado = doc.AnalizarFicheroAutoliquidacion(ruta.c_str());
        t.Confirmar();
        Resultado r{Segundos(inicio), MemoriaKb("VmHWM:") - antes, tomado ? 1 : 0};
        if (write(tubo[1], &r, sizeof r) != ssize_t(sizeof r))
            _exit(2);
        _exit(0);
    }
    close(tubo[1]);
    Resultado r{};
    if (read(tubo[0], &r, sizeof r) != ssize_t(sizeof r))
        std::exit(2);
    close(tubo[0]);
    int estado = 0;
    waitpid(hijo, &estado, 0);
    return r;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<long> tamanos;
    for (int i = 1; i < argc; ++i)
        tamanos.push_back(std::atol(argv[i]));
    if (tamanos.empty())
        tamanos = {10000, 100000, 1000000};
    char plantilla[] = "/tmp/modelo-bench-XXXXXX";
    const std::string carpeta = mkdtemp(plantilla);

    CBaseDatos suelo;
    suelo.Abrir((carpeta + "/suelo.db").c_str());

    std::printf("%10s %9s %10s %10s %10s %10s %12s %8s %8s %8s %10s %10s\n", "filas", "MiB",
                "pasada s", "filas s", "suelo s", "import s", "filas/s", "ratio", "ratio2",
                "x suelo", "pico MiB", "pico/fich");
    for (long n : tamanos) {
        const std::string ruta = carpeta + "/datos.txt";
        const size_t bytes = GenerarDocumentos(ruta, n);
        // Each measure is the best of three, interleaved, so that a busy moment of a shared
        // machine falls on one try of each rather than on all tries of one.
        long leidas = 0, cortadas = 0, consultadas = 0;
        double desnuda = 1e300, conFilas = 1e300, conConsulta = 1e300;
        Resultado r{1e300, 0, 1};
        for (int intento = 0; intento < 3; ++intento) {
            desnuda = std::min(desnuda, PasadaDesnuda(ruta, leidas));
            conFilas = std::min(conFilas, PasadaConFilas(ruta, cortadas));
            conConsulta = std::min(conConsulta, Suelo(ruta, consultadas, suelo));
            const Resultado otro = Importar(carpeta, ruta);
            r.tomado = r.tomado && otro.tomado;
            r.picoExtraKb = std::max(r.picoExtraKb, otro.picoExtraKb);
            r.segundos = std::min(r.segundos, otro.segundos);
        }
        if (!r.tomado || leidas != n || cortadas != n || consultadas != n) {
            std::fprintf(stderr, "el fichero de %ld filas no se ha importado\n", n);
            return 1;
        }
        const double mib = double(bytes) / (1 << 20);
        std::printf("%10ld %9.1f %10.3f %10.3f %10.3f %10.3f %12.0f %8.2f %8.2f %8.2f %10.1f "
                    "%10.2f\n",
                    n, mib, desnuda, conFilas, conConsulta, r.segundos, double(n) / r.segundos,
                    r.segundos / desnuda, r.segundos / conFilas, r.segundos / conConsulta,
                    double(r.picoExtraKb) / 1024, double(r.picoExtraKb) * 1024 / double(bytes));
        std::remove(ruta.c_str());
    }
    suelo.Cerrar();
    for (const char* f : {"/bench.db", "/suelo.db", "/suelo.db-wal", "/suelo.db-shm"})
        std::remove((carpeta + f).c_str());
    rmdir(carpeta.c_str());
    return 0;
}
