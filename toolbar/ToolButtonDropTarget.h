// CToolButtonDropTarget: the OLE drop target on a toolbar button that takes files. A drag
// coming in tells the pane (message 1914, which opens the button's list); the files
// dropped go to the button as a shell drop would, once OLE's drop is over.
#pragma once
#include <fw/fw.h>
#include <fw/ole.h>

class CToolButtonDropTarget : public COleDropTarget {
 public:
  CToolButtonDropTarget(CWnd* pOwner, int nCommand) : m_pOwner(pOwner), m_nCommand(nCommand) {}
  int GetCommand() const { return m_nCommand; }

  DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
  DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
  BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point) override;

 private:
  CWnd* m_pOwner;
  int m_nCommand;
};
