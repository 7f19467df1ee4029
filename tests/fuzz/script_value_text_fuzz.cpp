// Fuzz target: the debugger's setting of a primitive script value from the text the user
// types. It writes the type's own bytes and no others; an integer is the 64-bit value cut to
// its width and a float the double rounded; the value's text sets the same value again
// (the same text again for floats, whose text rounds); other types take nothing.
#include <angelscript.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "runtime/script/script_value_text.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/script_types_engine.h"

namespace {

asIScriptEngine* Engine() {
  static EngineHolder engine;
  if (!engine) {
    engine = MakeScriptTypesEngine();
    Check(engine->RegisterEnum("Side") >= 0 && engine->RegisterEnumValue("Side", "Left", 1) >= 0);
  }
  return engine.get();
}

constexpr std::uint8_t kUntouched = 0xA5;
constexpr std::size_t kAt = 8;  // the value's place in a cell with room on both sides

struct Cell {
  std::array<std::uint8_t, 24> bytes;
  Cell() { bytes.fill(kUntouched); }
  void* Value() { return bytes.data() + kAt; }
};

// Sets the type from text in a fresh cell; only the type's bytes may change.
Cell Set(int typeId, std::size_t width, const std::string& text) {
  Cell cell;
  Check(SetPrimitiveFromText(Engine(), typeId, cell.Value(), text.c_str()));
  for (std::size_t i = 0; i < cell.bytes.size(); ++i)
    if (i < kAt || i >= kAt + width) Check(cell.bytes[i] == kUntouched);
  return cell;
}

std::string Text(int typeId, Cell& cell) {
  const std::string text = ScriptValueText(Engine(), typeId, cell.Value(), ValueTextUse::Local, 512);
  Check(ScriptValueText(Engine(), typeId, cell.Value(), ValueTextUse::Local, 5).size() <= 4);
  return text;
}

bool SameValue(Cell& a, Cell& b, std::size_t width) { return std::memcmp(a.Value(), b.Value(), width) == 0; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);  // the edit box stops at a 0
  const std::size_t enumWidth = 4;
  const int enumId = Engine()->GetTypeIdByDecl("Side");
  Check(enumId > 0);

  Cell wide = Set(asTYPEID_INT64, 8, text);
  const struct {
    int typeId;
    std::size_t width;
  } integers[] = {{asTYPEID_INT8, 1},   {asTYPEID_INT16, 2},  {asTYPEID_INT32, 4}, {asTYPEID_INT64, 8},
                  {asTYPEID_UINT8, 1},  {asTYPEID_UINT16, 2}, {asTYPEID_UINT32, 4}, {asTYPEID_UINT64, 8},
                  {enumId, enumWidth}};
  for (const auto& t : integers) {
    Cell value = Set(t.typeId, t.width, text);
    // Little-endian: the cut is the value's first bytes. uint64 reads past the signed range.
    if (t.typeId != asTYPEID_UINT64) Check(SameValue(value, wide, t.width));
    Cell again = Set(t.typeId, t.width, Text(t.typeId, value));
    Check(SameValue(again, value, t.width));
  }

  Cell real = Set(asTYPEID_DOUBLE, sizeof(double), text);
  Cell single = Set(asTYPEID_FLOAT, sizeof(float), text);
  double d = 0;
  float f = 0;
  std::memcpy(&d, real.Value(), sizeof d);
  std::memcpy(&f, single.Value(), sizeof f);
  const float rounded = static_cast<float>(d);
  Check(std::memcmp(&f, &rounded, sizeof f) == 0 || (f != f && rounded != rounded));
  for (const auto& [typeId, width] : {std::pair{asTYPEID_DOUBLE, sizeof(double)}, std::pair{asTYPEID_FLOAT, sizeof(float)}}) {
    Cell value = Set(typeId, width, text);
    const std::string shown = Text(typeId, value);
    Cell again = Set(typeId, width, shown);
    Check(Text(typeId, again) == shown);
  }

  Cell flag = Set(asTYPEID_BOOL, sizeof(bool), text);
  Cell back = Set(asTYPEID_BOOL, sizeof(bool), Text(asTYPEID_BOOL, flag));
  Check(SameValue(back, flag, sizeof(bool)));

  // Strings, arrays, handles and void take no text, and nothing is written.
  for (const char* decl : {"string", "uint8[]", "int[]"}) {
    const int id = Engine()->GetTypeIdByDecl(decl);
    Check(id > 0);
    for (int typeId : {id, id | asTYPEID_OBJHANDLE}) {
      Cell cell;
      Check(!SetPrimitiveFromText(Engine(), typeId, cell.Value(), text.c_str()));
      Check(cell.bytes == Cell().bytes);
    }
  }
  Cell none;
  Check(!SetPrimitiveFromText(Engine(), asTYPEID_VOID, none.Value(), text.c_str()));
  Check(!SetPrimitiveFromText(Engine(), asTYPEID_INT32, nullptr, text.c_str()));
  Check(none.bytes == Cell().bytes);
  return 0;
}
