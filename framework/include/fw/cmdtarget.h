// Command targets and message maps.
//
// A message map is a static table per class, chained to its base class's table. Each
// entry carries a small "thunk": a captureless lambda written by the ON_... macro inside
// the class's own GetThisMessageMap, so it may call protected handlers and converts the
// message's parameters to the handler's argument list. Handlers named by the caller are
// given as member pointers: ON_COMMAND(ID_X, &CMyView::OnX).
//
// Command routing (OnCmdMsg) takes (id, code): for WM_COMMAND the code is the control
// notification code (CN_COMMAND = 0 for menus and accelerators); for WM_NOTIFY it is
// MAKELONG(code, WM_NOTIFY); reflected notifications use WM_REFLECT_BASE + message in the
// high word; CN_UPDATE_COMMAND_UI asks the CCmdUI in pExtra to be updated.
#pragma once
#include <fw/fwdefs.h>
#include <fw/object.h>
#include <fw/resids.h>

class CCmdTarget;
class CCmdUI;
class CWnd;
class CMenu;

#define CN_COMMAND 0
#define CN_UPDATE_COMMAND_UI ((UINT)(-1))
#define CN_EVENT ((UINT)(-2))

// Messages reflected from a parent to the child control they concern.
#define WM_REFLECT_BASE 0xBC00

// The handler call: the message as received, and for commands the id and extra data.
struct AFX_MSGCALL {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  UINT nID;
  void* pExtra;
  LRESULT lResult;
};

// Returns TRUE when the handler took the message (ON_..._EX handlers may decline).
typedef BOOL (*AFX_PMSGTHUNK)(CCmdTarget* pTarget, AFX_MSGCALL& call);

struct AFX_MSGMAP_ENTRY {
  UINT nMessage;              // window message, WM_COMMAND, WM_NOTIFY, or WM_REFLECT_BASE + one
  UINT nCode;                 // control or notification code (low word), CN_UPDATE_COMMAND_UI
  UINT nID;                   // first id of a command range (0 for window messages)
  UINT nLastID;               // last id of the range
  const UINT* pnMessage;      // registered messages: the variable holding the id
  AFX_PMSGTHUNK pfn;          // null ends the table
};

struct AFX_MSGMAP {
  const AFX_MSGMAP* (PASCAL* pfnGetBaseMap)();
  const AFX_MSGMAP_ENTRY* lpEntries;
};

// Answer to "is there a handler?" (OnCmdMsg with a non-null pHandlerInfo calls nothing).
struct AFX_CMDHANDLERINFO {
  CCmdTarget* pTarget;
  const AFX_MSGMAP_ENTRY* pEntry;
};

// pExtra of a WM_NOTIFY command.
struct AFX_NOTIFY {
  LRESULT* pResult;
  NMHDR* pNMHDR;
};

#ifndef afx_msg
#define afx_msg
#endif

class FW_API CCmdTarget : public CObject {
  DECLARE_DYNAMIC(CCmdTarget)
 public:
  CCmdTarget();
  ~CCmdTarget() override;

  // Routes a command to this target's map (overridden by frames, views and documents to
  // pass it on). With pHandlerInfo, only reports whether and where a handler exists.
  virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

  // Wait cursor, counted by the application.
  void BeginWaitCursor();
  void EndWaitCursor();
  void RestoreWaitCursor();

  // Finds the entry of a map chain that takes (message, code, id); null when none.
  static const AFX_MSGMAP_ENTRY* PASCAL FindMessageEntry(const AFX_MSGMAP* pMap, UINT nMsg, UINT nCode, UINT nID);

 protected:
  static const AFX_MSGMAP* PASCAL GetThisMessageMap();
  virtual const AFX_MSGMAP* GetMessageMap() const;
};

// ----- message map macros -----

