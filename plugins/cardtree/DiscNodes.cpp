#include "DiscNodes.h"

#include <Kitlib2/Utility.h>
#include <VxDocument/Document.h>
#include <VxResourceIds.h>
#include <textkit/path.h>
#include <textkit/text.h>

#include <cwctype>
#include <map>

#include "CardRules.h"

namespace cardtree {

namespace {

IVxBDIntegrator* g_integrator = nullptr;
// The part names of every date node, to tell titles of one day apart on renewal.
std::map<HTREEITEM, std::string> g_partNames;

std::string Narrow(const wchar_t* w) {
  char text[MAX_PATH * 2] = {};
  WideCharToMultiByte(CP_ACP, 0, w, -1, text, sizeof text - 1, nullptr, nullptr);
  return text;
}

bool Failed(long hr) { return hr < 0; }

// The names of a title's parts, each followed by a backslash.
std::string PartNames(IVxBDIntegrator* core, int list, int title, int parts) {
  std::string names;
  for (int i = 0; i < parts; ++i) {
    VXBDPARTRECORD record = {};
    core->GetPartRecord(list, title, i, &record);
    wchar_t name[MAX_PATH] = {};
    int length = 0;
    if (Failed(core->GetPartName(list, title, i, 0, name, &length))) continue;
    name[MAX_PATH - 1] = 0;
    names += Narrow(name) + "\\";
  }
  return names;
}

// Whether the disc of the drive can be listed: opens and validates a session (closing it
// again unless the core had it open already). needsAttention: an unfinalised disc, or a
// medium the check refuses.
int ProbeDiscDrive(IVxBDIntegrator* core, char letter, int* needsAttention) {
  *needsAttention = 0;
  wchar_t root[MAX_PATH] = {static_cast<wchar_t>(letter), L':', L'\\', 0};
  int session = -1;
  long hr = core->OpenDisc(letter - 'A', root, VXBD_OPEN_READ, &session);
  if (Failed(hr)) {
    if (hr == VXBD_E_UNFINALISED) *needsAttention = 1;
    return 0;
  }
  int result = 0;
  if (!Failed(core->ValidateSession(session))) {
    result = 1;
    if (DiscMediumNeedsCheck(core, letter - 'A') == 0) *needsAttention = 1;
  }
  if (hr != VXBD_S_SESSION_OPEN) core->CloseSession(session);
  return result;
}

// A locked device the top level shows: a disc or card device of the core whose medium
// reads (attention set when it needs finalising or checking first). info is filled.
bool ShownDevice(IVxBDIntegrator* core, int device, VXBDDEVICEINFO* info, int* attention) {
  *attention = 0;
  return !Failed(core->GetDeviceInfo(device, info)) && info->nKind != VXBD_DEVICE_OTHER &&
         !core->IsDeviceBusy(info->nDrive) &&
         ProbeDiscDrive(core, static_cast<char>('A' + info->nDrive), attention) == 1;
}

class DiscPass {
 public:
  DiscPass(TreePass& pass, IVxBDIntegrator* core) : p_(pass), core_(core) {}

  // One date node per supported movie title; the session and list stay open for the
  // paths (the core answers a second open with the same handles).
  void DateNodes(HTREEITEM node, int device, char letter, bool iconFlag) {
    wchar_t root[MAX_PATH] = {static_cast<wchar_t>(letter), L':', L'\\', 0};
    int session = -1, list = -1;
    if (Failed(core_->OpenDisc(device, root, VXBD_OPEN_READ, &session))) return;
    if (Failed(core_->OpenTitleList(session, VXBD_TITLE_LIST_ALL, &list))) {
      core_->CloseSession(session);
      return;
    }
    long status = 0;
    core_->Wait(-1, &status);
    if (status < 0) return;
    VXBDLISTINFO info = {};
    if (Failed(core_->GetTitleListInfo(list, &info))) return;
    bool inserted = false;
    for (DWORD t = 0; t < info.nTitles; ++t) {
      VXBDTITLEINFO title = {};
      if (Failed(core_->GetTitleInfo(list, static_cast<int>(t), &title))) break;
      if (title.nKind != 1) continue;
      if (!IsSupportedMaker((static_cast<DWORD>(title.wMakerHigh) << 16) | title.wMakerLow)) continue;
      const std::string names = PartNames(core_, list, static_cast<int>(t), title.nParts);
      const std::string label = DateLabel(title.stRecorded);
      const std::string path = DateNodePath(letter, session, list, device, static_cast<int>(t), label);
      HTREEITEM item = p_.renew ? FindDateNode(node, label, names) : nullptr;
      if (item) {
        // A fresh record with this renewal's handles; the old one goes.
        CardItemRecord* fresh = NewRecord(path, kKindDiscDate);
        if (!fresh) continue;
        fresh->seen = 1;
        CardItemRecord* old = RecordOf(p_.tree, item);
        p_.tree->SetItemData(item, reinterpret_cast<DWORD_PTR>(fresh));
        FreeRecord(old);
      } else {
        CardItemRecord* r = NewRecord(path, kKindDiscDate);
        if (!r) continue;
        r->seen = p_.renew ? 1 : 0;
        item = p_.tree->InsertItem(TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE, label.c_str(), 0, 0, 0, 0,
                                   reinterpret_cast<LPARAM>(r), node, TVI_LAST);
        if (!item) {
          FreeRecord(r);
          continue;
        }
        g_partNames[item] = names;
        inserted = true;
      }
      if (iconFlag) SetItemIconSlot(p_.tree, item, 1);
    }
    if (inserted) p_.tree->SortChildren(node);
  }

