// The drop target of the dialogs that take files dropped from the file manager (CF_HDROP)
// or dragged out of the music view ("CFSTR__Vx_FilePath", one path): it answers OLE and
// hands the drop itself to its dialog. The face registration and the slide-show
// collection dialogs embed one each.
#pragma once
#include <fw/fw.h>
#include <ole2.h>

#include <string>
#include <vector>

// What the dialog does with a drop: the effect it took (DROPEFFECT_COPY or _NONE).
class IFileDropSink {
 public:
  virtual DWORD OnFileDrop(IDataObject* pData) = 0;
  // FALSE while the dialog can't take a drop (it is busy with the last one).
  virtual BOOL IsDropAllowed() { return TRUE; }

 protected:
  ~IFileDropSink() {}
};

class CFileDropTarget : public IDropTarget {
 public:
  // The count lives in the dialog; the sink is the dialog.
  CFileDropTarget(LONG* pnRefs, IFileDropSink* pSink);

  // The registered format "CFSTR__Vx_FilePath".
  static CLIPFORMAT PrivateFormat();
  // The formats taken, in order: CF_HDROP, then the private one.
  const std::vector<CLIPFORMAT>& Formats() const { return m_formats; }

  STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override;
  STDMETHOD_(ULONG, AddRef)() override;
  STDMETHOD_(ULONG, Release)() override;
  STDMETHOD(DragEnter)(IDataObject* pData, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override;
  STDMETHOD(DragOver)(DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override;
  STDMETHOD(DragLeave)() override;
  STDMETHOD(Drop)(IDataObject* pData, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override;

 private:
  LONG* m_pnRefs;
  IFileDropSink* m_pSink;
  std::vector<CLIPFORMAT> m_formats;
  IDataObject* m_pData;  // the drag in progress, with a reference of ours
};

namespace filedrop {
// The format's data as a global block (content aspect, index -1); the caller releases the
// medium. FALSE when the object doesn't deliver it.
BOOL GetGlobal(IDataObject* pData, CLIPFORMAT cf, STGMEDIUM* pMedium);
// The dropped paths of a CF_HDROP block, in order (ANSI; wide lists converted).
std::vector<std::string> DroppedFiles(HGLOBAL hDrop);
// The one path of a private-format block, read no further than the block.
std::string DroppedPath(HGLOBAL hBlock);
}  // namespace filedrop
