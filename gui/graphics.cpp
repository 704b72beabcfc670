#include "graphics.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

namespace gui {

COLORREF ColorToRGB(TColor color) {
  if ((color & 0xFF000000u) == 0xFF000000u) return GetSysColor(static_cast<int>(color & 0xFF));
  return color & 0x00FFFFFFu;
}

TGdiHandle<HBRUSH> PatternBrush(TColor first, TColor second) {
  // An 8 x 8 pattern: brushes made from smaller bitmaps are not portable.
  const COLORREF a = ColorToRGB(first), b = ColorToRGB(second);
  TBitmap pattern(8, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      const COLORREF c = (x + y) % 2 ? b : a;
      std::uint8_t* p = pattern.ScanLine(y) + x * 3;
      p[0] = GetBValue(c), p[1] = GetGValue(c), p[2] = GetRValue(c);
    }
  return TGdiHandle<HBRUSH>(CreatePatternBrush(pattern.Handle()), true);
}

void DrawCheckMark(HDC dc, const RECT& r, TColor color, int dx, int dy) {
  TGdiHandle<HBITMAP> mark(LoadBitmapW(nullptr, MAKEINTRESOURCEW(32760 /* OBM_CHECK */)), true);
  if (!mark) return;
  BITMAP info{};
  GetObjectW(mark.Get(), sizeof info, &info);
  HDC source = CreateCompatibleDC(dc);
  const HGDIOBJ old = SelectObject(source, mark.Get());
  const int x = r.left + (r.right - r.left - info.bmWidth) / 2 + dx;
  const int y = r.top + (r.bottom - r.top - info.bmHeight) / 2 + dy;
  // The mark is black on white: first cut it out in black, then lay the
  // colour into the cut, so that only the mark's pixels change.
  const COLORREF text = SetTextColor(dc, RGB(0, 0, 0)), back = SetBkColor(dc, RGB(255, 255, 255));
  BitBlt(dc, x, y, info.bmWidth, info.bmHeight, source, 0, 0, SRCAND);
  SetTextColor(dc, ColorToRGB(color));
  SetBkColor(dc, RGB(0, 0, 0));
  BitBlt(dc, x, y, info.bmWidth, info.bmHeight, source, 0, 0, SRCPAINT);
  SetTextColor(dc, text);
  SetBkColor(dc, back);
  SelectObject(source, old);
  DeleteDC(source);
}

std::wstring Widen(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(n, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

std::string Narrow(const std::wstring& text) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(n, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

namespace {
template <class S>
void TakeOutMarks(S& text, UINT& format) {
  format |= DT_NOPREFIX;
  S shown;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size()) ++i;  // "&x" shows x, "&&" one "&"
    shown += text[i];
  }
  text = std::move(shown);
}
}  // namespace

void HideAcceleratorMarks(std::wstring& text, UINT& format) { TakeOutMarks(text, format); }
void HideAcceleratorMarks(std::string& text, UINT& format) { TakeOutMarks(text, format); }

// --- TFont

TFont::TFont() = default;

void TFont::Assign(const TFont& s) {
  if (&s == this) return;
  FName = s.FName;
  FHeight = s.FHeight;
  FColor = s.FColor;
  FStyle = s.FStyle;
  FCharset = s.FCharset;
  FLogFont = s.FLogFont;
  FHasLogFont = s.FHasLogFont;
  Changed();
}

void TFont::Describe(const LOGFONTW& lf) {
  const std::wstring face(lf.lfFaceName, wcsnlen(lf.lfFaceName, LF_FACESIZE));
  FName = Narrow(face);
  FHeight = lf.lfHeight;
  FStyle = (lf.lfWeight >= FW_BOLD ? unsigned{fsBold} : 0u) | (lf.lfItalic ? unsigned{fsItalic} : 0u) |
           (lf.lfUnderline ? unsigned{fsUnderline} : 0u) | (lf.lfStrikeOut ? unsigned{fsStrikeOut} : 0u);
  FCharset = lf.lfCharSet;
  FLogFont = lf;
  FHasLogFont = true;
}

void TFont::AssignLogFont(const LOGFONTW& lf) {
  Describe(lf);
  Changed();
}

void TFont::SetHandle(HFONT font, bool owned) {
  if (!font) font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT)), owned = false;
  LOGFONTW lf{};
  if (GetObjectType(font) != OBJ_FONT || !GetObjectW(font, sizeof lf, &lf))
    throw std::invalid_argument("not a font handle");
  if (font == FHandle.Get()) owned = owned || FHandle.Owned(), FHandle.Detach();
  Describe(lf);
  FHandle = TGdiHandle<HFONT>(font, owned);
  if (OnChange) OnChange();
}

