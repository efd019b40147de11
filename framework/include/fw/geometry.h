// CPoint, CSize, CRect: POINT, SIZE and RECT with operators. They derive from the Win32
// structures (and add no data), so they pass to Win32 calls as they are.
#pragma once
#include <fw/fwdefs.h>

class CPoint;
class CRect;

class CSize : public SIZE {
 public:
  CSize() { cx = cy = 0; }
  CSize(int initCX, int initCY) { cx = initCX, cy = initCY; }
  CSize(SIZE initSize) { cx = initSize.cx, cy = initSize.cy; }
  CSize(POINT initPt) { cx = initPt.x, cy = initPt.y; }
  // Low word cx, high word cy, both signed.
  CSize(DWORD dwSize) { cx = (short)LOWORD(dwSize), cy = (short)HIWORD(dwSize); }

  void SetSize(int CX, int CY) { cx = CX, cy = CY; }
  bool operator==(SIZE size) const { return cx == size.cx && cy == size.cy; }
  bool operator!=(SIZE size) const { return !(*this == size); }
  void operator+=(SIZE size) { cx += size.cx, cy += size.cy; }
  void operator-=(SIZE size) { cx -= size.cx, cy -= size.cy; }
  CSize operator+(SIZE size) const { return CSize(cx + size.cx, cy + size.cy); }
  CSize operator-(SIZE size) const { return CSize(cx - size.cx, cy - size.cy); }
  CSize operator-() const { return CSize(-cx, -cy); }
  inline CPoint operator+(POINT point) const;
  inline CPoint operator-(POINT point) const;
  inline CRect operator+(const RECT* lpRect) const;
  inline CRect operator-(const RECT* lpRect) const;
};

class CPoint : public POINT {
 public:
  CPoint() { x = y = 0; }
  CPoint(int initX, int initY) { x = initX, y = initY; }
  CPoint(POINT initPt) { x = initPt.x, y = initPt.y; }
  CPoint(SIZE initSize) { x = initSize.cx, y = initSize.cy; }
  // From a message's lParam: low word x, high word y, both signed.
  CPoint(LPARAM dwPoint) { x = (short)LOWORD(dwPoint), y = (short)HIWORD(dwPoint); }

  void Offset(int xOffset, int yOffset) { x += xOffset, y += yOffset; }
  void Offset(POINT point) { Offset(point.x, point.y); }
  void Offset(SIZE size) { Offset(size.cx, size.cy); }
  void SetPoint(int X, int Y) { x = X, y = Y; }

  bool operator==(POINT point) const { return x == point.x && y == point.y; }
  bool operator!=(POINT point) const { return !(*this == point); }
  void operator+=(SIZE size) { Offset(size); }
  void operator-=(SIZE size) { Offset(-size.cx, -size.cy); }
  void operator+=(POINT point) { Offset(point); }
  void operator-=(POINT point) { Offset(-point.x, -point.y); }
  CPoint operator+(SIZE size) const { return CPoint(x + size.cx, y + size.cy); }
  CPoint operator-(SIZE size) const { return CPoint(x - size.cx, y - size.cy); }
  CPoint operator-() const { return CPoint(-x, -y); }
  CPoint operator+(POINT point) const { return CPoint(x + point.x, y + point.y); }
  CSize operator-(POINT point) const { return CSize(x - point.x, y - point.y); }
  inline CRect operator+(const RECT* lpRect) const;
  inline CRect operator-(const RECT* lpRect) const;
};

