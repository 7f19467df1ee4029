#include "macros/model/layer_names.h"

namespace {

bool IsIdentifierChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

}  // namespace

std::string LayerToken(std::string_view name) {
  std::string token(name);
  for (char& c : token)
    if (!IsIdentifierChar(c)) c = '_';
  return token;
}

int CompareNames(std::string_view a, std::string_view b) {
  return LayerToken(a).compare(LayerToken(b));
}

std::string LayerMarkerName(std::string_view name) {
  std::string text(name);
  for (char& c : text)
    if (c == ',' || c == '\r' || c == '\n') c = ' ';
  return text;
}

std::string LayerMarkerProgram(std::string_view program) {
  std::string text(program);
  for (char& c : text)
    if (c == '\r' || c == '\n') c = ' ';
  return text;
}