  HTREEITEM FindDateNode(HTREEITEM node, const std::string& label, const std::string& names) {
    for (HTREEITEM i = p_.tree->GetChildItem(node); i; i = p_.tree->GetNextSiblingItem(i)) {
      if (std::string(p_.tree->GetItemText(i)) != label) continue;
      CardItemRecord* r = RecordOf(p_.tree, i);
      if (r && r->seen) continue;  // taken by another title of this day already
      auto it = g_partNames.find(i);
      if (it != g_partNames.end() && _stricoll(it->second.c_str(), names.c_str()) == 0) return i;
    }
    return nullptr;
  }

  // The device node under its drive node, and its titles.
  void PerDrive(HTREEITEM driveNode, int drive) {
    if (Failed(core_->LockDevice(drive))) return;
    VXBDDEVICEINFO info = {};
    int attention = 0;
    if (!Failed(core_->GetDeviceInfo(drive, &info)) && !core_->IsDeviceBusy(info.nDrive) &&
        ProbeDiscDrive(core_, static_cast<char>('A' + info.nDrive), &attention) == 1) {
      bool inserted = false;
      HTREEITEM node = p_.Node(driveNode, ResourceString(IDS_CARD_DISC_TITLES), "", kKindDrive, TVI_LAST, &inserted);
      if (node) {
        DateNodes(node, drive, static_cast<char>('A' + info.nDrive), false);
        if (inserted) p_.tree->SortChildren(driveNode);
      }
    }
    // Nothing keeps the device once its nodes are there: the import locks it again.
    core_->ReleaseDevice(drive);
  }

  void TopLevel(HTREEITEM parent) {
    int count = 0;
    if (Failed(core_->GetDeviceCount(VXBD_DEVICE_COUNT_ALL, &count))) count = 0;
    bool warn = false, any = false;
    for (int device = 0; device < count; ++device) {
      if (Failed(core_->LockDevice(device))) continue;
      VXBDDEVICEINFO info = {};
      int attention = 0;
      if (!ShownDevice(core_, device, &info, &attention)) {
        if (attention) warn = true;
        core_->ReleaseDevice(device);
        continue;
      }
      const char l = static_cast<char>('A' + info.nDrive);
      if (info.nKind == VXBD_DEVICE_DISC) {
        if (attention) {
          warn = true;
        } else {
          bool inserted = false;
          HTREEITEM top = p_.Node(
              parent, ResourceString(IDS_CARD_DISC_DRIVE) + l + ResourceString(IDS_CARD_DRIVE_SUFFIX), "", kKindDrive,
              TVI_LAST, &inserted);
          if (top) {
            if (inserted) SetItemIconSlot(p_.tree, top, 1);
            bool childInserted = false;
            HTREEITEM node = p_.Node(top, ResourceString(IDS_CARD_DISC_TITLES), "", kKindDrive, TVI_LAST, &childInserted);
            if (node) {
              if (childInserted) SetItemIconSlot(p_.tree, node, 1);
              DateNodes(node, device, l, true);
            }
            any |= inserted;
          }
        }
      } else if (info.nKind == VXBD_DEVICE_CARD && !IsCardDriveLetter(l)) {
        bool inserted = false;
        HTREEITEM top = p_.Node(parent, DriveLabel(l), "", kKindDrive, TVI_LAST, &inserted);
        if (top) {
          if (inserted) SetItemIconSlot(p_.tree, top, 0);
          HTREEITEM node = p_.Node(top, ResourceString(IDS_CARD_DISC_TITLES), "", kKindDrive, TVI_LAST);
          if (node) DateNodes(node, device, l, false);
          any |= inserted;
        }
      }
      core_->ReleaseDevice(device);
    }
    if (warn && !p_.renew && IsBrowserOnCardFolder()) {
      CWnd* main = AfxGetMainWnd();
      MessageBoxA(main ? main->GetSafeHwnd() : nullptr, ResourceString(IDS_CARD_DISC_UNFINALISED).c_str(),
                  CMTLGetAppName(), MB_OK | MB_ICONWARNING);
    }
    if (any) p_.tree->SortChildren(parent ? parent : TVI_ROOT);
  }

