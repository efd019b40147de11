// The relay hub: which of the manager's windows a relayed message reaches, by message,
// sender and kind of lParam; the routing table alone and delivered to real windows.
#include <gtest/gtest.h>
#include <Kitlib2/Kitlib2.h>

#include <string>
#include <vector>

#include <Kitlib2/CopyData.h>

#include "ExternalToolManager.h"
#include "MainWndMessages.h"
#include "shelltest.h"

namespace {

// A window that records the application messages it gets.
struct Received {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  ULONG_PTR dwCopyData;
  std::string text;
  DWORD cbSent;  // WM_COPYDATA: the size the message itself carried
};

class CRecordingWnd : public CWnd {
 public:
  CRecordingWnd() { CreateEx(0, AfxRegisterWndClass(0), "rec", WS_OVERLAPPED, 0, 0, 10, 10, NULL, NULL); }
  ~CRecordingWnd() override {
    if (m_hWnd) DestroyWindow();
  }
  std::vector<Received> m_got;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_COPYDATA) {
      // As every receiver: a large block comes by shared memory.
      const COPYDATASTRUCT* pcds = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
      COPYDATASTRUCT block;
      if (LRESULT status = CMTLOpenCopyData(pcds, &block)) return status;
      m_got.push_back({message, wParam, lParam, block.dwData, CopyDataText(&block).GetString(), pcds->cbData});
      CMTLCloseCopyData(&block);
      return 1;
    }
    if ((message >= WM_APPMSG_FIRST && message <= WM_APPMSG_LAST) || message == WM_DISPLAYCHANGE ||
        message == WM_POWERBROADCAST) {
      m_got.push_back({message, wParam, lParam, 0, "", 0});
      return 7;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

// ---- The routing table ---------------------------------------------------------------------

TEST(RelayPlan, MessagesGoToTheWindowsTheirRangeAndSenderAllow) {
  HWND b = reinterpret_cast<HWND>(0x100), f = reinterpret_cast<HWND>(0x200), e = reinterpret_cast<HWND>(0x300),
       t = reinterpret_cast<HWND>(0x400), strip = reinterpret_cast<HWND>(0x500);
  struct {
    const char* name;
    UINT message;
    HWND sender;  // null: wParam names no window
    std::vector<int> sendTo;
    std::vector<int> postTo;
  } kCases[] = {
      {"application message from the folder pane", 1600, f, {0, 2, 3}, {}},
      {"application message from outside", 1540, strip, {0, 1, 2, 3}, {}},
      {"wParam is no window", 1600, NULL, {}, {}},
      {"last broadcast id", 1623, t, {0, 1, 2}, {}},
      {"sort from the strip reaches the browser", WM_BROWSER_SORT, strip, {0}, {}},
      {"filter", WM_BROWSER_MASK, strip, {0}, {}},
      {"reload", WM_BROWSER_RELOAD, f, {0}, {}},
      {"change mode", WM_BROWSER_CHANGE_MODE, strip, {0}, {}},
      {"action", WM_BROWSER_ACTION, strip, {0}, {}},
      {"thumbnail size", WM_BROWSER_THUMB_SIZE, strip, {0}, {}},
      {"the browser's own reload is not sent back", WM_BROWSER_RELOAD, b, {}, {}},
      {"other ids past 1623", 1700, strip, {}, {}},
      {"file-list request", WM_BROWSER_EXPORT_REQUEST, strip, {}, {}},
      {"display change", WM_DISPLAYCHANGE, NULL, {}, {0, 1, 2, 3}},
      {"power", WM_POWERBROADCAST, NULL, {}, {0, 1, 2, 3}},
      {"not an application message", WM_USER + 5, strip, {}, {}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    RelayInput in;
    in.message = c.message;
    in.wParam = reinterpret_cast<WPARAM>(c.sender ? c.sender : reinterpret_cast<HWND>(12345));
    in.bWParamIsWindow = c.sender != NULL;
    in.dwCopyData = 0;
    in.entries = {b, f, e, t};
    in.hRequester = NULL;
    RelayRoute route = PlanRelay(in);
    EXPECT_EQ(route.sendTo, c.sendTo);
    EXPECT_EQ(route.postTo, c.postTo);
    EXPECT_EQ(route.bRememberRequester, c.message == WM_BROWSER_EXPORT_REQUEST && c.sender != NULL);
  }
}

TEST(RelayPlan, CopyDataRefillsTheFileListAndReachesTheOthers) {
  HWND b = reinterpret_cast<HWND>(0x100), f = reinterpret_cast<HWND>(0x200), e = reinterpret_cast<HWND>(0x300),
       t = reinterpret_cast<HWND>(0x400), other = reinterpret_cast<HWND>(0x900);
  RelayInput in;
  in.message = WM_COPYDATA;
  in.bWParamIsWindow = TRUE;
  in.entries = {b, f, NULL, t};
  in.hRequester = other;

  in.wParam = reinterpret_cast<WPARAM>(f);
  in.dwCopyData = CDID_CHANGE_FOLDER;
  RelayRoute route = PlanRelay(in);
  EXPECT_FALSE(route.bRefillFileList);  // the folder pane's own folder change
  EXPECT_EQ(route.copyDataTo, (std::vector<int>{0, 3}));

  in.wParam = reinterpret_cast<WPARAM>(other);
  route = PlanRelay(in);
  EXPECT_TRUE(route.bRefillFileList);
  EXPECT_EQ(route.copyDataTo, (std::vector<int>{0, 1, 3}));

  in.dwCopyData = CDID_EXPORT_FILES;
  in.wParam = reinterpret_cast<WPARAM>(b);
  route = PlanRelay(in);
  EXPECT_EQ(route.hCopyDataReply, other);
  EXPECT_TRUE(route.copyDataTo.empty());

  in.dwCopyData = 42;  // outside the application range: nobody
  route = PlanRelay(in);
  EXPECT_TRUE(route.copyDataTo.empty());
  (void)e;
}

// ---- Delivered to windows -------------------------------------------------------------------

class RelayTest : public testing::Test {
 protected:
  void SetUp() override {
    m_manager.LoadToolList();
    for (int i = 0; i < TOOL_PANE_COUNT; ++i) m_manager.SetToolWindow(i, m_entries[i].m_hWnd);
    m_manager.SetMainWnd(m_main.m_hWnd);
  }
  LRESULT Relay(UINT message, WPARAM wParam, LPARAM lParam) {
    RelayRecord record = {message, wParam, lParam};
    return m_manager.OnRequest(record);
  }
  void Clear() {
    for (auto& w : m_entries) w.m_got.clear();
    m_strip.m_got.clear();
  }

  shelltest::ProfileRoot m_root;
  CExternalToolManager m_manager;
  CRecordingWnd m_entries[TOOL_PANE_COUNT];
  CRecordingWnd m_main, m_strip;
};

TEST_F(RelayTest, BrowserMessagesFromTheStripReachTheBrowserWithTheirValues) {
  LRESULT r = Relay(WM_BROWSER_SORT, (WPARAM)m_strip.m_hWnd, 15);
  EXPECT_EQ(r, 7);
  ASSERT_EQ(m_entries[TOOL_BROWSER].m_got.size(), 1u);
  EXPECT_EQ(m_entries[TOOL_BROWSER].m_got[0].message, (UINT)WM_BROWSER_SORT);
  EXPECT_EQ(m_entries[TOOL_BROWSER].m_got[0].wParam, (WPARAM)m_strip.m_hWnd);
  EXPECT_EQ(m_entries[TOOL_BROWSER].m_got[0].lParam, 15);
  for (int i = 1; i < TOOL_PANE_COUNT; ++i) EXPECT_TRUE(m_entries[i].m_got.empty()) << i;
}

TEST_F(RelayTest, ApplicationMessagesReachEveryEntryButTheSenderAndLParamStaysTheSenders) {
  // A value another program allocated: passed on as it is, and nobody frees it.
  HGLOBAL hText = ::GlobalAlloc(GMEM_MOVEABLE, 32);
  Relay(WM_REFRESH_FOLDERS, (WPARAM)m_entries[TOOL_FOLDER_PANE].m_hWnd, (LPARAM)hText);
  for (int i = 0; i < TOOL_PANE_COUNT; ++i) {
    if (i == TOOL_FOLDER_PANE) {
      EXPECT_TRUE(m_entries[i].m_got.empty());
      continue;
    }
    ASSERT_EQ(m_entries[i].m_got.size(), 1u) << i;
    EXPECT_EQ(m_entries[i].m_got[0].lParam, (LPARAM)hText);
  }
  EXPECT_NE(::GlobalSize(hText), 0u);
  EXPECT_EQ(::GlobalFree(hText), nullptr);

  Clear();
  Relay(1600, 12345, 0);  // wParam names no window
  for (auto& w : m_entries) EXPECT_TRUE(w.m_got.empty());
}

TEST_F(RelayTest, SystemNoticesArePostedToAll) {
  Relay(WM_POWERBROADCAST, 0, 0);
  testsupport::PumpPending();
  for (auto& w : m_entries) ASSERT_EQ(w.m_got.size(), 1u);
}

TEST_F(RelayTest, FileListReplyGoesToTheWindowThatAskedAndOnlyOnce) {
  Relay(WM_BROWSER_EXPORT_REQUEST, (WPARAM)m_strip.m_hWnd, 0x80000000);
  for (auto& w : m_entries) EXPECT_TRUE(w.m_got.empty());  // asking sends nothing on

  char text[] = "0|0|0|C:\\a.jpg|1|0||";
  COPYDATASTRUCT cds = {CDID_EXPORT_FILES, sizeof(text), text};
  Relay(WM_COPYDATA, (WPARAM)m_entries[TOOL_BROWSER].m_hWnd, (LPARAM)&cds);
  ASSERT_EQ(m_strip.m_got.size(), 1u);
  EXPECT_EQ(m_strip.m_got[0].dwCopyData, (ULONG_PTR)CDID_EXPORT_FILES);
  EXPECT_EQ(m_strip.m_got[0].text, text);
  for (auto& w : m_entries) EXPECT_TRUE(w.m_got.empty());

  m_strip.m_got.clear();
  Relay(WM_COPYDATA, (WPARAM)m_entries[TOOL_BROWSER].m_hWnd, (LPARAM)&cds);
  EXPECT_TRUE(m_strip.m_got.empty());  // the request was answered
}

TEST_F(RelayTest, CopyDataCommandsReachTheOtherEntries) {
  char text[] = "1|disk|1|C:\\Photos||";
  COPYDATASTRUCT cds = {CDID_UPDATE_FILES, 10, text};  // cut short: the length decides
  Relay(WM_COPYDATA, (WPARAM)m_entries[TOOL_FOLDER_PANE].m_hWnd, (LPARAM)&cds);
  for (int i = 0; i < TOOL_PANE_COUNT; ++i) {
    if (i == TOOL_FOLDER_PANE) continue;
    ASSERT_EQ(m_entries[i].m_got.size(), 1u) << i;
    EXPECT_EQ(m_entries[i].m_got[0].text, "1|disk|1|C");
  }
}

TEST_F(RelayTest, AFolderChangeTextThatIsRefusedChangesNoProfileValue) {
  const std::string before = "C:\\Before\\";
  struct {
    const char* name;
    std::string text;
    const char* photoDir;  // afterwards
    textkit::RecordStatus status;
  } cases[] = {
      {"one folder", "1|Disk|1|C:\\Photos\\||", "C:\\Photos\\", textkit::RecordStatus::Ok},
      {"double-byte path", "1|Disk|1|C:\\ポ表\\||", "C:\\ポ表\\", textkit::RecordStatus::Ok},
      {"nothing selected", "1|Disk|1|||", before.c_str(), textkit::RecordStatus::Ok},
      {"cut inside its path", "1|Disk|1|C:\\Fo", before.c_str(), textkit::RecordStatus::Truncated},
      {"an extra field", "1|Disk|1|C:\\A\\|x||", before.c_str(), textkit::RecordStatus::BadLayout},
      {"broken double-byte text", "1|Disk|1|C:\\\x83", before.c_str(), textkit::RecordStatus::BadText},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CMWriteProfileString("DataDir", "PhotoDir", before.c_str());
    COPYDATASTRUCT cds = {CDID_CHANGE_FOLDER, (DWORD)c.text.size(), const_cast<char*>(c.text.data())};
    Relay(WM_COPYDATA, (WPARAM)m_entries[TOOL_FOLDER_PANE].m_hWnd, (LPARAM)&cds);
    EXPECT_EQ(m_manager.GetLastTextStatus(), c.status);
    EXPECT_EQ(std::string(CMGetProfileString("DataDir", "PhotoDir")), c.photoDir);
  }
}

TEST(RelayFileList, ARefusedTextLeavesTheApplicationsFileList) {
  CObList list;
  auto refill = [&](const std::string& text) {
    COPYDATASTRUCT cds = {CDID_UPDATE_FILES, (DWORD)text.size(), const_cast<char*>(text.data())};
    return CExternalToolManager::RefillFileList(list, &cds);
  };
  EXPECT_EQ(refill("0|0|0|C:\\a.jpg|1|0||C:\\ポ.jpg|0|0||"), textkit::RecordStatus::Ok);
  EXPECT_EQ(list.GetCount(), 2);
  EXPECT_EQ(refill("0|0|0|C:\\b.jpg|1|0||C:\\c.j"), textkit::RecordStatus::Truncated);
  ASSERT_EQ(list.GetCount(), 2);
  EXPECT_EQ(std::string(static_cast<CMTLFileInfo*>(list.GetTail())->m_strPath), "C:\\ポ.jpg");
  EXPECT_EQ(refill(""), textkit::RecordStatus::Empty);
  EXPECT_TRUE(list.IsEmpty());
}

TEST_F(RelayTest, AProgramRequestThatIsRefusedStartsNothing) {
  std::string text = "A|VxEdit.exe|x|0|0|0|C:\\a.jpg|1|0||";  // the number is none
  COPYDATASTRUCT cds = {CDID_PROGRAM_REQUEST, (DWORD)text.size(), const_cast<char*>(text.data())};
  Relay(WM_COPYDATA, (WPARAM)m_entries[TOOL_FOLDER_PANE].m_hWnd, (LPARAM)&cds);
  EXPECT_EQ(m_manager.GetLastTextStatus(), textkit::RecordStatus::BadNumber);
}


// A file list of more than a megabyte (a large selection): each entry gets it whole, and
// no message carries more than Wine hands to another process.
TEST_F(RelayTest, LargeFileListsReachTheEntriesWhole) {
  std::string list = "1|disk|1|";
  for (int i = 0; list.size() < 1536 * 1024; ++i) list += "C:\\Photos\\IMG_" + std::to_string(i) + ".JPG|1|0||";
  COPYDATASTRUCT cds = {CDID_ADD_FILES, static_cast<DWORD>(list.size() + 1), &list[0]};
  Relay(WM_COPYDATA, (WPARAM)m_entries[TOOL_FOLDER_PANE].m_hWnd, (LPARAM)&cds);
  for (int i = 0; i < TOOL_PANE_COUNT; ++i) {
    if (i == TOOL_FOLDER_PANE) continue;
    ASSERT_EQ(m_entries[i].m_got.size(), 1u) << i;
    EXPECT_TRUE(m_entries[i].m_got[0].text == list) << i;
    EXPECT_LT(m_entries[i].m_got[0].cbSent, (DWORD)CMTL_COPYDATA_MAX_INLINE) << i;
  }
}

}  // namespace
