// The controller over a document in a frame: GetCGBrowser and ICGBrowser, the WM_COPYDATA
// intake and its queue, replies to the main window, and the messages that carry pointers
// or blocks.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include <Kitlib2/OwnMessage.h>

#include "MainWndMessages.h"
#include "SlideShowController.h"
#include "ctl_fixture.h"
#include "dialogwatch.h"
#include "pump.h"

namespace {

// A folder of n small pictures named p00.jpg, p01.jpg, ...
std::string PictureFolder(const char* sub, int n) {
  std::string d = ctltest::Scratch(sub);
  for (int i = 0; i < n; ++i) {
    char name[32];
    wsprintfA(name, "\\p%02d.jpg", i);
    ctltest::Copy("plain.jpg", d + name);
  }
  return d;
}

int BrowserCreatedFlag() {
  DWORD v = 99;
  CMarloRegManager(EXESTATE_SECTION, KEY_READ).Read(EXESTATE_BROWSER_CREATED, v);
  return (int)v;
}

UINT Registered(const char* name) { return RegisterWindowMessageA(name); }

}  // namespace

TEST(Controller, GetCGBrowserFollowsTheViewsLife) {
  EXPECT_EQ(GetCGBrowser(), nullptr);
  {
    BrowserHost h;
    ASSERT_NE(h.trans(), nullptr);
    EXPECT_EQ(GetCGBrowser(), static_cast<ICGBrowser*>(h.trans()));
  }
  EXPECT_EQ(GetCGBrowser(), nullptr);
}

TEST(Controller, InitialisationTellsTheMainWindowAndTheProfile) {
  BrowserHost h;
  ASSERT_NE(h.view(), nullptr);
  // 1306 with the browser window and the browser-area entry 0.
  auto created = h.Seen(WM_CHILD_WINDOW_CREATED);
  ASSERT_EQ(created.size(), 1u);
  EXPECT_EQ((HWND)created[0].wParam, h.view());
  EXPECT_EQ(created[0].lParam, 0);
  EXPECT_EQ(BrowserCreatedFlag(), 1);
  h.pFrame->DestroyWindow();
  h.pFrame = nullptr;
  EXPECT_EQ(BrowserCreatedFlag(), 0);
}

TEST(Controller, ICGBrowserRefusesNullOutParameters) {
  BrowserHost h;
  CVxGUITrans* t = h.trans();
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->QueryMarkCount(QUERYMARK_0, nullptr), E_INVALIDARG);
  EXPECT_EQ(t->QuerySelectCount(QUERYSELECT_0, nullptr), E_INVALIDARG);
  EXPECT_EQ(t->GetFileData((CGFileInfoList*)nullptr, 0), E_INVALIDARG);
  EXPECT_EQ(t->GetFileData((CList<CThumbnail*, CThumbnail*>*)nullptr, 1), E_INVALIDARG);
  t->EndUpdate();
  EXPECT_FALSE(t->IsLockUpdate());
  t->BeginUpdate();
  t->EndUpdate();
  t->EndUpdate();
  EXPECT_FALSE(t->IsLockUpdate());
}

TEST(Controller, SlideShowSettingsGoThroughTheController) {
  BrowserHost h;
  CVxGUITrans* t = h.trans();
  std::vector<tagSLD_V_TYPE> slides;
  SLD_TYPE type;
  EXPECT_EQ(t->GetSlideShow(&type, &slides, nullptr, nullptr, nullptr, nullptr), E_FAIL);
  EXPECT_EQ(t->SetSlideShow(SLD_TYPE_0, &slides, nullptr, SLD_QUALITY_0, 1, 2), E_POINTER);
  EXPECT_EQ(t->SetSlideShow(SLD_TYPE_0, nullptr, nullptr, SLD_QUALITY_0, 1, 2), E_POINTER);
  EXPECT_EQ(t->GetSlideShowController(), nullptr);  // no controller for a refused call
  tagSLD_V_TYPE one = {};
  lstrcpyA(one.szPath, "C:\\a.jpg");
  slides.push_back(one);
  EXPECT_EQ(t->SetSlideShow((SLD_TYPE)3, &slides, nullptr, (SLD_QUALITY)2, 7, 9), S_OK);
  std::vector<tagSLD_V_TYPE> back;
  SLD_QUALITY q;
  int o1 = 0, o2 = 0;
  EXPECT_EQ(t->GetSlideShow(&type, &back, nullptr, &q, &o1, &o2), S_OK);
  ASSERT_EQ(back.size(), 1u);
  EXPECT_STREQ(back[0].szPath, "C:\\a.jpg");
  EXPECT_EQ((int)type, 3);
  EXPECT_EQ((int)q, 2);
  EXPECT_EQ(o1, 7);
  EXPECT_EQ(o2, 9);
  // The player is not there: the show does not start.
  EXPECT_LT(t->GetSlideShowController()->Start(), 0);
}