 private:
  TreePass& p_;
  IVxBDIntegrator* core_;
};

}  // namespace

void SetIntegrator(IVxBDIntegrator* integrator) {
  if (!g_integrator) g_integrator = integrator;
}
IVxBDIntegrator* Integrator() { return g_integrator; }

CCriticalSection& DiscCoreSection() {
  static CCriticalSection section;
  return section;
}

void RefreshDiscDevices(IVxBDIntegrator* core) {
  int value = 0;
  if (!Failed(core->BeginRefresh(&value))) core->RefreshDevices();
  core->EndRefresh();
  long status = 0;
  core->Wait(-1, &status);
}

void DiscCoreNodes(TreePass& pass, HTREEITEM parent, int drive, bool perDrive) {
  IVxBDIntegrator* core = g_integrator;
  if (!core) return;
  CDiscCoreLock lock;
  static_cast<CCheckTreeCtrl*>(pass.tree)->EnableStateClick(1);
  if (pass.renew) RefreshDiscDevices(core);
  DiscPass disc(pass, core);
  if (perDrive)
    disc.PerDrive(parent, drive);
  else
    disc.TopLevel(parent);
}

void ForgetDateNode(HTREEITEM item) { g_partNames.erase(item); }
std::string PartNamesOf(HTREEITEM item) {
  auto it = g_partNames.find(item);
  return it == g_partNames.end() ? std::string() : it->second;
}
size_t PartNameEntries() { return g_partNames.size(); }
void ClearPartNames() { g_partNames.clear(); }

std::string DateNodePath(char letter, int session, int list, int device, int title, const std::string& label) {
  char text[MAX_PATH * 2];
  snprintf(text, sizeof text, "%c:\\%d\\%d\\%d\\%d\\%s", letter, session, list, device, title, label.c_str());
  return text;
}

std::string DateLabel(const SYSTEMTIME& t) {
  char text[32];
  snprintf(text, sizeof text, "%04d/%02d/%02d", t.wYear, t.wMonth, t.wDay);
  return text;
}

int IsSupportedMakerIn(const std::string& iniPath, DWORD makerCode) {
  wchar_t wide[MAX_PATH * 2] = {};
  MultiByteToWideChar(CP_ACP, 0, iniPath.c_str(), -1, wide, MAX_PATH * 2 - 1);
  for (unsigned n = 1; n < 1000; ++n) {
    wchar_t key[32], value[65] = {};
    swprintf(key, 32, L"MakerCode%03u", n);
    GetPrivateProfileStringW(L"SupportMaker", key, L"", value, 64, wide);
    if (!value[0]) return 0;
    // The maker's two-letter mark ("NV0103AB12") goes before the code's hexadecimal digits.
    const wchar_t* digits = value;
    while (*digits && !iswxdigit(*digits)) ++digits;
    wchar_t* end = nullptr;
    unsigned long code = wcstoul(digits, &end, 16);
    if (end != digits && *end == 0 && code == makerCode) return 1;
  }
  return 0;
}

int IsSupportedMaker(DWORD makerCode) {
  char exe[MAX_PATH * 2] = {};
  GetModuleFileNameA(nullptr, exe, sizeof exe - 1);
  return IsSupportedMakerIn(textkit::Join(textkit::FolderOf(exe), "gmr.ini"), makerCode);
}

int DiscMediumNeedsCheck(IVxBDIntegrator* core, int drive) {
  VXBDMEDIUMFLAGS flags = {};
  if (Failed(core->GetMediumFlags(drive, &flags))) return 1;
  if (flags.dwFlags & VXBD_MEDIUM_CHECKED) return 0;
  if (!(flags.dwFlags & VXBD_MEDIUM_WRITABLE) || (flags.bState & 1)) return 1;
  VXBDMEDIUMTYPE type = {};
  if (!Failed(core->GetMediumType(drive, &type)) && type.nType != VXBD_MEDIUM_TYPE_REWRITABLE) return 0;
  return 1;
}

int IsCardDriveLetter(char letter) {
  for (char c : CardDrives())
    if (toupper(static_cast<unsigned char>(c)) == toupper(static_cast<unsigned char>(letter))) return 1;
  return 0;
}

std::vector<char> DiscCoreDriveLetters(IVxBDIntegrator* core) {
  std::vector<char> letters;
  int count = 0;
  if (!core || Failed(core->GetDeviceCount(VXBD_DEVICE_COUNT_ALL, &count))) return letters;
  for (int device = 0; device < count; ++device) {
    if (Failed(core->LockDevice(device))) continue;
    VXBDDEVICEINFO info = {};
    int attention = 0;
    if (ShownDevice(core, device, &info, &attention)) {
      const char letter = static_cast<char>('A' + info.nDrive);
      if (info.nKind == VXBD_DEVICE_DISC ? !attention : !IsCardDriveLetter(letter)) letters.push_back(letter);
    }
    core->ReleaseDevice(device);
  }
  return letters;
}

int IsBrowserOnCardFolder() {
  CWnd* main = AfxGetMainWnd();
  CFrameWnd* frame = main ? DYNAMIC_DOWNCAST(CFrameWnd, main) : nullptr;
  CView* view = frame ? frame->GetActiveView() : nullptr;
  CDocument* doc = view ? view->GetDocument() : nullptr;
  CVxDocument* vx = doc ? DYNAMIC_DOWNCAST(CVxDocument, doc) : nullptr;
  CBrowserDocument* browser = vx ? vx->GetBrowser() : nullptr;
  return browser && browser->GetFolderType().IsSDCardFolder() ? 1 : 0;
}

}  // namespace cardtree