void TFont::Changed() {
  FHandle.Reset();
  if (OnChange) OnChange();
}

void TFont::SetName(const std::string& name) {
  if (name != FName) FName = name, Changed();
}
void TFont::SetHeight(int height) {
  if (height != FHeight) FHeight = height, Changed();
}
int TFont::Size() const { return -MulDiv(FHeight, 72, 96); }
void TFont::SetSize(int points) { SetHeight(-MulDiv(points, 96, 72)); }
void TFont::SetColor(TColor color) {
  if (color != FColor) FColor = color, Changed();
}
void TFont::SetStyle(unsigned style) {
  if (style != FStyle) FStyle = style, Changed();
}
void TFont::SetCharset(BYTE charset) {
  if (charset != FCharset) FCharset = charset, Changed();
}

HFONT TFont::Handle() const {
  if (!FHandle) {
    // What the description says, over the rest of a font taken earlier.
    LOGFONTW lf = FHasLogFont ? FLogFont : LOGFONTW{};
    lf.lfHeight = FHeight;
    if (FStyle & fsBold) lf.lfWeight = std::max<LONG>(lf.lfWeight, FW_BOLD);
    else if (!FHasLogFont || lf.lfWeight >= FW_BOLD) lf.lfWeight = FW_NORMAL;
    lf.lfItalic = (FStyle & fsItalic) != 0;
    lf.lfUnderline = (FStyle & fsUnderline) != 0;
    lf.lfStrikeOut = (FStyle & fsStrikeOut) != 0;
    lf.lfCharSet = FCharset;
    const std::wstring face = Widen(FName).substr(0, LF_FACESIZE - 1);
    std::fill(std::begin(lf.lfFaceName), std::end(lf.lfFaceName), L'\0');
    std::copy(face.begin(), face.end(), lf.lfFaceName);
    FHandle = TGdiHandle<HFONT>(CreateFontIndirectW(&lf), true);
  }
  return FHandle.Get();
}

// --- TBrush, TPen

void TBrush::SetColor(TColor color) {
  if (color == FColor) return;
  FColor = color;
  FHandle.Reset();
  if (OnChange) OnChange();
}
void TBrush::SetStyle(TBrushStyle style) {
  if (style == FStyle) return;
  FStyle = style;
  FHandle.Reset();
  if (OnChange) OnChange();
}
HBRUSH TBrush::Handle() const {
  if (!FHandle) {
    if (FStyle == TBrushStyle::bsClear)
      FHandle = TGdiHandle<HBRUSH>(static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)), false);
    else if ((FColor & 0xFF000000u) == 0xFF000000u)
      FHandle = TGdiHandle<HBRUSH>(GetSysColorBrush(static_cast<int>(FColor & 0xFF)), false);
    else
      FHandle = TGdiHandle<HBRUSH>(CreateSolidBrush(ColorToRGB(FColor)), true);
  }
  return FHandle.Get();
}

void TPen::SetColor(TColor color) {
  if (color == FColor) return;
  FColor = color;
  FHandle.Reset();
  if (OnChange) OnChange();
}
void TPen::SetWidth(int width) {
  if (width == FWidth) return;
  FWidth = width;
  FHandle.Reset();
  if (OnChange) OnChange();
}
HPEN TPen::Handle() const {
  if (!FHandle) FHandle = TGdiHandle<HPEN>(CreatePen(PS_SOLID, FWidth, ColorToRGB(FColor)), true);
  return FHandle.Get();
}

// --- TCanvas

