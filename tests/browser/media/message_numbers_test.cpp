// The browser's own numbers in the table of messages that carry pointers or handles
// (OwnMessages.h): a number changed on one side only does not build.
#include <ImgButtonRules.h>
#include <LabelEdit.h>
#include <ListRowCtrl.h>
#include <MusicListHeader.h>
#include <MusicListRow.h>
#include <MusicListWnd.h>
#include <OwnMessages.h>
#include <ScrollPanelWnd.h>
#include <SkinCtrlWnd.h>

using ownmsg::kCompared;
using ownmsg::kOwnSend;
using ownmsg::Listed;

static_assert(Listed(WM_LABEL_EDIT_END, kOwnSend), "the day view's new name");
static_assert(Listed(imgbutton::kTipRectMessage, kOwnSend), "the tip's rectangle");
static_assert(Listed(UWM_ROW_PLAY, kCompared) && Listed(UWM_ROW_STOP, kCompared), "music rows");
static_assert(Listed(UWM_LIST_ITEMCHANGE, kCompared) && Listed(UWM_LIST_ACTIVATE, kCompared) &&
                  Listed(UWM_LIST_PRESS, kCompared) && Listed(UWM_LIST_DBLCLK, kCompared),
              "scroll panel notices");
static_assert(Listed(UWM_SKIN_STARTDRAG, kCompared) && Listed(UWM_SKIN_RCLICK, kCompared), "skin notices");
static_assert(Listed(UWM_HDR_RCLICK, kCompared) && Listed(UWM_HDR_DBLCLK, kCompared), "header notices");
static_assert(Listed(UWM_ROW_CHECKCLICK, kCompared) && Listed(UWM_ROW_CELLDOWN, kCompared) &&
                  Listed(UWM_ROW_CELLRDOWN, kCompared) && Listed(UWM_LIST_LBUTTONUP, kCompared),
              "row notices");
static_assert(Listed(UWM_LIST_ITEMPRESS, kCompared) && Listed(UWM_LIST_ITEMDBLCLK, kCompared), "music list notices");