#define DECLARE_MESSAGE_MAP()                                 \
 protected:                                                   \
  static const AFX_MSGMAP* PASCAL GetThisMessageMap();        \
  const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                              \
  const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }          \
  const AFX_MSGMAP* PASCAL theClass::GetThisMessageMap() {                                   \
    typedef theClass ThisClass;                                                              \
    typedef baseClass TheBaseClass;                                                          \
    (void)sizeof(ThisClass*);                                                                \
    static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                   \
      {0, 0, 0, 0, nullptr, nullptr}};                                                       \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
    return &messageMap;                                                                      \
  }

// A thunk body: `self` is the target as the class that owns the map, `c` the call.
#define _FW_THUNK(...) [](CCmdTarget* _pTarget, AFX_MSGCALL& c) -> BOOL { \
    ThisClass* self = static_cast<ThisClass*>(_pTarget); (void)self; (void)c; __VA_ARGS__ }

#define _FW_WNDMSG(msg, ...) {(UINT)(msg), 0, 0, 0, nullptr, _FW_THUNK(__VA_ARGS__)},

// Window messages with raw parameters.
#define ON_MESSAGE(message, memberFxn) \
  _FW_WNDMSG(message, c.lResult = (self->*(memberFxn))(c.wParam, c.lParam); return TRUE;)
#define ON_MESSAGE_VOID(message, memberFxn) \
  _FW_WNDMSG(message, (self->*(memberFxn))(); c.lResult = 0; return TRUE;)
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn)                             \
  {0xC000, 0, 0, 0, &(nMessageVariable),                                               \
   _FW_THUNK(c.lResult = (self->*(memberFxn))(c.wParam, c.lParam); return TRUE;)},
// Thread messages (a CWinThread's map): void handler(WPARAM, LPARAM).
#define ON_THREAD_MESSAGE(message, memberFxn) \
  _FW_WNDMSG(message, (self->*(memberFxn))(c.wParam, c.lParam); c.lResult = 0; return TRUE;)
#define ON_REGISTERED_THREAD_MESSAGE(nMessageVariable, memberFxn)                      \
  {0xC000, 0, 0, 0, &(nMessageVariable),                                               \
   _FW_THUNK((self->*(memberFxn))(c.wParam, c.lParam); c.lResult = 0; return TRUE;)},

// Commands: void handler(); the _EX form BOOL handler(UINT id) may decline (FALSE) so that
// routing goes on; the _RANGE forms get the id.
#define ON_COMMAND(id, memberFxn) \
  {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(id), nullptr, _FW_THUNK((self->*(memberFxn))(); return TRUE;)},
#define ON_COMMAND_EX(id, memberFxn) \
  {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(id), nullptr, _FW_THUNK(return (self->*(memberFxn))(c.nID);)},
#define ON_COMMAND_RANGE(id, idLast, memberFxn)                     \
  {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(idLast), nullptr,     \
   _FW_THUNK((self->*(memberFxn))(c.nID); return TRUE;)},
#define ON_COMMAND_EX_RANGE(id, idLast, memberFxn) \
  {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(idLast), nullptr, _FW_THUNK(return (self->*(memberFxn))(c.nID);)},

// Update handlers: void handler(CCmdUI*).
#define ON_UPDATE_COMMAND_UI(id, memberFxn)                                  \
  {WM_COMMAND, CN_UPDATE_COMMAND_UI, (UINT)(id), (UINT)(id), nullptr,         \
   _FW_THUNK((self->*(memberFxn))(static_cast<CCmdUI*>(c.pExtra)); return TRUE;)},
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn)                    \
  {WM_COMMAND, CN_UPDATE_COMMAND_UI, (UINT)(id), (UINT)(idLast), nullptr,     \
   _FW_THUNK((self->*(memberFxn))(static_cast<CCmdUI*>(c.pExtra)); return TRUE;)},

// Control notifications through WM_COMMAND: void handler(); the range form gets the id.
#define ON_CONTROL(wNotifyCode, id, memberFxn) \
  {WM_COMMAND, (UINT)(WORD)(wNotifyCode), (UINT)(id), (UINT)(id), nullptr, _FW_THUNK((self->*(memberFxn))(); return TRUE;)},
