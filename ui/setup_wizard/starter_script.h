#pragma once
// The starter script the desktop setup wizard writes for the default layout: the keys of the
// pre-printed key caps, three of which type the user's name, address and e-mail address.

#include <string>
#include <string_view>

// What the user told the wizard. Texts as typed; the address may hold line breaks.
struct UserDetails {
  std::wstring name;
  std::wstring address;
  std::wstring email;
  bool operator==(const UserDetails&) const = default;
};

// The address as one line: every line break (CR LF, or a lone CR or LF) becomes the two
// characters backslash and "n".
std::wstring AddressOnOneLine(std::wstring_view address);

// The whole script file, lines ending in CR LF, in the generated script format: each user
// text appears in a step marker as typed (line breaks as above, characters the narrow file
// cannot hold as ESC and five digits) and in its SendString call as a string literal whose
// value is the text itself (with real line breaks).
std::string StarterScriptFile(const UserDetails& details);
