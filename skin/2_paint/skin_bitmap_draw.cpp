#include "skin/2_paint/skin_bitmap_draw.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "skin/1_data/skin_draw_text.h"

namespace qm {

namespace {

bool Inverted(const RECT& r) { return r.right < r.left || r.bottom < r.top; }

// A working bitmap whose stretching copies blend rather than drop pixels.
std::unique_ptr<gui::TBitmap> WorkingBitmap(int width, int height) {
  auto bitmap = std::make_unique<gui::TBitmap>(MaxInt(width, 0), MaxInt(height, 0));
  bitmap->Canvas().StretchMode = HALFTONE;
  return bitmap;
}

// Whether every line of the piece s running along the given axis is one
// colour. Stretched along such axes only, the piece comes out the same
// whether its pixels are blended or merely repeated.
bool LinesAreUniform(const gui::TBitmap& bitmap, const RECT& s, bool alongX, bool alongY) {
  if (s.left < 0 || s.top < 0 || s.right > bitmap.Width() || s.bottom > bitmap.Height()) return false;
  const std::uint8_t* top = bitmap.ScanLine(s.top) + s.left * 3;
  const int stride = bitmap.Stride(), width = (s.right - s.left) * 3;
  for (int y = 0; y < s.bottom - s.top; ++y) {
    const std::uint8_t* row = top + static_cast<ptrdiff_t>(y) * stride;
    for (int x = 0; x < width; x += 3) {
      // Against the line's first pixel: the row's own, the column's top
      // one, or the piece's first when both axes stretch.
      const std::uint8_t* q = alongX ? (alongY ? top : row) : top + x;
      if (row[x] != q[0] || row[x + 1] != q[1] || row[x + 2] != q[2]) return false;
    }
  }
  return true;
}

// Copies the source rectangle to the target one, stretching in the target
// canvas's mode; empty pieces draw nothing.
void Stretch(gui::TCanvas& target, const RECT& d, gui::TBitmap& source, const RECT& s) {
  if (d.right <= d.left || d.bottom <= d.top || s.right <= s.left || s.bottom <= s.top) return;
  const bool alongX = d.right - d.left != s.right - s.left, alongY = d.bottom - d.top != s.bottom - s.top;
  // A piece at its own size is a plain copy, whatever the stretch mode;
  // Wine's HALFTONE path would take many times longer for the same pixels.
  if (!alongX && !alongY) {
    BitBlt(target.Handle(), d.left, d.top, d.right - d.left, d.bottom - d.top, source.Canvas().Handle(), s.left,
           s.top, SRCCOPY);
    return;
  }
  // So is a piece of even lines (a skin's edges and faces mostly are), and
  // its blending costs several times the rest of a control's painting.
  const int mode = target.StretchMode;
  if (mode == HALFTONE && LinesAreUniform(source, s, alongX, alongY)) target.StretchMode = COLORONCOLOR;
  target.CopyRect(d, source.Canvas(), s);
  target.StretchMode = mode;
}

// The nine-grid's margins for a target of dw x dh: an axis too short for
// both of its margins loses both, and the frame stretches over it whole.
RECT FittedMargins(const RECT& margins, int dw, int dh) {
  RECT m = margins;
  if (dw < m.left + m.right) m.left = m.right = 0;
  if (dh < m.top + m.bottom) m.top = m.bottom = 0;
  return m;
}

// The eight outer pieces of the nine-grid, in the order later pieces must
// cover earlier ones; the middle goes between the top edge and the
// bottom-right corner, so that its overrunning tiles are covered.
template <class Middle>
void DrawPieces(gui::TCanvas& target, int ox, int oy, int dw, int dh, gui::TBitmap& source, const RECT& f,
                const RECT& m, Middle&& middle) {
  const int x = f.left, y = f.top, fw = f.right - f.left, fh = f.bottom - f.top;
  const int L = m.left, T = m.top, R = m.right, B = m.bottom;
  auto piece = [&](int dl, int dt, int dr, int db, int sl, int st, int sr, int sb) {
    Stretch(target, RECT{ox + dl, oy + dt, ox + dr, oy + db}, source, RECT{sl, st, sr, sb});
  };
  if (L > 0 && T > 0) piece(0, 0, L, T, x, y, x + L, y + T);
  if (L > 0 && B > 0) piece(0, dh - B, L, dh, x, y + fh - B, x + L, y + fh);
  if (R > 0 && T > 0) piece(dw - R, 0, dw, T, x + fw - R, y, x + fw, y + T);
  if (L > 0) piece(0, T, L, dh - B, x, y + T, x + L, y + fh - B);
  if (T > 0) piece(L, 0, dw - R, T, x + L, y, x + fw - R, y + T);
  middle(RECT{L, T, dw - R, dh - B}, RECT{x + L, y + T, x + fw - R, y + fh - B});
  if (R > 0 && B > 0) piece(dw - R, dh - B, dw, dh, x + fw - R, y + fh - B, x + fw, y + fh);
  if (R > 0) piece(dw - R, T, dw, dh - B, x + fw - R, y + T, x + fw, y + fh - B);
  if (B > 0) piece(L, dh - B, dw - R, dh, x + L, y + fh - B, x + fw - R, y + fh);
}

// Draws a working bitmap at R, through the key colour or opaque.
void Put(HDC dc, const RECT& r, gui::TBitmap& bitmap, bool transparent) {
  if (transparent)
    DrawTransparent(dc, r, bitmap, SkinKeyColour);
  else
    BitBlt(dc, r.left, r.top, bitmap.Width(), bitmap.Height(), bitmap.Canvas().Handle(), 0, 0, SRCCOPY);
}

// Turns a batch of rectangles into a region and adds it to the result.
void FlushRegion(HRGN& result, std::vector<RECT>& rects, const RECT& bounds) {
  if (rects.empty()) return;
  std::vector<BYTE> block(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
  auto* data = reinterpret_cast<RGNDATA*>(block.data());
  data->rdh.dwSize = sizeof(RGNDATAHEADER);
  data->rdh.iType = RDH_RECTANGLES;
  data->rdh.nCount = static_cast<DWORD>(rects.size());
  data->rdh.nRgnSize = static_cast<DWORD>(rects.size() * sizeof(RECT));
  data->rdh.rcBound = bounds;
  std::copy(rects.begin(), rects.end(), reinterpret_cast<RECT*>(data->Buffer));
  HRGN batch = ExtCreateRegion(nullptr, static_cast<DWORD>(block.size()), data);
  rects.clear();
  if (!batch) return;
  if (!result) {
    result = batch;
  } else {
    CombineRgn(result, result, batch, RGN_OR);
    DeleteObject(batch);
  }
}

}  // namespace

RECT SkinFrameRect(const gui::TBitmap& Strip, bool Vertical, int FrameCount, int Frame) {
  const int n = MaxInt(FrameCount, 1);
  const int f = MinInt(MaxInt(Frame, 1), n);
  if (Vertical) {
    const int fh = Strip.Height() / n;
    return RECT{0, fh * (f - 1), Strip.Width(), fh * f};
  }
  const int fw = Strip.Width() / n;
  return RECT{fw * (f - 1), 0, fw * f, Strip.Height()};
}

std::unique_ptr<gui::TBitmap> NineGridBitmap(const RECT& R, gui::TBitmap& Strip, const RECT& Margins,
                                             bool Vertical, bool Tile, int FrameCount, int Frame) {
  const int dw = R.right - R.left, dh = R.bottom - R.top;
  auto result = WorkingBitmap(dw, dh);
  if (result->Empty() || Strip.Empty()) return result;
  const RECT frame = SkinFrameRect(Strip, Vertical, FrameCount, Frame);
  gui::TCanvas& target = result->Canvas();
  DrawPieces(target, 0, 0, dw, dh, Strip, frame, FittedMargins(Margins, dw, dh),
             [&](const RECT& d, const RECT& s) {
               if (Tile)
                 TileBitmap(target, d, Strip, s);
               else
                 Stretch(target, d, Strip, s);
             });
  return result;
}

void DrawNineGrid(HDC DC, const RECT& R, gui::TBitmap& Strip, bool Vertical, bool Tile, bool Transparent,
                  int FrameCount, int Frame, const RECT& Margins) {
  if (Inverted(R)) return;
  auto bitmap = NineGridBitmap(R, Strip, Margins, Vertical, Tile, FrameCount, Frame);
  if (!bitmap->Empty()) Put(DC, R, *bitmap, Transparent);
}

void DrawNineGridRing(HDC DC, const RECT& R, gui::TBitmap& Strip, bool Vertical, int FrameCount, int Frame,
                      const RECT& Margins) {
  if (Inverted(R) || Strip.Empty()) return;
  const int dw = R.right - R.left, dh = R.bottom - R.top;
  const RECT frame = SkinFrameRect(Strip, Vertical, FrameCount, Frame);
  // The canvas gives the DC its stretch mode back after every piece.
  gui::TCanvas target(DC);
  target.StretchMode = HALFTONE;
  DrawPieces(target, R.left, R.top, dw, dh, Strip, frame, FittedMargins(Margins, dw, dh),
             [](const RECT&, const RECT&) {});
}

void DrawThreePart(gui::TCanvas& Canvas, const RECT& R, gui::TBitmap& Strip, bool Vertical, bool Transparent,
                   int FrameCount, int Frame, const RECT& Margins) {
  if (Inverted(R) || Strip.Empty()) return;
  const int dw = R.right - R.left, dh = R.bottom - R.top;
  auto work = WorkingBitmap(dw, dh);
  if (work->Empty()) return;
  const RECT f = SkinFrameRect(Strip, Vertical, FrameCount, Frame);
  const int fw = f.right - f.left, L = Margins.left, Rw = Margins.right;
  gui::TBitmap& source = Strip;
  gui::TCanvas& target = work->Canvas();
  Stretch(target, RECT{0, 0, L, dh}, source, RECT{f.left, f.top, f.left + L, f.bottom});
  const int segment = fw - L - Rw;
  if (segment > 0)
    for (int x = L; x < dw - Rw; x += segment)
      Stretch(target, RECT{x, 0, x + segment, dh}, source, RECT{f.left + L, f.top, f.left + L + segment, f.bottom});
  // Last, so the right cap covers whatever the middle ran over.
  Stretch(target, RECT{dw - Rw, 0, dw, dh}, source, RECT{f.right - Rw, f.top, f.right, f.bottom});
  Put(Canvas.Handle(), R, *work, Transparent);
}

void DrawFrame(HDC DC, const RECT& R, gui::TBitmap& Strip, bool Transparent, int FrameCount, int Frame) {
  if (Inverted(R) || Strip.Empty()) return;
  const RECT f = SkinFrameRect(Strip, false, FrameCount, Frame);
  if (R.right - R.left == f.right - f.left && R.bottom - R.top == f.bottom - f.top) {
    // At its own size (caption buttons, icons) the frame needs no working
    // copy: it goes straight from the strip.
    if (Transparent)
      DrawTransparentPart(DC, R.left, R.top, Strip, f, SkinKeyColour);
    else
      BitBlt(DC, R.left, R.top, f.right - f.left, f.bottom - f.top, Strip.Canvas().Handle(), f.left, f.top, SRCCOPY);
    return;
  }
  auto work = WorkingBitmap(R.right - R.left, R.bottom - R.top);
  if (work->Empty()) return;
  Stretch(work->Canvas(), RECT{0, 0, work->Width(), work->Height()}, Strip, f);
  Put(DC, R, *work, Transparent);
}

void DrawTransparent(HDC DC, const RECT& R, gui::TBitmap& Bitmap, COLORREF Key) {
  if (Inverted(R) || Bitmap.Empty()) return;
  DrawTransparentPart(DC, R.left, R.top, Bitmap, RECT{0, 0, Bitmap.Width(), Bitmap.Height()}, Key);
}

namespace {

// Scratch surfaces for transparent drawing, kept for the life of the GUI
// thread: making a DC and a bitmap for every small picture costs far more
// than the drawing itself (a hundred times more under Wine).
class TTransparentScratch {
 public:
  ~TTransparentScratch() {
    for (Surface* s : {&FMask, &FColour}) {
      if (s->DC) {
        SelectObject(s->DC, s->Old);
        DeleteDC(s->DC);
      }
      if (s->Bitmap) DeleteObject(s->Bitmap);
    }
  }
  // A one-bit surface and a surface like Reference's, each at least W x H;
  // null when the system refuses them.
  bool Prepare(HDC Reference, int W, int H) {
    return Fit(FMask, nullptr, W, H) && Fit(FColour, Reference, W, H);
  }
  HDC Mask() const { return FMask.DC; }
  HDC Colour() const { return FColour.DC; }

