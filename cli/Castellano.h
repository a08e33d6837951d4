// The parser in Spanish: its refusals, the nearest command to a mistyped one, its help.
#pragma once

#include <CLI/CLI.hpp>
#include <string>

// The line a person reads when the parser refuses the command line: in Spanish, cut to a
// readable length, with the nearest command to a mistyped one.
std::string MensajeDeFallo(const CLI::App* app, const CLI::Error& e);
// Help in Spanish: the parser's labels, its groups and its own flags. Before the commands are
// added, which copy them.
void AyudaEnCastellano(CLI::App& app);
// The group of every command, once they are all added.
void GruposEnCastellano(CLI::App& app);
