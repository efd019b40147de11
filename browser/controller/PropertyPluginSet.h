// CPropertyPluginSet: the property-page plug-ins (".prp" libraries of the program folder)
// of the focus-information view, loaded once and ordered by the priority each reports. A
// plug-in is a plain library bound by export name at every call; a missing export makes
// that call do nothing.
#pragma once
#include <fw/fw.h>

class CPropertyPlugin {
 public:
  CPropertyPlugin(HMODULE hModule, LPCSTR pszPath);
  ~CPropertyPlugin();
  HMODULE m_hModule;
  CString m_strPath;
  int m_nPriority;
  void* m_pPage;  // the page window object CreateNewPage made (the plug-in's)

  void* CreatePage();
  void SetInfo(DWORD_PTR dwValue);
  void SetThumInfo(int a, int b, int c);
  BOOL IsSupported();
  // -1 without a module or a page; else sends the message to the page window and answers 0.
  LRESULT SendPageMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  FARPROC Export(LPCSTR pszName) const { return m_hModule ? ::GetProcAddress(m_hModule, pszName) : NULL; }
};

class CPropertyPluginSet {
 public:
  // Scans pszFolder (the program folder when null) for "*.prp".
  explicit CPropertyPluginSet(LPCSTR pszFolder = NULL);
  ~CPropertyPluginSet();
  CPropertyPluginSet(const CPropertyPluginSet&) = delete;
  CPropertyPluginSet& operator=(const CPropertyPluginSet&) = delete;
  int GetCount() const { return (int)m_plugins.GetCount(); }
  CPropertyPlugin* GetAt(int n) const;
  // The same record when it is in the set, else null; without one, the first record.
  CPropertyPlugin* Find(CPropertyPlugin* pRecord) const;

 private:
  CList<CPropertyPlugin*, CPropertyPlugin*> m_plugins;
};

// Keeps the module's current resource handle while a plug-in runs and puts it back.
class CPluginResourceScope {
 public:
  CPluginResourceScope() : m_hKept(NULL), m_bKept(FALSE) {}
  BOOL Save(HMODULE hModule);
  BOOL Restore();

 private:
  HINSTANCE m_hKept;
  BOOL m_bKept;
};