TEST(Controller, FolderChangeShowsTheFolderAndReportsCounts) {
  BrowserHost h;
  std::string a = PictureFolder("show", 3);
  h.ShowFolder(a);
  EXPECT_EQ(h.pView->Names(), (std::vector<std::string>{"p00.jpg", "p01.jpg", "p02.jpg"}));
  ASSERT_EQ(h.trans()->GetFolderList().GetCount(), 1);
  EXPECT_EQ(std::string((LPCSTR)h.trans()->GetFolderList().GetHead()), a + "\\");
  EXPECT_FALSE(h.Seen(WM_STATUS_MARK_COUNT).empty());
  auto counts = h.Seen(WM_STATUS_FILE_COUNT);
  ASSERT_FALSE(counts.empty());
  EXPECT_EQ(counts.back().lParam, 3);
  EXPECT_TRUE(h.pView->m_bShown && h.pView->m_bDrawing && h.pView->m_bPictures);

  CGFileInfoList files;
  EXPECT_EQ(h.trans()->GetFileData(&files, 0), S_OK);
  EXPECT_EQ(files.GetCount(), 3);
  CList<CThumbnail*, CThumbnail*> all;
  EXPECT_EQ(h.trans()->GetFileData(&all, 1), S_OK);
  EXPECT_EQ(all.GetCount(), 3);
}

// Every picture the decoder makes is drawn again; pictures finished while the window is
// busy cost one message together, not one each.
TEST(Controller, DecodedPicturesAreRedrawnABatchPerMessage) {
  BrowserHost h;
  h.ShowFolder(PictureFolder("decoded", 6));
  ASSERT_EQ(h.pView->m_items.size(), 6u);
  std::vector<DWORD> ids;
  for (CThumbnail* p : h.pView->m_items) ids.push_back(p->GetUniqueID(VXID_SLOT_VIEW));
  auto redrawnOnce = [&] {
    std::vector<DWORD> got = h.pView->m_redrawn;
    std::sort(got.begin(), got.end());
    got.erase(std::unique(got.begin(), got.end()), got.end());
    std::vector<DWORD> want = ids;
    std::sort(want.begin(), want.end());
    return got == want;
  };
  EXPECT_TRUE(testsupport::WaitUntil(redrawnOnce, 10000));
  for (CThumbnail* p : h.pView->m_items) EXPECT_TRUE(p->IsDecoded()) << (LPCSTR)p->GetFileName();

  // Four threads report 400 pictures while the window does not pump.
  ctltest::Pump();
  h.pView->m_redrawn.clear();
  h.pView->m_nPictureBatches = 0;
  std::vector<std::thread> threads;
  for (DWORD t = 0; t < 4; ++t)
    threads.emplace_back([&, t] {
      for (DWORD i = 0; i < 100; ++i) h.trans()->PictureDecoded(1000 + t * 100 + i);
    });
  for (std::thread& t : threads) t.join();
  ctltest::Pump();
  EXPECT_EQ(h.pView->m_nPictureBatches, 1);
  std::vector<DWORD> got = h.pView->m_redrawn, want;
  for (DWORD i = 1000; i < 1400; ++i) want.push_back(i);
  std::sort(got.begin(), got.end());
  EXPECT_EQ(got, want);
  // The next picture asks again.
  h.trans()->PictureDecoded(7);
  ctltest::Pump();
  EXPECT_EQ(h.pView->m_nPictureBatches, 2);
  EXPECT_EQ(h.pView->m_redrawn.back(), 7u);
}

