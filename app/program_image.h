#pragma once
// A host that loads the program (an .exe) as a library gets an image that the loader left half
// made: the program's imports are not bound and its start-up code (the C++ constructors, the
// registration of the exception tables) has not run. Every export calls this first.

// True when the program's code may run: at once in the running program; in a host the first
// call binds the imports and runs the start-up. False, with nothing touched, when the image
// sits at another address than it was linked for and was not relocated (Wine maps an .exe
// loaded as a library where it can, without relocating it), or an import cannot be found.
bool PrepareProgramImage();

// Right after a yes from PrepareProgramImage: keeps the compiler from reading the program's
// memory ahead of the answer (a conditional move reads its operand whichever way it goes).
inline void AfterProgramImageReady() { asm volatile("" ::: "memory"); }