HDC TCanvas::RequireHandle() const {
  if (!FHandle) throw std::logic_error("canvas without a device context");
  return FHandle;
}

void TCanvas::FillRect(const RECT& r) {
  if (Brush.Style() == TBrushStyle::bsClear) return;
  ::FillRect(RequireHandle(), &r, Brush.Handle());
}

void TCanvas::FrameRect(const RECT& r) { ::FrameRect(RequireHandle(), &r, Brush.Handle()); }

void TCanvas::Rectangle(const RECT& r) {
  HDC dc = RequireHandle();
  TSelectGuard pen(dc, Pen.Handle()), brush(dc, Brush.Handle());
  ::Rectangle(dc, r.left, r.top, r.right, r.bottom);
}

void TCanvas::MoveTo(int x, int y) { FPen = {x, y}; }

void TCanvas::LineTo(int x, int y) {
  HDC dc = RequireHandle();
  TSelectGuard pen(dc, Pen.Handle());
  POINT old;
  MoveToEx(dc, FPen.x, FPen.y, &old);
  ::LineTo(dc, x, y);
  MoveToEx(dc, old.x, old.y, nullptr);
  FPen = {x, y};
}

namespace {
// Font, colour and background mode for one text operation, undone after.
class TTextState {
 public:
  TTextState(HDC dc, const TFont& font, const TBrush& brush)
      : FDC(dc), FFont(dc, font.Handle()), FOldColor(SetTextColor(dc, ColorToRGB(font.Color()))) {
    if (brush.Style() == TBrushStyle::bsClear) {
      FOldMode = SetBkMode(dc, TRANSPARENT);
    } else {
      FOldMode = SetBkMode(dc, OPAQUE);
      FOldBk = SetBkColor(dc, ColorToRGB(brush.Color()));
      FSetBk = true;
    }
  }
  ~TTextState() {
    SetTextColor(FDC, FOldColor);
    SetBkMode(FDC, FOldMode);
    if (FSetBk) SetBkColor(FDC, FOldBk);
  }

 private:
  HDC FDC;
  TSelectGuard FFont;
  COLORREF FOldColor;
  int FOldMode = 0;
  COLORREF FOldBk = 0;
  bool FSetBk = false;
};
}  // namespace

void TCanvas::TextOut(int x, int y, const std::string& text) {
  HDC dc = RequireHandle();
  TTextState state(dc, Font, Brush);
  const std::wstring w = Widen(text);
  ExtTextOutW(dc, x, y, 0, nullptr, w.c_str(), static_cast<UINT>(w.size()), nullptr);
}

int TCanvas::DrawText(const std::string& text, RECT& r, UINT format) {
  HDC dc = RequireHandle();
  TTextState state(dc, Font, Brush);
  std::wstring w = Widen(text);
  return ::DrawTextW(dc, w.c_str(), static_cast<int>(w.size()), &r, format);
}

SIZE TCanvas::TextExtent(const std::string& text) {
  HDC dc = RequireHandle();
  TSelectGuard font(dc, Font.Handle());
  const std::wstring w = Widen(text);
  SIZE size{0, 0};
  GetTextExtentPoint32W(dc, w.c_str(), static_cast<int>(w.size()), &size);
  return size;
}

void TCanvas::CopyRect(const RECT& d, const TCanvas& source, const RECT& s, DWORD rop) {
  HDC dc = RequireHandle();
  POINT origin{};
  GetBrushOrgEx(dc, &origin);
  const int oldMode = SetStretchBltMode(dc, StretchMode);
  // After HALFTONE the brush origin must be set again, or brushes misalign.
  if (StretchMode == HALFTONE) SetBrushOrgEx(dc, origin.x, origin.y, nullptr);
  StretchBlt(dc, d.left, d.top, d.right - d.left, d.bottom - d.top, source.RequireHandle(), s.left, s.top,
             s.right - s.left, s.bottom - s.top, rop);
  SetStretchBltMode(dc, oldMode);
  SetBrushOrgEx(dc, origin.x, origin.y, nullptr);
}