 private:
  struct Surface {
    HDC DC = nullptr;
    HBITMAP Bitmap = nullptr;
    HGDIOBJ Old = nullptr;
    int W = 0, H = 0;
  };
  static bool Fit(Surface& s, HDC Reference, int W, int H) {
    if (s.DC && s.W >= W && s.H >= H) return true;
    const int w = std::max(W, s.W), h = std::max(H, s.H);
    HBITMAP bitmap = Reference ? CreateCompatibleBitmap(Reference, w, h) : CreateBitmap(w, h, 1, 1, nullptr);
    if (!bitmap) return false;
    if (!s.DC) {
      s.DC = CreateCompatibleDC(nullptr);
      if (!s.DC) {
        DeleteObject(bitmap);
        return false;
      }
      s.Old = SelectObject(s.DC, bitmap);
    } else {
      SelectObject(s.DC, bitmap);
      DeleteObject(s.Bitmap);
    }
    s.Bitmap = bitmap;
    s.W = w, s.H = h;
    return true;
  }
  Surface FMask, FColour;
};

}  // namespace

void DrawTransparentPart(HDC DC, int X, int Y, gui::TBitmap& Bitmap, const RECT& Part, COLORREF Key) {
  const int w = Part.right - Part.left, h = Part.bottom - Part.top;
  if (w <= 0 || h <= 0 || Bitmap.Empty()) return;
  static TTransparentScratch scratch;
  HDC source = Bitmap.Canvas().Handle();
  // The scratch colour surface is made like the source, which is always a
  // 24-bit picture, whatever the target is.
  if (!scratch.Prepare(source, w, h)) return;
  HDC mask = scratch.Mask(), work = scratch.Colour();
  // The mask: key-coloured pixels white, all others black.
  const COLORREF oldBk = SetBkColor(source, Key);
  BitBlt(mask, 0, 0, w, h, source, Part.left, Part.top, SRCCOPY);
  SetBkColor(source, oldBk);
  // Composed off the target, so that the target never shows a half-made
  // picture: where the mask is white the target stays, elsewhere the source.
  BitBlt(work, 0, 0, w, h, DC, X, Y, SRCCOPY);
  SetBkColor(work, RGB(255, 255, 255));
  SetTextColor(work, RGB(0, 0, 0));
  BitBlt(work, 0, 0, w, h, source, Part.left, Part.top, SRCINVERT);
  BitBlt(work, 0, 0, w, h, mask, 0, 0, SRCAND);
  BitBlt(work, 0, 0, w, h, source, Part.left, Part.top, SRCINVERT);
  BitBlt(DC, X, Y, w, h, work, 0, 0, SRCCOPY);
}

void TileBitmap(gui::TCanvas& Canvas, const RECT& Target, gui::TBitmap& Source, const RECT& Src) {
  const int w = Src.right - Src.left, h = Src.bottom - Src.top;
  if (w <= 0 || h <= 0) return;
  gui::TBitmap piece(w, h);
  HDC pieceDC = piece.Canvas().Handle();
  BitBlt(pieceDC, 0, 0, w, h, Source.Canvas().Handle(), Src.left, Src.top, SRCCOPY);
  for (int x = Target.left; x < Target.right; x += w)
    for (int y = Target.top; y < Target.bottom; y += h) BitBlt(Canvas.Handle(), x, y, w, h, pieceDC, 0, 0, SRCCOPY);
}

HRGN BitmapToRegion(const gui::TBitmap& Bitmap, int X, int Y, int BlueTolerance, int GreenTolerance,
                    int RedTolerance, COLORREF Key) {
  const int r = GetRValue(Key), g = GetGValue(Key), b = GetBValue(Key);
  const int rMax = MinInt(255, r + RedTolerance), gMax = MinInt(255, g + GreenTolerance),
            bMax = MinInt(255, b + BlueTolerance);
  auto isKey = [&](const std::uint8_t* p) {
    return p[0] >= b && p[0] <= bMax && p[1] >= g && p[1] <= gMax && p[2] >= r && p[2] <= rMax;
  };
  // Regions are made in batches, so that no region data block grows
  // without bound on a large picture. A row whose runs are those of the row
  // above only makes that row's rectangles taller: frame borders are mostly
  // such rows, and the region is made several times faster.
  constexpr size_t batchSize = 2000;
  std::vector<RECT> rects, above, row;
  rects.reserve(batchSize);
  RECT bounds{X, Y, X + Bitmap.Width(), Y + Bitmap.Height()};
  HRGN result = nullptr;
  auto keep = [&](const std::vector<RECT>& done) {
    for (const RECT& r : done) {
      rects.push_back(r);
      if (rects.size() == batchSize) FlushRegion(result, rects, bounds);
    }
  };
  for (int y = 0; y < Bitmap.Height(); ++y) {
    const std::uint8_t* line = Bitmap.ScanLine(y);
    row.clear();
    int x = 0;
    while (x < Bitmap.Width()) {
      while (x < Bitmap.Width() && isKey(line + 3 * x)) ++x;
      const int start = x;
      while (x < Bitmap.Width() && !isKey(line + 3 * x)) ++x;
      if (x > start) row.push_back(RECT{start + X, y + Y, x + X, y + Y + 1});
    }
    const bool same = row.size() == above.size() &&
                      std::equal(row.begin(), row.end(), above.begin(), [](const RECT& a, const RECT& b) {
                        return a.left == b.left && a.right == b.right;
                      });
    if (same) {
      for (RECT& r : above) ++r.bottom;
    } else {
      keep(above);
      above.swap(row);
    }
  }
  keep(above);
  FlushRegion(result, rects, bounds);
  return result;
}

}  // namespace qm