// The four branches of GetFileData: selection in selection order, marks with zero sizes,
// every file of the listed folders, the items shown; sub-folders never listed.
TEST(Controller, GetFileDataBranches) {
  BrowserHost h;
  std::string a = PictureFolder("branches", 3);
  CreateDirectoryA((a + "\\sub").c_str(), nullptr);
  h.browser()->SubFolderVisible(TRUE);
  h.ShowFolder(a);
  ASSERT_EQ(h.pView->m_items.size(), 4u);  // the sub-folder is shown
  CTestItemView* v = h.pView;
  auto idOf = [&](const char* name) -> DWORD {
    for (CThumbnail* p : v->m_items)
      if (p->GetFileName() == name) return p->GetUniqueID(VXID_SLOT_VIEW);
    return VXID_NONE;
  };
  v->SelectItem(idOf("p02.jpg"), TRUE);
  v->SelectItem(idOf("p00.jpg"), TRUE);
  v->SelectItem(idOf("sub"), TRUE);
  h.browser()->SetMark(v->GetThumbnail(idOf("p01.jpg")), 1);

  auto names = [](CGFileInfoList& l) {
    std::vector<std::string> out;
    for (POSITION pos = l.GetHeadPosition(); pos;) {
      CString p = l.GetNext(pos).path;
      out.push_back((LPCSTR)p.Mid(p.ReverseFind('\\') + 1));
    }
    return out;
  };
  CGFileInfoList l;
  h.trans()->GetFileData(&l, (long)0x80000000);
  EXPECT_EQ(names(l), (std::vector<std::string>{"p02.jpg", "p00.jpg"}));
  h.trans()->GetFileData(&l, 0x20000000);
  EXPECT_EQ(names(l), (std::vector<std::string>{"p01.jpg"}));
  ASSERT_EQ(l.GetCount(), 1);
  EXPECT_EQ(l.GetHead().width, 0);
  EXPECT_EQ(l.GetHead().height, 0);
  h.trans()->GetFileData(&l, 0x20000001);
  EXPECT_EQ(names(l), (std::vector<std::string>{"p01.jpg"}));
  h.trans()->GetFileData(&l, 1);
  EXPECT_EQ(l.GetCount(), 3);
  h.trans()->GetFileData(&l, 0);
  EXPECT_EQ(l.GetCount(), 3);
  h.browser()->ClearMark();
  h.browser()->SubFolderVisible(FALSE);
}

TEST(Controller, QueryCountsFollowTheDocument) {
  BrowserHost h;
  h.ShowFolder(PictureFolder("counts", 2));
  CTestItemView* v = h.pView;
  ASSERT_EQ(v->m_items.size(), 2u);
  v->SelectItem(v->m_items[0]->GetUniqueID(VXID_SLOT_VIEW), TRUE);
  unsigned n = 99;
  EXPECT_EQ(h.trans()->QuerySelectCount(QUERYSELECT_1, &n), S_OK);
  EXPECT_EQ(n, 1u);
  h.browser()->SetViewMode(BROWSE_VIEW_AUDIOLIST);
  EXPECT_EQ(h.trans()->QuerySelectCount(QUERYSELECT_0, &n), S_OK);
  EXPECT_EQ(n, 0u);  // the audio list counts no selection
  h.browser()->SetViewMode(BROWSE_VIEW_LARGEICON);
}

// Bad WM_COPYDATA input: refused codes and null data queue nothing; texts that don't parse,
// relative, missing or over-long paths make the change fail with an empty view.
TEST(Controller, BadCopyDataInput) {
  BrowserHost h;
  std::string a = PictureFolder("bad", 2);
  h.ShowFolder(a);
  ASSERT_EQ(h.pView->m_items.size(), 2u);

  EXPECT_EQ(h.SendCopy(1535, "0|Explorer|1|" + a + "\\||"), 0);
  EXPECT_EQ(h.SendCopy(1626, "0|Explorer|1|" + a + "\\||"), 0);
  COPYDATASTRUCT nullData = {CDID_CHANGE_FOLDER, 20, nullptr};
  EXPECT_EQ(SendMessageA(h.view(), WM_COPYDATA, 0, (LPARAM)&nullData), 0);
  EXPECT_EQ(SendMessageA(h.view(), WM_COPYDATA, 0, 0), 0);
  EXPECT_EQ(h.trans()->GetQueuedCommandCount(), 0);
  h.RunQueue();
  EXPECT_EQ(h.pView->m_items.size(), 2u);

  std::string tooLong = "C:\\" + std::string(300, 'x');
  const std::string bad[] = {
      "x|Explorer|1|" + a + "\\||",        // source not a number
      "0|Explorer|zz|" + a + "\\||",       // type not a number
      "0|Explorer|1|" + a,                 // entry cut short
      "0|Explorer|1|relative\\folder||",   // relative path
      "0|Explorer|1|" + tooLong + "||",    // 260 bytes or more
      "0|Explorer|1|" + a + "\\missing||", // missing folder
      "0|Explorer|7|" + a + "\\||",        // unknown folder type
      "2|T,I,A,1|2|" + a + "\\p00.jpg|99999999999||",  // group number out of range
      "2|T,I,A,1|2|" + a + "\\p00.jpg|x||",            // group number not a number
      "99999999999|Explorer|1|" + a + "\\||",          // source number out of range
  };
  for (const std::string& text : bad) {
    h.ShowFolder(a);
    ASSERT_EQ(h.pView->m_items.size(), 2u);
    EXPECT_EQ(h.SendCopy(CDID_CHANGE_FOLDER, text), 1) << text;
    h.RunQueue();
    EXPECT_EQ(h.pView->m_items.size(), 0u) << text;
    EXPECT_EQ(h.trans()->GetFolderList().GetCount(), 0) << text;
  }
  // The text is read only within cbData: a text without terminator, cut inside the path.
  std::string full = "0|Explorer|1|" + a + "\\||";
  COPYDATASTRUCT cut = {CDID_CHANGE_FOLDER, (DWORD)(full.size() - 6), (void*)full.c_str()};
  EXPECT_EQ(SendMessageA(h.view(), WM_COPYDATA, 0, (LPARAM)&cut), 1);
  h.RunQueue();
  EXPECT_EQ(h.pView->m_items.size(), 0u);
}

