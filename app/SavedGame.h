#pragma once
// The script's global variables in a saved game, after the 24-byte player record: a count,
// then for each variable in name order its name length, its name bytes and its value, all
// little-endian 32-bit.
#include <cstdio>

void saveGameFile(FILE* file);

// Replaces globalVars with the file's variables. A short or damaged file keeps what could be
// read: a missing count or length reads as 0, a missing value as -1.
void loadGameFile(FILE* file);
