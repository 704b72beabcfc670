// Scroll bars painted from the skin: where the thumb goes for the control's
// scroll information, where the bars and their corner lie, and the thumb
// drag the skinner runs itself, driven by a real mouse.
#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "gui/common_controls.h"
#include "gui/std_controls.h"
#include "gui/subclass.h"
#include "skin/3_controls/skin_scrollbar.h"
#include "skinned_form.h"

namespace qm {
namespace {

using test::SkinnedForm;

TEST(SkinScrollbarThumb, FollowsRangePageAndPosition) {
  const int hthumb = GetSystemMetrics(SM_CXHTHUMB);
  const struct {
    const char* Case;
    int Min, Max, Page, Pos, Track;
    bool Known;
    int Thumb, Offset;
  } rows[] = {
      {"page is the whole range: track minus one, at the start", 0, 100, 100, 0, 200, true, 199, 0},
      {"a tenth of the range, at the start", 0, 100, 10, 0, 200, true, 20, 0},
      {"half way", 0, 100, 10, 45, 200, true, 20, 90},
      {"at the end", 0, 100, 10, 90, 200, true, 20, 180},
      {"a range not starting at zero", 50, 150, 10, 95, 200, true, 20, 90},
      {"a tiny page gets the smallest thumb", 0, 1000, 1, 0, 200, true, 8, 0},
      {"no page: the system's thumb size", 0, 100, 0, 50, 200, true, hthumb, (50 * (200 - hthumb) + 50) / 100},
      {"a page beyond the range cannot move", 0, 10, 20, 5, 200, true, 200, 0},
      {"an empty range changes nothing", 5, 5, 0, 5, 200, false, -1, -1},
  };
  for (const auto& r : rows) {
    SCROLLINFO info{sizeof info, SIF_ALL, r.Min, r.Max, static_cast<UINT>(r.Page), r.Pos, r.Pos};
    TSkinScrollbar::TBarMetrics m;
    m.Thumb = m.Offset = -1;
    EXPECT_EQ(TSkinScrollbar::ThumbMetrics(info, r.Track, 16, m), r.Known) << r.Case;
    EXPECT_EQ(m.Thumb, r.Thumb) << r.Case;
    EXPECT_EQ(m.Offset, r.Offset) << r.Case;
  }
}

TEST_F(SkinnedForm, BarsLieAlongTheirEdgeWithTheCornerBetweenThem) {
  Attach();
  const int B = GetSystemMetrics(SM_CXHSCROLL);
  const struct {
    const char* Case;
    DWORD Style, ExStyle;
    bool VertAtLeft, Horizontal;
  } rows[] = {
      {"vertical only", WS_VSCROLL, 0, false, false},
      {"vertical only, left scroll bar", WS_VSCROLL, WS_EX_LEFTSCROLLBAR, true, false},
      {"both", WS_VSCROLL | WS_HSCROLL, 0, false, true},
      {"both, left scroll bar", WS_VSCROLL | WS_HSCROLL, WS_EX_LEFTSCROLLBAR, true, true},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.Case);
    HWND list = CreateWindowExW(WS_EX_CLIENTEDGE | r.ExStyle, L"LISTBOX", nullptr,
                                WS_CHILD | WS_VISIBLE | LBS_NOINTEGRALHEIGHT | LBS_DISABLENOSCROLL | r.Style, 10, 10,
                                200, 150, Form.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    for (int i = 0; i < 40; ++i) SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"一行很长很长很长很长很长很长的文字"));
    SendMessageW(list, LB_SETHORIZONTALEXTENT, 600, 0);
    auto* bars = Form.Make<TSkinScrollbar>();
    bars->InitWindow(list, &Skin, &FormSkinner->Controls());
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    RECT window;
    GetWindowRect(list, &window);
    const int W = window.right - window.left, H = window.bottom - window.top;
    const RECT& v = bars->VertBarRect;
    EXPECT_EQ(v.right - v.left, B);
    EXPECT_EQ(r.VertAtLeft ? v.left : W - v.right, v.top) << "the border's width on the bar's side";
    EXPECT_EQ(r.Horizontal, bars->HorzBarRect.right > bars->HorzBarRect.left);
    const RECT& c = bars->Corner;
    if (!r.Horizontal) {
      EXPECT_TRUE(IsRectEmpty(&c));
      EXPECT_EQ(v.bottom, H - v.top);
    } else {
      EXPECT_EQ(c.right - c.left, B);
      EXPECT_EQ(c.bottom - c.top, B);
      EXPECT_EQ(Pixel(list, (c.left + c.right) / 2, (c.top + c.bottom) / 2), gui::ColorToRGB(Skin.Skin()->ButtonFaceColour));
    }
    DestroyWindow(list);
  }
}

// Records the scroll messages a control gets, outside every handler.
struct TScrollLog {
  std::vector<WPARAM> Codes;
  int TrackedBySkinner = 0;
  gui::TWindowSubclass Spy;
  TScrollLog(HWND window, const TSkinScrollbar& bars) {
    Spy.Attach(window, [this, &bars](UINT msg, WPARAM w, LPARAM l) {
      if (msg == WM_VSCROLL) {
        Codes.push_back(w);
        TrackedBySkinner += LOWORD(w) == SB_THUMBTRACK && bars.Tracking;
      }
      return Spy.CallPrevious(msg, w, l);
    });
  }
};

