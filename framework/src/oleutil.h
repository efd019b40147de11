// Helpers of the OLE data-transfer classes (internal to GlimFW.dll).
#pragma once
#include <fw/ole.h>

namespace fwole {

// Every medium: what a request asks for when the caller names none.
const DWORD kTymedAll =
    TYMED_HGLOBAL | TYMED_FILE | TYMED_ISTREAM | TYMED_ISTORAGE | TYMED_GDI | TYMED_MFPICT | TYMED_ENHMF;

// Copies hSource into hDest (which must be large enough), or into a new shareable block
// when hDest is NULL; the block written to, NULL on failure.
HGLOBAL CopyGlobal(HGLOBAL hSource, HGLOBAL hDest);
// The whole stream from its start in a new block.
HGLOBAL StreamToGlobal(IStream* pStream);
BOOL CopyMedium(CLIPFORMAT cf, const STGMEDIUM& src, STGMEDIUM* pDest);

}  // namespace fwole
