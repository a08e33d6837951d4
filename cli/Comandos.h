// The command line of the program: the scriptable face of the same host the window uses.
#pragma once

// Runs the program with its arguments and returns the exit status: 0 done, 1 findings,
// 2 refused (bad input, unknown code, unusable database or plug-in folder).
int EjecutarModelo(int argc, char** argv);
