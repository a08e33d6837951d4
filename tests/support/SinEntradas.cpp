// A shared library that loads cleanly but is not a form: it exports a function, yet neither
// entry point. A copy of the framework library would do too, but loading a second copy of it
// next to the one the program links duplicates its globals and type information.
extern "C" __attribute__((visibility("default"))) int modelo_prueba_sin_entradas() {
    return 0;
}
