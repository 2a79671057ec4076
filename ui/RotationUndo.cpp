#include "ui/RotationUndo.h"

#include <algorithm>

void RotationUndoStack::Push(const RotationUndoEntry& entry) {
  if (top == kCapacity - 1) {
    std::move(entries.begin() + 1, entries.end(), entries.begin());
    --top;
  }
  entries[static_cast<std::size_t>(++top)] = entry;
}

RotationUndoEntry RotationUndoStack::Pop() {
  if (Empty()) return {};
  return entries[static_cast<std::size_t>(top--)];
}

void RotationUndoStack::Clear() {
  entries.fill({});
  top = -1;
}