#define ON_CONTROL_RANGE(wNotifyCode, id, idLast, memberFxn)            \
  {WM_COMMAND, (UINT)(WORD)(wNotifyCode), (UINT)(id), (UINT)(idLast), nullptr, \
   _FW_THUNK((self->*(memberFxn))(c.nID); return TRUE;)},

#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_BN_SETFOCUS(id, memberFxn) ON_CONTROL(BN_SETFOCUS, id, memberFxn)
#define ON_BN_KILLFOCUS(id, memberFxn) ON_CONTROL(BN_KILLFOCUS, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_EN_MAXTEXT(id, memberFxn) ON_CONTROL(EN_MAXTEXT, id, memberFxn)
#define ON_EN_ERRSPACE(id, memberFxn) ON_CONTROL(EN_ERRSPACE, id, memberFxn)
#define ON_EN_HSCROLL(id, memberFxn) ON_CONTROL(EN_HSCROLL, id, memberFxn)
#define ON_EN_VSCROLL(id, memberFxn) ON_CONTROL(EN_VSCROLL, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_DBLCLK(id, memberFxn) ON_CONTROL(CBN_DBLCLK, id, memberFxn)
#define ON_CBN_SETFOCUS(id, memberFxn) ON_CONTROL(CBN_SETFOCUS, id, memberFxn)
#define ON_CBN_KILLFOCUS(id, memberFxn) ON_CONTROL(CBN_KILLFOCUS, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_EDITUPDATE(id, memberFxn) ON_CONTROL(CBN_EDITUPDATE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn) ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_CBN_SELENDCANCEL(id, memberFxn) ON_CONTROL(CBN_SELENDCANCEL, id, memberFxn)
#define ON_CBN_ERRSPACE(id, memberFxn) ON_CONTROL(CBN_ERRSPACE, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)
#define ON_LBN_SETFOCUS(id, memberFxn) ON_CONTROL(LBN_SETFOCUS, id, memberFxn)
#define ON_LBN_KILLFOCUS(id, memberFxn) ON_CONTROL(LBN_KILLFOCUS, id, memberFxn)
#define ON_LBN_SELCANCEL(id, memberFxn) ON_CONTROL(LBN_SELCANCEL, id, memberFxn)
#define ON_LBN_ERRSPACE(id, memberFxn) ON_CONTROL(LBN_ERRSPACE, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(STN_CLICKED, id, memberFxn)
#define ON_STN_DBLCLK(id, memberFxn) ON_CONTROL(STN_DBLCLK, id, memberFxn)
#define ON_STN_ENABLE(id, memberFxn) ON_CONTROL(STN_ENABLE, id, memberFxn)
#define ON_STN_DISABLE(id, memberFxn) ON_CONTROL(STN_DISABLE, id, memberFxn)

// WM_NOTIFY: void handler(NMHDR*, LRESULT*); ranges add the id first; _EX forms return BOOL
// (FALSE: not handled, routing goes on).
#define _FW_NOTIFY_ARGS static_cast<AFX_NOTIFY*>(c.pExtra)->pNMHDR, static_cast<AFX_NOTIFY*>(c.pExtra)->pResult
#define ON_NOTIFY(wNotifyCode, id, memberFxn)                                   \
  {WM_NOTIFY, (UINT)(WORD)(wNotifyCode), (UINT)(id), (UINT)(id), nullptr,        \
   _FW_THUNK((self->*(memberFxn))(_FW_NOTIFY_ARGS); return TRUE;)},
#define ON_NOTIFY_RANGE(wNotifyCode, id, idLast, memberFxn)                     \
  {WM_NOTIFY, (UINT)(WORD)(wNotifyCode), (UINT)(id), (UINT)(idLast), nullptr,    \
   _FW_THUNK((self->*(memberFxn))(c.nID, _FW_NOTIFY_ARGS); return TRUE;)},
