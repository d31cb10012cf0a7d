// The translations of one context of a Qt Linguist catalogue (.ts), read
// without Qt: the help page is written at build time from the devices'
// descriptions, in French and, through this, in English.
#pragma once

#include <map>
#include <string>

using TCatalogue = std::map<std::string, std::string>; // source -> translation

// The finished translations of `context` in the text of a .ts file; false
// when the text holds no such context.
bool ReadCatalogue(const std::string& ts, const std::string& context, TCatalogue& catalogue);

// The translation of `source`, or `source` itself when the catalogue has none.
std::string Translated(const TCatalogue& catalogue, const std::string& source);
