#include "SoftVertexBuffer.h"

#include <new>

#include "Faults.h"

namespace d3d8 {
namespace {

// Larger buffers are refused rather than allocated.
constexpr UINT kMaxVertexBufferBytes = 256u << 20;

}  // namespace

HRESULT SoftVertexBuffer::Create(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                                 SoftVertexBuffer** buffer) {
  if (!buffer) return D3DERR_INVALIDCALL;
  *buffer = nullptr;
  if (length == 0) return D3DERR_INVALIDCALL;
  if (length > kMaxVertexBufferBytes || FaultDue(Fault::CreateVertexBuffer))
    return D3DERR_OUTOFVIDEOMEMORY;
  SoftVertexBuffer* created = new (std::nothrow) SoftVertexBuffer(usage, fvf, pool);
  if (!created) return E_OUTOFMEMORY;
  created->bytes_.reset(static_cast<BYTE*>(std::calloc(length, 1)));
  if (!created->bytes_) {
    created->Release();
    return E_OUTOFMEMORY;
  }
  created->length_ = length;
  *buffer = created;
  return S_OK;
}

HRESULT SoftVertexBuffer::Lock(UINT offsetToLock, UINT sizeToLock, BYTE** data, DWORD) {
  if (!data || locked_ || offsetToLock >= length_) return D3DERR_INVALIDCALL;
  if (sizeToLock > length_ - offsetToLock) return D3DERR_INVALIDCALL;
  if (FaultDue(Fault::LockVertexBuffer)) return D3DERR_INVALIDCALL;
  locked_ = true;
  *data = bytes_.get() + offsetToLock;
  return S_OK;
}

HRESULT SoftVertexBuffer::Unlock() {
  if (!locked_) return D3DERR_INVALIDCALL;
  locked_ = false;
  return S_OK;
}

HRESULT SoftVertexBuffer::GetDesc(D3DVERTEXBUFFER_DESC* desc) {
  if (!desc) return D3DERR_INVALIDCALL;
  *desc = D3DVERTEXBUFFER_DESC{D3DFMT_UNKNOWN, D3DRTYPE_VERTEXBUFFER, usage_, pool_,
                               static_cast<UINT>(length_), fvf_};
  return S_OK;
}

}  // namespace d3d8
