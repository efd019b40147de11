#include "Marlo2View.h"

IMPLEMENT_DYNCREATE(CMarlo2View, CView)

void CMarlo2View::OnDraw(CDC*) {}
