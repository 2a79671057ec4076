#pragma once
// A vertex buffer held in memory.

#include <cstddef>
#include <cstdlib>
#include <memory>

#include "RefCounted.h"

namespace d3d8 {

class SoftVertexBuffer final : public RefCounted<IDirect3DVertexBuffer8> {
 public:
  static HRESULT Create(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                        SoftVertexBuffer** buffer);

  HRESULT Lock(UINT offsetToLock, UINT sizeToLock, BYTE** data, DWORD flags) override;
  HRESULT Unlock() override;
  HRESULT GetDesc(D3DVERTEXBUFFER_DESC* desc) override;

  const BYTE* Data() const { return bytes_.get(); }
  std::size_t Length() const { return length_; }
  bool Locked() const { return locked_; }

 private:
  SoftVertexBuffer(DWORD usage, DWORD fvf, D3DPOOL pool) : usage_(usage), fvf_(fvf), pool_(pool) {}

  DWORD usage_;
  DWORD fvf_;
  D3DPOOL pool_;
  // Zeroed when made; calloc takes fresh memory from the system without
  // clearing it a second time.
  struct Free {
    void operator()(BYTE* p) const { std::free(p); }
  };
  std::unique_ptr<BYTE[], Free> bytes_;
  std::size_t length_ = 0;
  bool locked_ = false;
};

}  // namespace d3d8
