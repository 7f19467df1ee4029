#pragma once
#include <cstddef>

// Bytes-in entries for fuzzing (libFuzzer's LLVMFuzzerTestOneInput can call them). Each
// aborts when an invariant of the code under test fails, and otherwise returns 0.

// The lexer, the printer, define parsing and expansion over arbitrary text.
int FuzzPreprocessorLexer(const unsigned char* data, std::size_t size);
// Splitting a combined text with include markers, and loading then splitting a file.
int FuzzIncludeSplit(const unsigned char* data, std::size_t size);
// A whole preprocessing run over a root text and two include files cut from the input, with
// in-memory files and no libraries: it ends, and every message is one line.
int FuzzScriptPreprocessor(const unsigned char* data, std::size_t size);
// Module pragmas against a real engine, with libraries that all load and export everything: a
// declaration the engine is given is one it takes, and the engine still builds scripts after.
int FuzzPreprocessorPragmas(const unsigned char* data, std::size_t size);
