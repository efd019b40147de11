// What the test host and its plug-in share: the host's tree class with operations of its
// own after CTreeCtrl's, called by the plug-in through the host's object, and the exports.
#pragma once
#include <fw/fw.h>

class CHostTree : public CTreeCtrl {
 public:
  virtual void EnableStateClick(int nFlag);
  virtual UINT GetSelectedCount();
  int m_nStateClick = 0;
};

// FillTree(tree, image list, parent): E_INVALIDARG for any null; builds two items.
typedef HRESULT (*PFN_FILLTREE)(CTreeCtrl* pTree, CImageList* pImages, HTREEITEM hParent);
// FillMenu(tree, menu): appends a popup of three commands, the second greyed.
typedef HRESULT (*PFN_FILLMENU)(CTreeCtrl* pTree, CMenu* pMenu);
// ReadDrop(data, path buffer, size, has-folder-format): the first dropped path.
typedef HRESULT (*PFN_READDROP)(COleDataObject* pData, char* pszPath, int cch, int* pbFolders);

#define PLUGIN_FIRST_COMMAND 29201