// A memo long enough to scroll, skinned, and where its thumb is grabbed.
class SkinnedMemo : public SkinnedForm {
 protected:
  void SetUp() override {
    SkinnedForm::SetUp();
    memo = Add<gui::TMemo>(&Form, 10, 10, 240, 200);
    std::vector<std::string> lines;
    for (int i = 0; i < 200; ++i) lines.push_back("第 " + std::to_string(i) + " 行");
    memo->SetLines(lines);
    Attach();
    SetForegroundWindow(Form.Handle());
    bars = dynamic_cast<TSkinScrollbar*>(SkinnerOf(memo->Handle()));
    ASSERT_NE(bars, nullptr);
    ASSERT_TRUE(bars->TrackThumb);
  }
  // The middle of the thumb, on the screen, as painted now.
  POINT Grab() {
    RedrawWindow(memo->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    const TSkinScrollbar::TBarMetrics& m = bars->VertMetrics;
    EXPECT_GT(m.Track, m.Thumb);
    RECT bar = bars->VertBarRect, window;
    GetWindowRect(memo->Handle(), &window);
    return POINT{window.left + (bar.left + bar.right) / 2, window.top + bar.top + m.Arrow + m.Offset + m.Thumb / 2};
  }
  gui::TMemo* memo = nullptr;
  TSkinScrollbar* bars = nullptr;
};

TEST_F(SkinnedMemo, TheThumbIsDraggedByTheSkinnerWithOneMessagePerNewPosition) {
  const POINT grab = Grab();
  TScrollLog log(memo->Handle(), *bars);
  std::atomic<bool> done{false};
  std::thread hand([&] {
    auto send = [](DWORD flags) { qmtest::SendMouse(flags); };
    SetCursorPos(grab.x, grab.y);
    Sleep(150);
    send(MOUSEEVENTF_LEFTDOWN);
    Sleep(100);
    for (int step = 1; step <= 8; ++step) {
      SetCursorPos(grab.x, grab.y + step * 8);
      send(MOUSEEVENTF_MOVE);
      Sleep(40);
    }
    send(MOUSEEVENTF_LEFTUP);
    Sleep(100);
    done = true;
  });
  qmtest::PumpFor(4000, [&] { return done.load(); });
  hand.join();
  qmtest::PumpFor(100);
  ASSERT_GE(log.Codes.size(), 3u);
  // Thumb-track only for a new position, then the last one again, then the end.
  for (size_t i = 0; i + 2 < log.Codes.size(); ++i) {
    EXPECT_EQ(LOWORD(log.Codes[i]), SB_THUMBTRACK) << i;
    if (i > 0) {
      EXPECT_NE(HIWORD(log.Codes[i]), HIWORD(log.Codes[i - 1])) << i;
    }
  }
  const WPARAM last = log.Codes[log.Codes.size() - 3];
  EXPECT_EQ(LOWORD(log.Codes[log.Codes.size() - 2]), SB_THUMBPOSITION);
  EXPECT_EQ(HIWORD(log.Codes[log.Codes.size() - 2]), HIWORD(last));
  EXPECT_EQ(LOWORD(log.Codes.back()), SB_ENDSCROLL);
  EXPECT_EQ(log.TrackedBySkinner, static_cast<int>(log.Codes.size()) - 2) << "the skinner's drag, not the system's";
  EXPECT_GT(SendMessageW(memo->Handle(), EM_GETFIRSTVISIBLELINE, 0, 0), 0);
  EXPECT_FALSE(bars->Tracking);
}

using qmtest::SendMouse;

TEST_F(SkinnedMemo, TheThumbDragEndsWhenTheMouseIsTakenAway) {
  HWND h = memo->Handle();
  // Another window of the thread that takes the capture when told.
  gui::TWindowSubclass taker;
  taker.Attach(Form.Handle(), [&](UINT msg, WPARAM w, LPARAM l) {
    if (msg == WM_APP + 9) {
      SetCapture(Form.Handle());
      ReleaseCapture();
      return LRESULT{0};
    }
    return taker.CallPrevious(msg, w, l);
  });
  // How the system takes the mouse away: Alt+Tab, the Windows key or a
  // locked screen cancel the mode; a window may take the capture itself.
  const struct {
    const char* Case;
    HWND To;
    UINT Msg;
  } rows[] = {{"the mode cancelled", h, WM_CANCELMODE}, {"the capture taken", Form.Handle(), WM_APP + 9}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.Case);
    const POINT grab = Grab();
    std::atomic<bool> ended{false}, endedBeforeRelease{false}, done{false};
    gui::TWindowSubclass spy;
    spy.Attach(h, [&](UINT msg, WPARAM w, LPARAM l) {
      if (msg == WM_VSCROLL && LOWORD(w) == SB_THUMBPOSITION) ended = true;
      return spy.CallPrevious(msg, w, l);
    });
    std::thread hand([&] {
      SetCursorPos(grab.x, grab.y);
      Sleep(150);
      SendMouse(MOUSEEVENTF_LEFTDOWN);
      Sleep(100);
      SetCursorPos(grab.x, grab.y + 16);
      SendMouse(MOUSEEVENTF_MOVE);
      Sleep(100);
      DWORD_PTR ignored = 0;
      SendMessageTimeoutW(r.To, r.Msg, 0, 0, SMTO_NORMAL, 2000, &ignored);
      for (int i = 0; i < 100 && !ended; ++i) Sleep(10);
      endedBeforeRelease = ended.load();
      SendMouse(MOUSEEVENTF_LEFTUP);
      Sleep(100);
      done = true;
    });
    qmtest::PumpFor(5000, [&] { return done.load(); });
    hand.join();
    qmtest::PumpUntilSettled();
    EXPECT_TRUE(endedBeforeRelease);
    EXPECT_FALSE(bars->Tracking);
  }
}