COLORREF TCanvas::Pixel(int x, int y) const { return GetPixel(RequireHandle(), x, y); }
void TCanvas::SetPixel(int x, int y, TColor color) { ::SetPixel(RequireHandle(), x, y, ColorToRGB(color)); }

// --- TBitmap

namespace {

// Set once this thread's pool is gone: the thread, or the whole program, is
// ending. Bitmaps freed after that (statics, or objects the program's end
// takes) make and delete their DCs themselves instead of reaching a pool that
// no longer exists. A plain flag, so that it outlives the pool.
thread_local bool tPoolGone = false;

// Memory DCs for the canvases of bitmaps. Making one is dear on some systems
// (under Wine a round trip to the display server, a millisecond or so) and
// painting makes many short-lived bitmaps, so a freed canvas gives its DC
// back here, in the state it was taken, for the next one.
class TMemoryDCPool {
 public:
  ~TMemoryDCPool() {
    tPoolGone = true;
    for (HDC dc : FFree) DeleteDC(dc);
  }
  HDC Take() {
    if (FFree.empty()) return CreateCompatibleDC(nullptr);
    HDC dc = FFree.back();
    FFree.pop_back();
    return dc;
  }
  void Give(HDC dc) {
    if (FFree.size() < kKept)
      FFree.push_back(dc);
    else
      DeleteDC(dc);
  }

 private:
  static constexpr size_t kKept = 8;
  std::vector<HDC> FFree;
};

TMemoryDCPool& MemoryDCs() {
  thread_local TMemoryDCPool pool;
  return pool;
}

HDC TakeMemoryDC() { return tPoolGone ? CreateCompatibleDC(nullptr) : MemoryDCs().Take(); }

void GiveMemoryDC(HDC dc) {
  if (tPoolGone)
    DeleteDC(dc);
  else
    MemoryDCs().Give(dc);
}

}  // namespace

TBitmapCanvas::~TBitmapCanvas() { Unbind(); }

void TBitmapCanvas::Bind(HBITMAP bitmap) {
  Unbind();
  FMemDC = TakeMemoryDC();
  if (!FMemDC) return;  // a canvas without a DC draws nothing
  // Whatever the canvas's users leave selected or set goes with this level.
  FSavedLevel = SaveDC(FMemDC);
  if (bitmap) FOldBitmap = SelectObject(FMemDC, bitmap);
  SetHandle(FMemDC);
}

void TBitmapCanvas::Unbind() {
  if (!FMemDC) return;
  if (FOldBitmap) SelectObject(FMemDC, FOldBitmap);
  FOldBitmap = nullptr;
  if (FSavedLevel) RestoreDC(FMemDC, FSavedLevel);
  FSavedLevel = 0;
  GiveMemoryDC(FMemDC);
  FMemDC = nullptr;
  SetHandle(nullptr);
}

TBitmap::TBitmap() = default;
TBitmap::TBitmap(int width, int height) { Create(width, height); }
TBitmap::~TBitmap() {
  FCanvas.reset();  // deselects the bitmap before it is deleted
}

void TBitmap::Create(int width, int height) {
  if (width < 0 || height < 0 || width > 32768 || height > 32768)
    throw std::invalid_argument("bitmap size out of range");
  if (FCanvas) FCanvas->Unbind();
  FHandle.Reset();
  FBits = nullptr;
  FWidth = width;
  FHeight = height;
  if (width == 0 || height == 0) {
    if (FCanvas) FCanvas->Bind(nullptr);
    return;
  }
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;  // top-down: row y is at y * stride
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP h = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!h) throw std::runtime_error("out of GDI resources for a bitmap");
  FHandle = TGdiHandle<HBITMAP>(h, true);
  FBits = static_cast<std::uint8_t*>(bits);
  std::memset(FBits, 0xFF, static_cast<size_t>(Stride()) * height);  // white, as a fresh canvas
  if (FCanvas) FCanvas->Bind(h);
}

void TBitmap::SetSize(int width, int height) {
  if (width == FWidth && height == FHeight && FHandle) return;
  TBitmap old;
  const bool keep = FHandle && width > 0 && height > 0;
  if (keep) old.Assign(*this);
  Create(width, height);
  if (keep) old.Draw(Canvas(), 0, 0);
}