class CRect : public RECT {
 public:
  CRect() { left = top = right = bottom = 0; }
  CRect(int l, int t, int r, int b) { left = l, top = t, right = r, bottom = b; }
  CRect(const RECT& srcRect) { ::CopyRect(this, &srcRect); }
  CRect(const RECT* lpSrcRect) {
    left = top = right = bottom = 0;
    if (lpSrcRect) ::CopyRect(this, lpSrcRect);
  }
  CRect(POINT point, SIZE size) { left = point.x, top = point.y, right = point.x + size.cx, bottom = point.y + size.cy; }
  CRect(POINT topLeft, POINT bottomRight) { left = topLeft.x, top = topLeft.y, right = bottomRight.x, bottom = bottomRight.y; }

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  CSize Size() const { return CSize(Width(), Height()); }
  CPoint& TopLeft() { return *reinterpret_cast<CPoint*>(&left); }
  CPoint& BottomRight() { return *reinterpret_cast<CPoint*>(&right); }
  const CPoint& TopLeft() const { return *reinterpret_cast<const CPoint*>(&left); }
  const CPoint& BottomRight() const { return *reinterpret_cast<const CPoint*>(&right); }
  CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }
  void SwapLeftRight() { std::swap(left, right); }

  operator LPRECT() { return this; }
  operator LPCRECT() const { return this; }

  // Empty: no area (width or height not positive); null: all four zero.
  BOOL IsRectEmpty() const { return ::IsRectEmpty(this); }
  BOOL IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
  // Left and top edges inside, right and bottom outside.
  BOOL PtInRect(POINT point) const { return ::PtInRect(this, point); }

  void SetRect(int x1, int y1, int x2, int y2) { ::SetRect(this, x1, y1, x2, y2); }
  void SetRect(POINT topLeft, POINT bottomRight) { SetRect(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y); }
  void SetRectEmpty() { ::SetRectEmpty(this); }
  void CopyRect(LPCRECT lpSrcRect) { ::CopyRect(this, lpSrcRect); }
  BOOL EqualRect(LPCRECT lpRect) const { return ::EqualRect(this, lpRect); }

  void InflateRect(int x, int y) { ::InflateRect(this, x, y); }
  void InflateRect(SIZE size) { InflateRect(size.cx, size.cy); }
  void InflateRect(LPCRECT lpRect) { InflateRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom); }
  void InflateRect(int l, int t, int r, int b) { left -= l, top -= t, right += r, bottom += b; }
  void DeflateRect(int x, int y) { InflateRect(-x, -y); }
  void DeflateRect(SIZE size) { InflateRect(-size.cx, -size.cy); }
  void DeflateRect(LPCRECT lpRect) { DeflateRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom); }
  void DeflateRect(int l, int t, int r, int b) { left += l, top += t, right -= r, bottom -= b; }
  void OffsetRect(int x, int y) { ::OffsetRect(this, x, y); }
  void OffsetRect(POINT point) { OffsetRect(point.x, point.y); }
  void OffsetRect(SIZE size) { OffsetRect(size.cx, size.cy); }
  void MoveToY(int y) { bottom = Height() + y, top = y; }
  void MoveToX(int x) { right = Width() + x, left = x; }
  void MoveToXY(int x, int y) { MoveToX(x), MoveToY(y); }
  void MoveToXY(POINT point) { MoveToXY(point.x, point.y); }
  // Swaps edges so that left <= right and top <= bottom.
  void NormalizeRect() {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
  }

  // Set operations (Win32 rules: an empty result is 0,0,0,0 and returns FALSE).
  BOOL IntersectRect(LPCRECT lpRect1, LPCRECT lpRect2) { return ::IntersectRect(this, lpRect1, lpRect2); }
  BOOL UnionRect(LPCRECT lpRect1, LPCRECT lpRect2) { return ::UnionRect(this, lpRect1, lpRect2); }
  BOOL SubtractRect(LPCRECT lpRectSrc1, LPCRECT lpRectSrc2) { return ::SubtractRect(this, lpRectSrc1, lpRectSrc2); }

  // Short forms of the members above.
  void Inflate(int x, int y) { InflateRect(x, y); }
  void Deflate(int x, int y) { DeflateRect(x, y); }
  void Offset(int x, int y) { OffsetRect(x, y); }
  void Normalize() { NormalizeRect(); }
  BOOL Intersect(LPCRECT lpRect1, LPCRECT lpRect2) { return IntersectRect(lpRect1, lpRect2); }
  BOOL Union(LPCRECT lpRect1, LPCRECT lpRect2) { return UnionRect(lpRect1, lpRect2); }

  CRect& operator=(const RECT& srcRect) {
    ::CopyRect(this, &srcRect);
    return *this;
  }
  bool operator==(const RECT& rect) const { return ::EqualRect(this, &rect) != FALSE; }
  bool operator!=(const RECT& rect) const { return !(*this == rect); }
  void operator+=(POINT point) { OffsetRect(point); }
  void operator+=(SIZE size) { OffsetRect(size); }
  void operator+=(LPCRECT lpRect) { InflateRect(lpRect); }
  void operator-=(POINT point) { OffsetRect(-point.x, -point.y); }
  void operator-=(SIZE size) { OffsetRect(-size.cx, -size.cy); }
  void operator-=(LPCRECT lpRect) { DeflateRect(lpRect); }
  void operator&=(const RECT& rect) { ::IntersectRect(this, this, &rect); }
  void operator|=(const RECT& rect) { ::UnionRect(this, this, &rect); }
  CRect operator+(POINT pt) const { return Moved(pt.x, pt.y); }
  CRect operator-(POINT pt) const { return Moved(-pt.x, -pt.y); }
  CRect operator+(SIZE size) const { return Moved(size.cx, size.cy); }
  CRect operator-(SIZE size) const { return Moved(-size.cx, -size.cy); }
  CRect operator+(LPCRECT lpRect) const {
    CRect r(*this);
    r.InflateRect(lpRect);
    return r;
  }
  CRect operator-(LPCRECT lpRect) const {
    CRect r(*this);
    r.DeflateRect(lpRect);
    return r;
  }
  CRect operator&(const RECT& rect2) const {
    CRect r;
    ::IntersectRect(&r, this, &rect2);
    return r;
  }
  CRect operator|(const RECT& rect2) const {
    CRect r;
    ::UnionRect(&r, this, &rect2);
    return r;
  }
  // Every edge times nMultiplier / nDivisor, rounded (Win32 MulDiv).
  CRect MulDiv(int nMultiplier, int nDivisor) const {
    return CRect(::MulDiv(left, nMultiplier, nDivisor), ::MulDiv(top, nMultiplier, nDivisor),
                 ::MulDiv(right, nMultiplier, nDivisor), ::MulDiv(bottom, nMultiplier, nDivisor));
  }

 private:
  CRect Moved(int x, int y) const {
    CRect r(*this);
    r.OffsetRect(x, y);
    return r;
  }
};

inline CPoint CSize::operator+(POINT point) const { return CPoint(cx + point.x, cy + point.y); }
inline CPoint CSize::operator-(POINT point) const { return CPoint(cx - point.x, cy - point.y); }
inline CRect CSize::operator+(const RECT* lpRect) const { return CRect(lpRect) + *this; }
inline CRect CSize::operator-(const RECT* lpRect) const { return CRect(lpRect) - *this; }
inline CRect CPoint::operator+(const RECT* lpRect) const { return CRect(lpRect) + *this; }
inline CRect CPoint::operator-(const RECT* lpRect) const { return CRect(lpRect) - *this; }
