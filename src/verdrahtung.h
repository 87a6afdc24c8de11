#pragma once
// Wires the folders together before the main window is made: each folder's Registrieren adds
// its steps to the main window (foundation/hauptfenster.h) and fills the services it lends to
// lower folders (foundation/dienste.h). The program calls it once; the wiring test calls it to
// check what the program gets.
void Verdrahten();
