#include "macros/model/key_function_names.h"

namespace {

constexpr std::string_view kEventNames[] = {"KeyDown", "KeyUp"};
constexpr std::string_view kColourNames[] = {"Green", "Red", kAnyColourLayer};

template <typename Value, std::size_t N>
std::optional<Value> ValueOfName(const std::string_view (&names)[N], std::string_view word) {
  for (std::size_t i = 0; i < N; ++i)
    if (names[i] == word) return static_cast<Value>(i);
  return std::nullopt;
}

}  // namespace

std::string_view KeyEventName(KeyEvent event) { return kEventNames[static_cast<std::size_t>(event)]; }

std::string_view LayerColourName(LayerColour colour) { return kColourNames[static_cast<std::size_t>(colour)]; }

std::optional<KeyEvent> KeyEventOfName(std::string_view word) { return ValueOfName<KeyEvent>(kEventNames, word); }

std::optional<LayerColour> LayerColourOfName(std::string_view word) {
  return ValueOfName<LayerColour>(kColourNames, word);
}

std::string KeyFunctionName(KeyEvent event, int scan, LayerColour colour, std::string_view program) {
  const std::string_view eventName = KeyEventName(event);
  const std::string_view colourName = LayerColourName(colour);
  std::string name;
  name.reserve(eventName.size() + colourName.size() + program.size() + 8);
  name.append(eventName).append("_").append(std::to_string(scan)).append("_");
  name.append(colourName).append("_").append(program).append("()");
  return name;
}

std::string KeyFunctionName(const KeyFunction& f) { return KeyFunctionName(f.event, f.scan, f.colour, f.program); }
