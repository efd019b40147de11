// Handle maps of the GDI and menu wrappers (internal to GlimFW.dll).
//
// Permanent entries: objects that own a handle through Attach; one map for the process,
// so FromHandle on any thread finds the object that owns the handle.
// Temporary entries: wrappers FromHandle makes for handles nobody owns. They belong to
// the thread that made them (another thread's idle clean-up must never delete a wrapper
// still in use) and are deleted by that thread's DeleteTempMap or when it ends.
#pragma once
#include <fw/object.h>

namespace fwmap {

// Handle kinds: an HMENU and an HGDIOBJ may have the same value.
enum Kind { kGdiObject, kDC, kMenu, kWnd, kImageList, kKindCount };

void AddPermanent(Kind kind, void* h, CObject* p);
// Removes the entry only when it still points to p (another object may own h now).
void RemovePermanent(Kind kind, void* h, CObject* p);
// The owner of h when it is a pClass (or derived); NULL otherwise.
CObject* LookupPermanent(Kind kind, void* h, CRuntimeClass* pClass);

// Makes a wrapper of class pClass for h: the object is created, attached without
// entering the permanent map, and released (detached, then deleted) by `release`.
typedef CObject* (*MakeFn)(void* h);
typedef void (*ReleaseFn)(CObject* p);
CObject* LookupTemporary(Kind kind, void* h, CRuntimeClass* pClass, MakeFn make, ReleaseFn release);
void DeleteTemporaries(Kind kind);

// The owner if there is one, else this thread's wrapper of class T.
// FwTempAttach(T*, void*) and FwTempDetach(T*) (found by argument-dependent lookup) set
// and clear the wrapper's handle without touching the permanent map or the handle.
template <class T, class H>
T* FromHandle(Kind kind, H h) {
  if (h == nullptr) return nullptr;
  void* key = reinterpret_cast<void*>(h);
  if (CObject* p = LookupPermanent(kind, key, RUNTIME_CLASS(T))) return static_cast<T*>(p);
  struct Fns {
    static CObject* Make(void* raw) {
      T* p = new T;
      FwTempAttach(p, raw);
      return p;
    }
    static void Release(CObject* p) {
      T* t = static_cast<T*>(p);
      FwTempDetach(t);
      delete t;
    }
  };
  return static_cast<T*>(LookupTemporary(kind, key, RUNTIME_CLASS(T), &Fns::Make, &Fns::Release));
}

// Attach and Detach of an owner whose handle lives in `member`.
template <class H>
BOOL AttachOwner(Kind kind, H& member, H h, CObject* pOwner) {
  if (h == nullptr) return FALSE;
  // A second Create on the same object: the old handle is the caller's now, not ours.
  if (member != nullptr && member != h) RemovePermanent(kind, reinterpret_cast<void*>(member), pOwner);
  member = h;
  AddPermanent(kind, reinterpret_cast<void*>(h), pOwner);
  return TRUE;
}

template <class H>
H DetachOwner(Kind kind, H& member, CObject* pOwner) {
  H h = member;
  if (h != nullptr) RemovePermanent(kind, reinterpret_cast<void*>(h), pOwner);
  member = nullptr;
  return h;
}

}  // namespace fwmap
