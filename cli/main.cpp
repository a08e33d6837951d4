#include "Comandos.h"

int main(int argc, char** argv) {
    return EjecutarModelo(argc, argv);
}
