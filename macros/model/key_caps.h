#pragma once
// The key records that show the layout: their macro entries rebuilt from the function list,
// and the records of the key caps.

struct MacroContext;

// Every key record's entries anew from the function list, in list order (a function of a scan
// code that no record has is not shown). Keys held by id stay held.
void RebuildKeyCaps(MacroContext& context);

// The records of the context's key caps, handed to the window's key-cap merge without storing
// the caps again; the cap records of an earlier call go first (and the keys they covered are
// plain keys again). The keys of the spacer set become spacers (through the window's hook), and
// a spacer key no longer in the set a plain key.
void BuildKeyCapViews(MacroContext& context);
