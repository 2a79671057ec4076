#pragma once
// A "Strings.xml" for the test WAD: object 0 is "PLATE", object 7 has a name
// of twenty two-byte letters (40 bytes), objects 1 to 6 have short names, and
// no object past 7 has one.

#include <string>

namespace uitest {

inline std::string TestNamesXml() {
  std::string names;
  for (int id = 0; id < 7; ++id)
    names += id == 0 ? R"(<m name="PLATE"/>)" : "<m name=\"N" + std::to_string(id) + "\"/>";
  std::string longName;
  for (int i = 0; i < 20; ++i) longName += "\xC3\xA9";  // U+00E9 in UTF-8
  names += "<m name=\"" + longName + "\"/>";
  return R"(<?xml version="1.0" encoding="UTF-8"?><strings><p/><m/><e/><s/>)"
         "<objects><statics/><moveables>" + names + "</moveables></objects></strings>";
}

}  // namespace uitest