// Three folders arriving while the first is scanned: the scans that are overtaken stop,
// and only the newest folder is shown completely.
TEST(Controller, CommandsArrivingDuringAScanCollapseToTheNewest) {
  BrowserHost h;
  std::string a = PictureFolder("arrive_a", 6), b = PictureFolder("arrive_b", 5), c = PictureFolder("arrive_c", 4);
  std::string d = PictureFolder("arrive_d", 3);
  int sent = 0;
  h.pView->m_onAdd = [&](CThumbnail*) {
    if (sent) return;
    sent = 1;
    for (const std::string& f : {b, c, d}) EXPECT_EQ(h.SendCopy(CDID_CHANGE_FOLDER, "0|Explorer|1|" + f + "\\||"), 1);
  };
  h.ShowFolder(a);
  h.pView->m_onAdd = nullptr;
  EXPECT_EQ(h.trans()->GetQueuedCommandCount(), 0);
  EXPECT_EQ(h.pView->m_items.size(), 3u);
  ASSERT_EQ(h.trans()->GetFolderList().GetCount(), 1);
  EXPECT_EQ(std::string((LPCSTR)h.trans()->GetFolderList().GetHead()), d + "\\");
}

// A message box of a running command pumps messages: commands dispatched there wait; of
// the waiting folder changes only the newest is kept, and a notice between them is kept.
TEST(Controller, NestedLoopKeepsNoticesAndTheNewestChange) {
  BrowserHost h;
  std::string a = PictureFolder("nest_a", 4), b = PictureFolder("nest_b", 2), c = PictureFolder("nest_c", 3);
  int seenQueue = -1;
  h.pView->m_onAdd = [&](CThumbnail*) {
    if (seenQueue >= 0) return;
    seenQueue = 0;
    EXPECT_EQ(h.SendCopy(CDID_CHANGE_FOLDER, "0|Explorer|1|" + b + "\\||"), 1);
    EXPECT_EQ(h.SendCopy(CDID_ADD_FILES, "0|A|1|" + a + "\\p00.jpg||"), 1);
    EXPECT_EQ(h.SendCopy(CDID_CHANGE_FOLDER, "0|Explorer|1|" + c + "\\||"), 1);
    // What a modal box's loop does with the three replay requests.
    MSG msg;
    UINT delay = Registered("VX3D_DELAY_COPYDATA");
    while (PeekMessageA(&msg, h.view(), delay, delay, PM_REMOVE)) DispatchMessageA(&msg);
    seenQueue = h.trans()->GetQueuedCommandCount();
  };
  h.ShowFolder(a);
  h.pView->m_onAdd = nullptr;
  EXPECT_EQ(seenQueue, 2);  // the notice and the newest change
  ASSERT_EQ(h.trans()->GetFolderList().GetCount(), 1);
  EXPECT_EQ(std::string((LPCSTR)h.trans()->GetFolderList().GetHead()), c + "\\");
  EXPECT_EQ(h.pView->m_items.size(), 3u);
}

