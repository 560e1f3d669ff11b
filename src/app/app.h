// app: the program's top module (prefix App). It stands above every subsystem: start-up wires the hooks
// through which lower modules reach upper ones, then hands over to the shell.
#pragma once

// Registers every hook of the lower modules with its owner above; called once, first thing at start-up.
void AppWireHooks();