std::uint8_t* TBitmap::ScanLine(int y) {
  if (y < 0 || y >= FHeight || !FBits) throw std::out_of_range("scan line out of range");
  GdiFlush();
  return FBits + static_cast<size_t>(y) * Stride();
}

const std::uint8_t* TBitmap::ScanLine(int y) const { return const_cast<TBitmap*>(this)->ScanLine(y); }

TCanvas& TBitmap::Canvas() {
  if (!FCanvas) {
    FCanvas = std::make_unique<TBitmapCanvas>(*this);
    FCanvas->Bind(FHandle.Get());
  }
  return *FCanvas;
}

void TBitmap::Assign(const TBitmap& source) {
  if (&source == this) return;
  Create(source.FWidth, source.FHeight);
  if (FBits && source.FBits) {
    GdiFlush();
    std::memcpy(FBits, source.FBits, static_cast<size_t>(Stride()) * FHeight);
  }
}

void TBitmap::Draw(TCanvas& target, int x, int y) const {
  if (Empty()) return;
  // A bitmap can be selected into one DC only: copy from its own canvas.
  TCanvas& source = const_cast<TBitmap*>(this)->Canvas();
  BitBlt(target.Handle(), x, y, FWidth, FHeight, source.Handle(), 0, 0, SRCCOPY);
}

void TBitmap::FromHandle(HBITMAP source) {
  BITMAP bm{};
  if (!GetObjectW(source, sizeof bm, &bm)) throw std::runtime_error("not a bitmap");
  Create(bm.bmWidth, bm.bmHeight);
  HDC src = CreateCompatibleDC(nullptr);
  {
    TSelectGuard sel(src, source);
    BitBlt(Canvas().Handle(), 0, 0, FWidth, FHeight, src, 0, 0, SRCCOPY);
  }
  DeleteDC(src);
}

void TBitmap::LoadFromStream(std::istream& in) {
  // A skin can only hold modest images; anything larger is refused rather
  // than trusted.
  constexpr size_t kMaxFile = 64u << 20;
  std::vector<char> data;
  char chunk[65536];
  while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
    data.insert(data.end(), chunk, chunk + in.gcount());
    if (data.size() > kMaxFile) throw std::runtime_error("bitmap stream too large");
  }
  auto fail = [] { throw std::runtime_error("not a valid bitmap"); };
  if (data.size() < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)) fail();
  BITMAPFILEHEADER fh;
  std::memcpy(&fh, data.data(), sizeof fh);
  BITMAPINFOHEADER ih;
  std::memcpy(&ih, data.data() + sizeof fh, sizeof ih);
  if (fh.bfType != 0x4D42 || ih.biSize < sizeof(BITMAPINFOHEADER) || ih.biPlanes != 1) fail();
  const long long width = ih.biWidth, height = ih.biHeight < 0 ? -static_cast<long long>(ih.biHeight) : ih.biHeight;
  if (width <= 0 || height <= 0 || width > 32768 || height > 32768) fail();
  const unsigned bits = ih.biBitCount;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) fail();
  const bool rle = ih.biCompression == BI_RLE8 || ih.biCompression == BI_RLE4;
  if (!(ih.biCompression == BI_RGB || ih.biCompression == BI_BITFIELDS || (ih.biCompression == BI_RLE8 && bits == 8) ||
        (ih.biCompression == BI_RLE4 && bits == 4)))
    fail();
  const size_t headerEnd = sizeof fh + ih.biSize;
  size_t colours = bits <= 8 ? (ih.biClrUsed ? ih.biClrUsed : (1u << bits)) : 0;
  if (colours > 256) fail();
  const size_t masks = (ih.biCompression == BI_BITFIELDS && ih.biSize == sizeof(BITMAPINFOHEADER)) ? 3 : 0;
  const size_t tableEnd = headerEnd + (colours + masks) * 4;
  if (tableEnd > data.size() || fh.bfOffBits < tableEnd || fh.bfOffBits >= data.size()) fail();
  const size_t available = data.size() - fh.bfOffBits;
  const size_t stride = ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
  if (!rle && stride * static_cast<size_t>(height) > available) fail();
  if (rle && ih.biHeight < 0) fail();

  // GDI reads the header and colour table as they stand in the file.
  std::vector<char> info(data.begin() + sizeof fh, data.begin() + tableEnd);
  auto* bi = reinterpret_cast<BITMAPINFO*>(info.data());
  bi->bmiHeader.biSizeImage = static_cast<DWORD>(rle ? available : stride * height);
  TBitmap result(static_cast<int>(width), static_cast<int>(height));
  const int lines = SetDIBitsToDevice(result.Canvas().Handle(), 0, 0, static_cast<DWORD>(width),
                                      static_cast<DWORD>(height), 0, 0, 0, static_cast<UINT>(height),
                                      data.data() + fh.bfOffBits, bi, DIB_RGB_COLORS);
  if (lines <= 0) fail();
  Assign(result);
}

