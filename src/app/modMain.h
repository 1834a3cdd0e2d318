#pragma once
// Start-up: the entry routine and the document it finds on the command line.
#include "CommandLine.h"

#include <QString>

namespace kestrin {

// The entry routine: classifies the command line (the arguments after the program's name
// joined by single spaces), shows the editor window or returns at once. Returns the exit code.
int Main(int argc, char **argv);

} // namespace kestrin
