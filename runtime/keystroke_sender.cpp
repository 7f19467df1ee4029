#include "runtime/keystroke_sender.h"

void SendString(const std::string&) {}