void TBitmap::LoadFromFile(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  if (!in) throw std::runtime_error("cannot open bitmap file " + Narrow(path));
  LoadFromStream(in);
}

void TBitmap::LoadFromResourceName(HINSTANCE instance, const std::wstring& name) {
  HBITMAP h = static_cast<HBITMAP>(LoadImageW(instance, name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!h) throw std::runtime_error("bitmap resource not found: " + Narrow(name));
  TGdiHandle<HBITMAP> owned(h, true);
  FromHandle(h);
}

void TBitmap::SaveToStream(std::ostream& out) const {
  const DWORD size = static_cast<DWORD>(Stride()) * FHeight;
  BITMAPFILEHEADER fh{};
  BITMAPINFOHEADER ih{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof fh + sizeof ih;
  fh.bfSize = fh.bfOffBits + size;
  ih.biSize = sizeof ih;
  ih.biWidth = FWidth;
  ih.biHeight = -FHeight;
  ih.biPlanes = 1;
  ih.biBitCount = 24;
  ih.biSizeImage = size;
  out.write(reinterpret_cast<const char*>(&fh), sizeof fh);
  out.write(reinterpret_cast<const char*>(&ih), sizeof ih);
  if (FBits) {
    GdiFlush();
    out.write(reinterpret_cast<const char*>(FBits), size);
  }
}

// --- TImageList

TImageList::TImageList(int width, int height)
    : FWidth(width), FHeight(height), FHandle(ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, 4, 4)) {
  if (!FHandle) throw std::runtime_error("cannot create an image list");
}

TImageList::~TImageList() { ImageList_Destroy(FHandle); }

int TImageList::Count() const { return ImageList_GetImageCount(FHandle); }

int TImageList::AddMasked(const TBitmap& bitmap, TColor transparent) {
  if (bitmap.Empty() || bitmap.Width() < FWidth) throw std::invalid_argument("bitmap narrower than one image");
  // The list keeps its own copy, and ImageList_AddMasked alters the source.
  TBitmap copy;
  copy.Assign(bitmap);
  HBITMAP h = static_cast<HBITMAP>(CopyImage(copy.Handle(), IMAGE_BITMAP, 0, 0, 0));
  const int first = ImageList_AddMasked(FHandle, h, ColorToRGB(transparent));
  DeleteObject(h);
  if (first < 0) throw std::runtime_error("cannot add to the image list");
  return first;
}

void TImageList::Clear() { ImageList_RemoveAll(FHandle); }

void TImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) const {
  if (index < 0 || index >= Count()) return;
  if (enabled) {
    ImageList_Draw(FHandle, index, canvas.Handle(), x, y, ILD_TRANSPARENT);
    return;
  }
  // Greyed: the mask's shape embossed in highlight and shadow, as disabled
  // glyphs look everywhere on the platform.
  HICON icon = ImageList_GetIcon(FHandle, index, ILD_TRANSPARENT);
  if (!icon) return;
  DrawStateW(canvas.Handle(), nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, x, y, FWidth, FHeight,
             DST_ICON | DSS_DISABLED);
  DestroyIcon(icon);
}

}  // namespace gui
