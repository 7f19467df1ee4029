#pragma once
// The sink of the script engine's build messages: one line of text per call, each ending in
// "\n". The debugger's message list implements it; the debug engine writes into the stream it
// was given, and drops messages while none is set.

class ScriptOutputStream {
 public:
  virtual ~ScriptOutputStream() = default;
  virtual void Write(const char* text) = 0;
};
