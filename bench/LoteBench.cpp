// The month of an office in one run against the same work as one program per step.
//
//   bench_lote [CLIENTS] [ROWS]     (default: 100 clients of 10000 documents each)
//
// Writes one documents data file per client, then times, each on a database of its own:
// `modelo batch` of the whole folder with a PDF per client, and the same work as single
// commands in a loop (new, parties bind, import, validate, print). Prints both times, their
// ratio (the batch should take at most half the loop's time) and the peak memory of the batch
// for a tenth of the clients and for all of them: it should stay flat as clients grow.
#include "GeneradorDocumentos.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::string kModelo = std::string(MODELO_BIN_DIR) + "/modelo";

struct Corrida {
    int estado = -1;
    long picoKb = 0; // the child's peak resident memory
    std::string salida;
};

// Runs the program with the database and the arguments, its stdout kept, stderr dropped.
Corrida Modelo(const std::string& db, std::vector<std::string> args) {
    args.insert(args.begin(), {kModelo, "--db", db});
    int tubo[2];
    if (pipe(tubo) != 0)
        std::abort();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(tubo[1], STDOUT_FILENO);
        if (std::FILE* nulo = std::freopen("/dev/null", "w", stderr); !nulo)
            _exit(127);
        close(tubo[0]);
        close(tubo[1]);
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(tubo[1]);
    Corrida c;
    char buf[4096];
    ssize_t n;
    while ((n = read(tubo[0], buf, sizeof buf)) > 0)
        c.salida.append(buf, size_t(n));
    close(tubo[0]);
    int estado = 0;
    rusage uso{};
    wait4(pid, &estado, 0, &uso);
    c.estado = WIFEXITED(estado) ? WEXITSTATUS(estado) : -1;
    c.picoKb = uso.ru_maxrss;
    return c;
}

void Exigir(const Corrida& c, const char* que) {
    if (c.estado != 0) {
        std::fprintf(stderr, "bench_lote: %s terminó con estado %d\n", que, c.estado);
        std::exit(1);
    }
}

// A valid DNI of each client, none of them a third party of the generated rows.
std::string Nif(int i) {
    const long numero = 20000000 + i;
    return std::to_string(numero) + "TRWAGMYFPDXBNJZSQVHLCKE"[numero % 23];
}

// A database with the clients in its party store and a default presenter; the order number of
// each client's party.
std::vector<std::string> PrepararBase(const std::string& db, int clientes) {
    std::vector<std::string> numeros;
    for (int i = 0; i < clientes; ++i) {
        const Corrida c = Modelo(db, {"parties", "add", "--nif", Nif(i), "--name",
                                      "CLIENTE " + std::to_string(i) + ", S.L."});
        Exigir(c, "parties add");
        numeros.push_back(c.salida.substr(0, c.salida.find('\n')));
    }
    Exigir(Modelo(db, {"config", "presenter", "12345678Z", "GARCIA LOPEZ MARIA"}), "config");
    return numeros;
}

double Desde(std::chrono::steady_clock::time_point t) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t).count();
}

struct Lote {
    double segundos;
    long picoKb;
};

Lote Batch(const fs::path& base, const fs::path& carpeta, int clientes, const char* nombre) {
    const std::string db = (base / (std::string(nombre) + ".db")).string();
    const fs::path pdfs = base / (std::string(nombre) + "-pdf");
    fs::create_directories(pdfs);
    PrepararBase(db, clientes);
    const auto t = std::chrono::steady_clock::now();
    const Corrida c = Modelo(
        db, {"batch", carpeta.string(), "--month", "03", "--year", "2024", "--pdf", pdfs.string()});
    const double s = Desde(t);
    Exigir(c, "batch");
    return {s, c.picoKb};
}

} // namespace

int main(int argc, char** argv) {
    const int clientes = argc > 1 ? std::atoi(argv[1]) : 100;
    const long filas = argc > 2 ? std::atol(argv[2]) : 10000;
    if (clientes < 10 || filas < 1) {
        std::fprintf(stderr, "uso: bench_lote [CLIENTES >= 10] [FILAS >= 1]\n");
        return 2;
    }
    char plantilla[] = "/tmp/bench-lote-XXXXXX";
    if (!mkdtemp(plantilla))
        return 2;
    const fs::path base = plantilla;
    const fs::path todos = base / "todos", decima = base / "decima";
    fs::create_directories(todos);
    fs::create_directories(decima);
    for (int i = 0; i < clientes; ++i) {
        const std::string nombre = Nif(i) + ".txt";
        GenerarDocumentos((todos / nombre).string(), filas, Nif(i).c_str());
        if (i < clientes / 10)
            fs::copy_file(todos / nombre, decima / nombre);
    }

    const Lote pocos = Batch(base, decima, clientes / 10, "decima");
    const Lote lote = Batch(base, todos, clientes, "todos");

    // The loop: what a script of single commands does for each client.
    const std::string db = (base / "bucle.db").string();
    const std::vector<std::string> numeros = PrepararBase(db, clientes);
    fs::create_directories(base / "bucle-pdf");
    const auto t = std::chrono::steady_clock::now();
    for (int i = 0; i < clientes; ++i) {
        const Corrida nueva = Modelo(db, {"new", "863", "--month", "03", "--year", "2024"});
        Exigir(nueva, "new");
        const std::string codigo = nueva.salida.substr(0, nueva.salida.find('\n'));
        Exigir(Modelo(db, {"parties", "bind", codigo, "--role", "Sujeto Pasivo", "--party",
                           numeros[size_t(i)]}),
               "parties bind");
        Exigir(Modelo(db, {"import", codigo, (todos / (Nif(i) + ".txt")).string()}), "import");
        Exigir(Modelo(db, {"validate", codigo}), "validate");
        Exigir(
            Modelo(db, {"print", codigo, "-o", (base / "bucle-pdf" / (Nif(i) + ".pdf")).string()}),
            "print");
    }
    const double bucle = Desde(t);

    std::printf("clientes %d, documentos por cliente %ld\n", clientes, filas);
    std::printf("lote:  %.2f s (%.3f s por cliente)\n", lote.segundos, lote.segundos / clientes);
    std::printf("bucle: %.2f s (%.3f s por cliente)\n", bucle, bucle / clientes);
    std::printf("ratio lote/bucle: %.2f (%s de 0,5)\n", lote.segundos / bucle,
                lote.segundos <= 0.5 * bucle ? "dentro" : "FUERA");
    std::printf("memoria máxima del lote: %ld kB con %d clientes, %ld kB con %d\n", pocos.picoKb,
                clientes / 10, lote.picoKb, clientes);
    fs::remove_all(base);
    return lote.segundos <= 0.5 * bucle ? 0 : 1;
}
