#pragma once
// The reference count behind every interface of the device.

#include "d3d8/Direct3D8.h"

namespace d3d8 {

template <class Interface>
class RefCounted : public Interface {
 public:
  DWORD AddRef() override { return ++references_; }

  DWORD Release() override {
    if (references_ == 0) return 0;  // a release too many: nothing left to free
    const DWORD left = --references_;
    if (left == 0) delete this;
    return left;
  }

 protected:
  RefCounted() = default;
  ~RefCounted() override = default;

 private:
  DWORD references_ = 1;
};

// Adds a reference to `incoming`, drops the one held in `slot`, and stores.
template <class T>
void ReplaceReference(T*& slot, T* incoming) {
  if (incoming) incoming->AddRef();
  if (slot) slot->Release();
  slot = incoming;
}

}  // namespace d3d8
