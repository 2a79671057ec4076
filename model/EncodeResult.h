#pragma once
// The outcome of turning the edited model back into WAD sections: either done,
// or refused with a sentence the editor can show. A refused encode leaves the
// WAD record as it was.

#include <string>
#include <utility>

struct EncodeResult {
  bool ok = true;
  std::string message;  // empty when ok

  static EncodeResult Done() { return {}; }
  static EncodeResult Refused(std::string why) { return {false, std::move(why)}; }
  explicit operator bool() const { return ok; }
};
