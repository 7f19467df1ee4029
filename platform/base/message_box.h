#pragma once
// A message box in the program's terms: its buttons, its icon, how it comes up and the button
// that closed it. Only the platform's side knows their numbers (message_box_numbers.h).

// The first button is the default one.
enum class BoxButtons { Ok, OkCancel, YesNo, YesNoCancel };
// The platform draws a warning and an exclamation alike.
enum class BoxIcon { None, Error, Warning, Information, Question };
// A box of the device thread has no owner to come up with: it is brought to the foreground.
enum class BoxFlag { None, SetForeground };
enum class BoxAnswer { Ok, Cancel, Yes, No };
