#pragma once
// The rotation undo stack: the last ten track-bar presses, each the three
// track-bar positions and the picked mesh at the moment of the press. A push
// onto a full stack drops the oldest entry.

#include <array>
#include <cstdint>

struct RotationUndoEntry {
  std::array<float, 3> angles{};  // TrackBar1..3 positions, whole degrees
  std::int32_t mesh = 0;          // pickedMesh
  bool operator==(const RotationUndoEntry&) const = default;
};

class RotationUndoStack {
 public:
  static constexpr int kCapacity = 10;

  void Push(const RotationUndoEntry& entry);
  // Takes the newest entry off the stack; an empty stack gives a zero entry.
  RotationUndoEntry Pop();
  // Empties the stack and zeroes every entry.
  void Clear();

  bool Empty() const { return top < 0; }
  int Count() const { return top + 1; }
  // Entry i from the oldest (0) to the newest (Count() - 1).
  const RotationUndoEntry& At(int i) const { return entries[static_cast<std::size_t>(i)]; }

 private:
  std::array<RotationUndoEntry, kCapacity> entries{};
  int top = -1;  // index of the newest entry; -1 when empty
};