TEST_F(SkinnedForm, ListBoxesScrollByArrowAndWheelUnderTheSkinnedBar) {
  auto* list = Add<gui::TListBox>(&Form, 10, 10, 200, 160);
  for (int i = 0; i < 100; ++i) list->Add("第 " + std::to_string(i) + " 项");
  Attach();
  SetForegroundWindow(Form.Handle());
  HWND h = list->Handle();
  auto* bars = dynamic_cast<TSkinScrollbar*>(SkinnerOf(h));
  ASSERT_NE(bars, nullptr);
  RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
  RECT window;
  GetWindowRect(h, &window);
  const RECT bar = bars->VertBarRect;
  const POINT downArrow{window.left + (bar.left + bar.right) / 2, window.top + bar.bottom - bars->VertMetrics.Arrow / 2};
  const struct {
    const char* Way;
    std::function<void()> Act;
  } ways[] = {
      {"a click on the down arrow", [&] {
         SetCursorPos(downArrow.x, downArrow.y);
         Sleep(100);
         SendMouse(MOUSEEVENTF_LEFTDOWN);
         Sleep(60);
         SendMouse(MOUSEEVENTF_LEFTUP);
       }},
      {"the wheel", [&] {
         SetCursorPos(window.left + 50, window.top + 50);
         Sleep(100);
         SendMouse(MOUSEEVENTF_WHEEL, static_cast<DWORD>(-WHEEL_DELTA));
       }},
  };
  for (const auto& w : ways) {
    SCOPED_TRACE(w.Way);
    const LRESULT before = SendMessageW(h, LB_GETTOPINDEX, 0, 0);
    std::atomic<bool> done{false};
    std::thread hand([&] {
      w.Act();
      Sleep(200);
      done = true;
    });
    qmtest::PumpFor(3000, [&] { return done.load(); });
    hand.join();
    qmtest::PumpFor(100);
    const LRESULT after = SendMessageW(h, LB_GETTOPINDEX, 0, 0);
    EXPECT_GT(after, before);
    // The skinned bar was painted anew for the new position.
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(bars->VertInfo.nPos, after);
  }
}

TEST_F(SkinnedForm, AStandAloneScrollBarIsPaintedWholeAndFollowsItsPosition) {
  // The control counts its range inclusively: 0..99 with a page of 100 is full.
  const struct {
    int Min, Max, Page, Pos, Thumb, Offset;
  } rows[] = {{0, 99, 100, 0, 199, 0}, {0, 99, 10, 0, 20, 0}, {0, 99, 10, 90, 20, 180}};
  for (const auto& r : rows) {
    SCROLLINFO info{sizeof info, SIF_ALL, r.Min, r.Max, static_cast<UINT>(r.Page), r.Pos, r.Pos};
    TSkinScrollbar::TBarMetrics m;
    ASSERT_TRUE(TSkinScControl::ThumbMetrics(info, 200, 16, m));
    EXPECT_EQ(m.Thumb, r.Thumb) << r.Page << "/" << r.Pos;
    EXPECT_EQ(m.Offset, r.Offset) << r.Page << "/" << r.Pos;
  }
  auto* bar = Form.Make<gui::TScrollBar>();
  bar->Vertical = true;
  bar->PageSize = 10;
  bar->SetParent(&Form);
  bar->SetBounds(10, 10, 17, 200);
  bar->SetPosition(0);
  Attach();
  auto* skinner = bar->Make<TSkinScControl>();
  skinner->InitControl(&FormSkinner->Controls(), &Skin, false);
  RedrawWindow(bar->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  const int before = skinner->Metrics.Offset;
  for (int i = 0; i < 20; ++i)
    SendMessageW(Form.Handle(), WM_VSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(bar->Handle()));
  EXPECT_EQ(bar->Position(), 20);
  EXPECT_EQ(skinner->HitPart, TSkinScrollbar::hpDown);
  EXPECT_GT(skinner->Metrics.Offset, before) << "painted anew where the position puts the thumb";
}

}  // namespace
}  // namespace qm