// Notices around a folder change run in arrival order.
TEST(Controller, NoticesAroundAChangeRunInOrder) {
  BrowserHost h;
  std::string a = PictureFolder("order_a", 2);
  std::string extra = ctltest::Scratch("order_extra");
  ctltest::Copy("plain.jpg", a + "\\late.jpg");
  EXPECT_EQ(h.SendCopy(CDID_CHANGE_FOLDER, "0|Explorer|1|" + a + "\\||"), 1);
  EXPECT_EQ(h.SendCopy(CDID_ADD_FILES, "0|A|1|" + a + "\\late.jpg||"), 1);
  EXPECT_EQ(h.SendCopy(CDID_UPDATE_FILES, "0|A|1|" + a + "\\p00.jpg||"), 1);
  h.RunQueue();
  // The folder already holds late.jpg: the add that follows finds it shown.
  EXPECT_EQ(h.pView->m_items.size(), 3u);
  EXPECT_EQ(h.trans()->GetQueuedCommandCount(), 0);
}

// The file list for the export pane (1626): header with bits 30 and 31 cleared, one
// record per file with its own digit, byte for byte.
TEST(Controller, FileListReplyByteForByte) {
  BrowserHost h;
  std::string a = PictureFolder("reply", 2);
  h.ShowFolder(a);
  ASSERT_EQ(h.pView->m_items.size(), 2u);
  h.pView->SelectItem(h.pView->m_items[0]->GetUniqueID(VXID_SLOT_VIEW), TRUE);
  h.Forget();
  EXPECT_EQ(SendMessageA(h.view(), WM_BROWSER_EXPORT_REQUEST, (WPARAM)h.hManager, 0x40000000), 1);
  auto replies = h.Seen(WM_COPYDATA);
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(replies[0].copyCode, (ULONG_PTR)CDID_EXPORT_FILES);
  EXPECT_EQ((HWND)replies[0].wParam, h.view());
  std::string want = "0|0|0|" + a + "\\p00.jpg|1|0||" + a + "\\p01.jpg|0|0||";
  ASSERT_GE(replies[0].copyText.size(), want.size() + 1);
  EXPECT_EQ(replies[0].copyText.substr(0, want.size() + 1), want + std::string(1, '\0'));
  EXPECT_EQ(replies[0].copyBytes % 4, 0u);

  // Bits 31 and 29 together: the selection.
  h.Forget();
  SendMessageA(h.view(), WM_BROWSER_EXPORT_REQUEST, 0, (LPARAM)0xA0000000);
  replies = h.Seen(WM_COPYDATA);
  ASSERT_EQ(replies.size(), 1u);
  std::string sel = "0|536870912|0|" + a + "\\p00.jpg|1|0||";
  EXPECT_EQ(replies[0].copyText.substr(0, sel.size() + 1), sel + std::string(1, '\0'));
}

TEST(Controller, BroadcastChangeFolderTextByteForByte) {
  BrowserHost h;
  std::string a = PictureFolder("broadcast", 1);
  for (std::string folder : {a, a + "\\"}) {
    h.Forget();
    EXPECT_EQ(h.trans()->BroadcastChangeFolder(folder.c_str()), 0);
    auto sent = h.Seen(WM_COPYDATA);
    ASSERT_EQ(sent.size(), 1u);
    std::string text = "0|Explorer|1|" + a + "\\||";
    EXPECT_EQ(sent[0].copyCode, (ULONG_PTR)CDID_CHANGE_FOLDER);
    EXPECT_EQ(sent[0].copyBytes, (DWORD)((text.size() + 5) & ~3u));
    EXPECT_EQ(sent[0].copyText.substr(0, text.size() + 1), text + std::string(1, '\0'));
    // The browser itself took it too.
    h.RunQueue();
    ASSERT_EQ(h.trans()->GetFolderList().GetCount(), 1);
    EXPECT_EQ(std::string((LPCSTR)h.trans()->GetFolderList().GetHead()), a + "\\");
  }
}

// The reload message's lParam belongs to its sender: the block is still the sender's
// afterwards, and a value that is no block does no harm.
TEST(Controller, ReloadLeavesTheSendersBlockAlone) {
  BrowserHost h;
  std::string a = PictureFolder("reload", 3);
  h.ShowFolder(a);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 64);
  ASSERT_NE(block, nullptr);
  SendMessageA(h.view(), WM_BROWSER_RELOAD, 0, (LPARAM)block);
  EXPECT_EQ(GlobalSize(block), 64u);
  void* p = GlobalLock(block);
  EXPECT_NE(p, nullptr);
  GlobalUnlock(block);
  EXPECT_EQ(GlobalFree(block), nullptr);
  SendMessageA(h.view(), WM_BROWSER_RELOAD, 0, (LPARAM)0x12345678);
  SendMessageA(h.view(), WM_BROWSER_RELOAD, 0, 1);
  EXPECT_EQ(h.pView->m_items.size(), 3u);
}

