// A module library for the pragma tests: plain cdecl exports, as module libraries have.
extern "C" __declspec(dllexport) int Scale(int value, float factor) {
  return static_cast<int>(static_cast<float>(value) * factor);
}

extern "C" __declspec(dllexport) int AddInts(int a, int b) { return a + b; }
