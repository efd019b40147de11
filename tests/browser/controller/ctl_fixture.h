// The controller in the setting the icon view gives it: a document in a frame, a view of
// the test's own that keeps items as the icon view's store does and hands the controller
// every message and hint, and a manager window that records what the browser sends it.
#pragma once
#include <fw/fw.h>

#include <VxDocument.h>
#include <VxGUIDB.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>
#include <string>
#include <vector>

#include "ItemViewLink.h"
#include "VxGUITrans.h"

// One message the manager window got.
struct SeenMessage {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  ULONG_PTR copyCode;   // WM_COPYDATA: dwData
  std::string copyText; // WM_COPYDATA: the bytes up to cbData
  DWORD copyBytes;
};

class CTestItemView : public CView, public IVxItemView {
  DECLARE_DYNCREATE(CTestItemView)
 public:
  CTestItemView();
  ~CTestItemView() override;
  CVxGUITrans* m_pTrans;
  BOOL m_bReady;
  static HWND s_hManager;  // set before the view is made

  std::vector<CThumbnail*> m_items;  // display order
  std::vector<DWORD> m_selection;
  DWORD m_focus;
  CSize m_cell;
  BOOL m_bShown, m_bDrawing, m_bPictures;
  int m_nDeleteAll;
  std::vector<DWORD> m_redrawn;  // RedrawPicture's ids, in order
  int m_nPictureBatches = 0;     // the controller's "pictures decoded" messages the view got
  // Called after every AddItem (the tests make commands arrive during a scan with it).
  std::function<void(CThumbnail*)> m_onAdd;

  // IVxItemView
  HRESULT AddItem(CThumbnail* p) override;
  void RemoveItem(CThumbnail* p) override;
  void DeleteAllItems() override;
  int GetItemCount() const override { return (int)m_items.size(); }
  CThumbnail* GetThumbnail(DWORD id) const override;
  void CollectThumbnail(CList<CThumbnail*, CThumbnail*>& list, int nFlags) override;
  void SortItems(PFNVXITEMCOMPARE pfn, LPARAM lData) override;
  void Arrange(BOOL) override {}
  HRESULT SelectItem(DWORD id, BOOL bSelect) override;
  void Select(DWORD id, BOOL bSelect, BOOL) override;
  void UnSelectAll(BOOL) override;
  void SelectItems_End() override {}
  DWORD GetFocusItem() const override { return m_focus; }
  BOOL EnsureVisible(DWORD id, BOOL) override { return GetThumbnail(id) != NULL; }
  void SetCut(DWORD id, BOOL bCut) override;
  void RedrawItem(DWORD) override {}
  void RedrawPicture(DWORD id) override { m_redrawn.push_back(id); }
  void SetThumbnailSize(CSize size) override { m_cell = size; }
  void SetItemsShown(BOOL b) override { m_bShown = b; }
  void EnableDrawing(BOOL b) override { m_bDrawing = b; }
  void SetPicturesShown(BOOL b) override { m_bPictures = b; }

  std::vector<std::string> Names() const;  // display names in display order

 protected:
  void OnDraw(CDC*) override {}
  void OnInitialUpdate() override;
  void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
};

// The document, a frame holding the test view, and the manager window.
struct BrowserHost {
  CVxDocument* pDoc = nullptr;
  CFrameWnd* pFrame = nullptr;
  CTestItemView* pView = nullptr;
  HWND hManager = nullptr;

  BrowserHost();
  ~BrowserHost();
  CVxGUITrans* trans() const { return pView ? pView->m_pTrans : nullptr; }
  CBrowserDocument* browser() const { return pDoc ? pDoc->GetBrowser() : nullptr; }
  HWND view() const { return pView ? pView->GetSafeHwnd() : nullptr; }

  // Sends a WM_COPYDATA to the browser window; its result.
  LRESULT SendCopy(ULONG_PTR code, const std::string& text, bool withNul = true);
  // Shows a folder as the folder pane does and runs the queue until it is empty.
  void ShowFolder(const std::string& folder);
  void RunQueue();
  // What the manager got; cleared by Forget.
  std::vector<SeenMessage> Seen(UINT message) const;
  void Forget();
};

// Answers the dialog boxes of this process one after the other with scripted button ids
// (IDCANCEL once the script is used up), as a user would, and records each box as
// "[own]caption|text" ("[own]" for the browser's delete question).
class BoxAnswers {
 public:
  explicit BoxAnswers(std::vector<int> ids);
  ~BoxAnswers();
  BoxAnswers(const BoxAnswers&) = delete;
  BoxAnswers& operator=(const BoxAnswers&) = delete;
  std::vector<std::string> Seen();
  size_t Count() { return Seen().size(); }

 private:
  void Run();
  std::vector<int> ids_;
  size_t next_ = 0;
  std::mutex m_;
  std::vector<std::string> seen_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

namespace ctltest {
std::string Fixture(const char* name);
// A resource string.
std::string Res(UINT id);
// A folder of the test's own on the small mounted disk C:\glimora-full (smalldisks.sh),
// filled until the disk takes no more; the filling and the folder go at the end. Empty
// folder() when that is no small disk (the test fails then, it does not skip).
class FullDisk {
 public:
  explicit FullDisk(const char* sub);
  ~FullDisk();
  FullDisk(const FullDisk&) = delete;
  FullDisk& operator=(const FullDisk&) = delete;
  const std::string& folder() const { return folder_; }
  // Fills the disk up; what is written first (the test's files) must be there before.
  bool Fill();

 private:
  std::string folder_;
};
// A fresh scratch folder below the program's own.
std::string Scratch(const char* sub);
// The texts of a dialog box's static controls, joined.
std::string BoxText(HWND box);
bool Copy(const char* fixture, const std::string& to);
void Pump();
}  // namespace ctltest