// Messages whose parameters are pointers are taken only from a send this process marked
// as its own, on any of its threads: a plain send or a post could come from any program.
TEST(Controller, PointerMessagesOnlyFromTheProcesssOwnSends) {
  BrowserHost h;
  HWND view = h.view();
  enum How { kOwnHere, kOwnElsewhere, kPlainHere, kPlainElsewhere, kPosted };
  auto deliver = [&](How how, UINT message, WPARAM w, LPARAM l) {
    auto send = [&] {
      if (how == kOwnHere || how == kOwnElsewhere) return CMTLSendOwnMessage(view, message, w, l);
      return SendMessageA(view, message, w, l);
    };
    if (how == kPosted) {
      PostMessageA(view, message, w, l);
      ctltest::Pump();
      return;
    }
    if (how == kOwnHere || how == kPlainHere) {
      send();
      return;
    }
    std::atomic<bool> done{false};
    std::thread t([&] {
      send();
      done = true;
    });
    while (!done) {
      ctltest::Pump();
      Sleep(1);
    }
    t.join();
  };
  const struct {
    How how;
    bool taken;
  } cases[] = {
      {kOwnHere, true}, {kOwnElsewhere, true}, {kPlainHere, false}, {kPlainElsewhere, false}, {kPosted, false}};
  for (const auto& c : cases) {
    int out = 7;
    CMapStringToString map;
    map.SetAt("a", "b");
    deliver(c.how, WM_BROWSER_FILE_INFO, (WPARAM)&out, (LPARAM)&map);
    EXPECT_EQ(out, c.taken ? 0 : 7) << c.how;
    EXPECT_EQ(map.GetCount(), c.taken ? 0 : 1) << c.how;

    // A relay record asking for the file list.
    VXRELAYRECORD record = {WM_BROWSER_EXPORT_REQUEST, 0, 0};
    h.Forget();
    deliver(c.how, WM_RELAYED_MESSAGE, (WPARAM)&record, 0);
    EXPECT_EQ(h.Seen(WM_COPYDATA).size(), c.taken ? 1u : 0u) << c.how;
  }
}

// A system code without text shows its number; a second error while the box is open
// shows nothing.
TEST(Controller, ErrorDisplayOfUnknownSystemCode) {
  BrowserHost h;
  UINT err = Registered("VX3D_ERROR_DISPLAY");
  HWND view = h.view();
  std::string text;
  LRESULT second = -1;
  int boxes = 0;
  auto boxText = ctltest::BoxText;
  testsupport::DialogWatch watch(
      nullptr, [&](HWND box) { return IsWindowVisible(box) && !boxText(box).empty(); },
      [&](HWND box) {
        text = boxText(box);
        DWORD_PTR r = 0;
        SendMessageTimeoutA(view, err, 0x80000000u | 0x2FFFFF01u, MB_ICONERROR, SMTO_BLOCK, 2000, &r);
        second = (LRESULT)r;
        EnumThreadWindows(GetWindowThreadProcessId(box, nullptr),
                          [](HWND w, LPARAM l) -> BOOL {
                            char cls[16];
                            GetClassNameA(w, cls, sizeof(cls));
                            if (!lstrcmpA(cls, "#32770") && IsWindowVisible(w)) ++*reinterpret_cast<int*>(l);
                            return TRUE;
                          },
                          (LPARAM)&boxes);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
      });
  SendMessageA(view, err, 0x80000000u | 0x2FFFFF00u, MB_ICONERROR);
  watch.Stop();
  EXPECT_TRUE(watch.Acted());
  EXPECT_EQ(text, "Error 0x2FFFFF00");
  EXPECT_EQ(second, 0);
  EXPECT_EQ(boxes, 1);
}

// Items found on another thread are not put into the view from there: only the
// user-interface thread touches the view.
TEST(Controller, ScanCallbackOffTheUiThreadAddsNothing) {
  BrowserHost h;
  std::string a = PictureFolder("thread", 1);
  h.ShowFolder(a);
  ASSERT_EQ(h.pView->m_items.size(), 1u);
  CThumbnail item((a + "\\p00.jpg").c_str());
  long result = -1;
  std::thread t([&] { result = CVxGUITrans::FileFindCallBack(&item, h.trans()); });
  t.join();
  EXPECT_EQ(result, 0);
  EXPECT_EQ(h.pView->m_items.size(), 1u);
}
