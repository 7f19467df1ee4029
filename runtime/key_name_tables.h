#pragma once
// The key names of macro text and their codes.

// Fills the tables (again: a second fill leaves them as they are).
void InitKeyNameTables();
// Empties them (the device thread's end).
void ClearKeyNameTables();
