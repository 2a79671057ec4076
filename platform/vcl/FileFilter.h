#pragma once
// File dialog filters. The program writes them as pairs of a description and
// patterns, all separated by '|', patterns by ';' ("WAD files|*.wad;*.was");
// the toolkit's file chooser takes one "description<tab>pattern" line per
// filter, alternatives in braces ("WAD files|*.wad;*.was" is written
// "WAD files<tab>{*.wad,*.was}").

#include <string>

#include "vcl/String.h"

namespace vcl {

// UTF-8 for the chooser. Blanks around patterns are dropped; a description
// without patterns is left out; an empty filter gives an empty string.
std::string ChooserFilter(const String& filter);

}  // namespace vcl
