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
    {29541, 2}, {29542, 1}, {29543, 3}, {29544, 4}, {29545, 5}, {29546, 6},
    {29547, 10}, {29548, 11}, {29549, 12}, {29550, 13}, {29551, 14},
    // sorts: sort ids (picture folders, card audio area, card voice area)
    {29561, 29}, {29562, 11}, {29563, 12}, {29564, 19}, {29565, 20}, {29566, 15}, {29567, 16},
    {VXCMD_SORT_TYPE_ASC_HINT, 17}, {VXCMD_SORT_TYPE_DESC_HINT, 18},
    {29572, 11}, {29573, 12}, {29574, 21}, {29575, 22}, {29576, 23}, {29577, 24},
    {29578, 25}, {29579, 26}, {29580, 27},
    {29581, 11}, {29582, 12}, {29583, 19}, {29584, 20}, {29585, 15}, {29586, 16}, {29587, 27},
    {VXCMD_SORT_TYPE_ASC, 17}, {VXCMD_SORT_TYPE_DESC, 18},
    // filters: filter ids
    {29591, 0}, {29592, 3}, {29593, 4}, {29594, 6}, {29595, 6},
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
