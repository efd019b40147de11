// The command object and the numbers its ids stand for.
#include <VxDocument/CommandObject.h>

IMPLEMENT_DYNAMIC(CSendCommandObject, CObject)

namespace {

struct IdValue {
  UINT id;
  int value;
};

// As the resource library's id header lists them.
const IdValue kValues[] = {
    // view modes: view codes
    {ID_VIEWMODE_LARGE_ICONS, 2}, {ID_VIEWMODE_SMALL_ICONS, 1}, {ID_VIEWMODE_FILE_INFO, 3},
    {ID_VIEWMODE_CAMERA_INFO, 4}, {ID_VIEWMODE_FOCUS, 5}, {ID_VIEWMODE_ZOOM, 6}, {ID_VIEWMODE_MONTH, 10},
    {ID_VIEWMODE_DAY, 11}, {ID_VIEWMODE_MUSIC, 12}, {ID_VIEWMODE_SLIDESHOW, 13}, {ID_VIEWMODE_SLIDESHOW_ALL, 14},
    // sorts: sort ids (picture folders, card audio area, card voice area)
    {ID_SORT_SIMILARITY, 29}, {ID_SORT_SHOT_ASC, 11}, {ID_SORT_SHOT_DESC, 12}, {ID_SORT_NAME_ASC, 19},
    {ID_SORT_NAME_DESC, 20}, {ID_SORT_SIZE_ASC, 15}, {ID_SORT_SIZE_DESC, 16},
    {ID_SORT_TYPE_ASC_IN_RANGE, 17}, {ID_SORT_TYPE_DESC_IN_RANGE, 18},
    {ID_SORT_AUDIO_DATE_ASC, 11}, {ID_SORT_AUDIO_DATE_DESC, 12}, {ID_SORT_AUDIO_TITLE_ASC, 21},
    {ID_SORT_AUDIO_TITLE_DESC, 22}, {ID_SORT_AUDIO_ARTIST_ASC, 23}, {ID_SORT_AUDIO_ARTIST_DESC, 24},
    {ID_SORT_AUDIO_ALBUM_ASC, 25}, {ID_SORT_AUDIO_ALBUM_DESC, 26}, {ID_SORT_AUDIO_TRACK, 27},
    {ID_SORT_VOICE_DATE_ASC, 11}, {ID_SORT_VOICE_DATE_DESC, 12}, {ID_SORT_VOICE_NAME_ASC, 19},
    {ID_SORT_VOICE_NAME_DESC, 20}, {ID_SORT_VOICE_SIZE_ASC, 15}, {ID_SORT_VOICE_SIZE_DESC, 16},
    {ID_SORT_VOICE_NUMBER, 27},
    {ID_SORT_TYPE_ASC, 17}, {ID_SORT_TYPE_DESC, 18},
    // filters: filter ids
    {ID_FILTER_PHOTOS, 0}, {ID_FILTER_STILLS, 3}, {ID_FILTER_MOVIES, 4}, {ID_FILTER_ALL, 6}, {ID_FILTER_AUDIO_ALL, 6},
};

}  // namespace

int CSendCommandObject::ValueOfID(UINT nID) {
  for (const IdValue& v : kValues)
    if (v.id == nID) return v.value;
  if (IsViewModeID(nID) || IsSortID(nID) || IsFilterID(nID)) return 0;
  return -1;
}

CSendCommandObject::CSendCommandObject(UINT nID, void* pValue) : m_nID(nID), m_nValue(0), m_pParam(nullptr) {
  UINT_PTR raw = reinterpret_cast<UINT_PTR>(pValue);
  BOOL bNumber = pValue && IS_INTRESOURCE(pValue);  // no pointer lies below 0x10000
  if (pValue && !bNumber) m_pParam = pValue;
  int mapped = ValueOfID(nID);
  m_nValue = (mapped < 0 || bNumber) ? raw : (UINT_PTR)mapped;
}

CSendCommandObject::~CSendCommandObject() {}