#define ON_NOTIFY_EX(wNotifyCode, id, memberFxn)                                \
  {WM_NOTIFY, (UINT)(WORD)(wNotifyCode), (UINT)(id), (UINT)(id), nullptr,        \
   _FW_THUNK(return (self->*(memberFxn))(c.nID, _FW_NOTIFY_ARGS);)},
#define ON_NOTIFY_EX_RANGE(wNotifyCode, id, idLast, memberFxn)                  \
  {WM_NOTIFY, (UINT)(WORD)(wNotifyCode), (UINT)(id), (UINT)(idLast), nullptr,    \
   _FW_THUNK(return (self->*(memberFxn))(c.nID, _FW_NOTIFY_ARGS);)},

// Reflected to the control itself: the parent's WM_NOTIFY / WM_COMMAND for this control
// reaches these entries first; a handled reflection is not seen by the parent's map
// (the _EX forms decide by their result).
#define ON_NOTIFY_REFLECT(wNotifyCode, memberFxn)                                  \
  {WM_REFLECT_BASE + WM_NOTIFY, (UINT)(WORD)(wNotifyCode), 0, 0, nullptr,           \
   _FW_THUNK((self->*(memberFxn))(_FW_NOTIFY_ARGS); return TRUE;)},
#define ON_NOTIFY_REFLECT_EX(wNotifyCode, memberFxn)                               \
  {WM_REFLECT_BASE + WM_NOTIFY, (UINT)(WORD)(wNotifyCode), 0, 0, nullptr,           \
   _FW_THUNK(return (self->*(memberFxn))(_FW_NOTIFY_ARGS);)},
#define ON_CONTROL_REFLECT(wNotifyCode, memberFxn)                                 \
  {WM_REFLECT_BASE + WM_COMMAND, (UINT)(WORD)(wNotifyCode), 0, 0, nullptr,          \
   _FW_THUNK((self->*(memberFxn))(); return TRUE;)},
#define ON_CONTROL_REFLECT_EX(wNotifyCode, memberFxn)                              \
  {WM_REFLECT_BASE + WM_COMMAND, (UINT)(WORD)(wNotifyCode), 0, 0, nullptr,          \
   _FW_THUNK(return (self->*(memberFxn))();)},

// The id and code under which a notification or command is routed (see OnCmdMsg).
#define AFX_NOTIFY_CODE(code) MAKELONG((WORD)(code), WM_NOTIFY)

// Updates one user-interface item (menu item, status pane, control) for a command id.
class FW_API CCmdUI {
 public:
  UINT m_nID;
  UINT m_nIndex;          // menu position or pane index
  CMenu* m_pMenu;         // the menu being updated, or null
  CMenu* m_pSubMenu;      // the popup at m_nIndex when the item opens one
  CMenu* m_pParentMenu;
  CWnd* m_pOther;         // a control or bar being updated, or null
  BOOL m_bEnableChanged;  // an update handler called Enable
  BOOL m_bContinueRouting;
  UINT m_nIndexMax;

  CCmdUI();
  virtual ~CCmdUI() {}

  virtual void Enable(BOOL bOn = TRUE);
  virtual void SetCheck(int nCheck = 1);  // 0 unchecked, 1 checked, 2 indeterminate
  virtual void SetRadio(BOOL bOn = TRUE);
  virtual void SetText(LPCSTR lpszText);
  void ContinueRouting() { m_bContinueRouting = TRUE; }

  // Asks pTarget's routing for an update handler. Without one, when bDisableIfNoHndler,
  // the item is enabled exactly when some target has a command handler for the id.
  // Returns TRUE when an update handler took the request.
  BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);
};

// Wait cursor for the life of a scope.
class FW_API CWaitCursor {
 public:
  CWaitCursor();
  ~CWaitCursor();
  void Restore();
};
