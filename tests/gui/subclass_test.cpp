// Subclassing windows on top of the layer's and anyone else's procedures.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "gui/forms.h"
#include "gui/subclass.h"

using namespace gui;

namespace {

constexpr UINT WM_SUM = WM_APP + 7;

// The window's own procedure answers 1 to WM_SUM; every layer on top adds
// its own value to what the layers behind it answered.
int gBaseSums = 0;
LRESULT CALLBACK BaseProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SUM) return ++gBaseSums, 1;
  return DefWindowProcW(w, msg, wp, lp);
}

HWND MakeWindow() {
  static const bool registered = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &BaseProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QmSubclassTest";
    return RegisterClassW(&wc) != 0;
  }();
  EXPECT_TRUE(registered);
  return CreateWindowW(L"QmSubclassTest", L"", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                       GetModuleHandleW(nullptr), nullptr);
}

void AttachAdding(TWindowSubclass& s, HWND w, LRESULT add) {
  ASSERT_TRUE(s.Attach(w, [&s, add](UINT msg, WPARAM wp, LPARAM lp) {
    const LRESULT r = s.CallPrevious(msg, wp, lp);
    return msg == WM_SUM ? r + add : r;
  }));
}

// Counts the WM_SUM messages that reach it and passes everything on.
void AttachCounting(TWindowSubclass& s, HWND w, int& count) {
  ASSERT_TRUE(s.Attach(w, [&s, &count](UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_SUM) ++count;
    return s.CallPrevious(msg, wp, lp);
  }));
}

// A procedure put on with SetWindowLongPtr, as other code may do.
WNDPROC gRawPrevious = nullptr;
LRESULT CALLBACK RawProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  const LRESULT r = CallWindowProcW(gRawPrevious, w, msg, wp, lp);
  return msg == WM_SUM ? r + 1000 : r;
}

}  // namespace

TEST(Subclass, LayersStackWithForeignProceduresAndComeOffInAnyOrder) {
  // Which layer comes off at each step, and what the window answers after.
  const struct {
    const char* Name;
    std::vector<char> Order;
    std::vector<LRESULT> Sums;
  } cases[] = {
      {"newest first", {'B', 'R', 'A'}, {1011, 11, 1}},
      {"oldest first", {'A', 'R', 'B'}, {1101, 101, 1}},
      {"foreign one first", {'R', 'A', 'B'}, {111, 101, 1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    HWND w = MakeWindow();
    auto a = std::make_unique<TWindowSubclass>();
    auto b = std::make_unique<TWindowSubclass>();
    AttachAdding(*a, w, 10);
    gRawPrevious = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RawProc)));
    AttachAdding(*b, w, 100);
    EXPECT_EQ(SendMessageW(w, WM_SUM, 0, 0), 1111);
    EXPECT_FALSE(a->Attach(w, [](UINT, WPARAM, LPARAM) -> LRESULT { return 0; }));  // once only
    for (size_t i = 0; i < c.Order.size(); ++i) {
      switch (c.Order[i]) {
        case 'A': a.reset(); break;
        case 'B': b->Detach(); break;
        case 'R': SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gRawPrevious)); break;
      }
      EXPECT_EQ(SendMessageW(w, WM_SUM, 0, 0), c.Sums[i]) << "after taking off " << c.Order[i];
    }
    DestroyWindow(w);
  }
}

TEST(Subclass, LibraryFormKeepsWorkingUnderAndAfterASubclass) {
  TForm form(nullptr);
  std::vector<UINT> formSaw;
  auto inner = form.WindowProc;
  form.WindowProc = [&](TMessage& m) {
    if (m.Msg == WM_SUM) formSaw.push_back(m.Msg), m.Result = 5;
    else inner(m);
  };
  TWindowSubclass s;
  AttachAdding(s, form.Handle(), 20);
  EXPECT_EQ(SendMessageW(form.Handle(), WM_SUM, 0, 0), 25);
  s.Detach();
  EXPECT_EQ(SendMessageW(form.Handle(), WM_SUM, 0, 0), 5);
  EXPECT_EQ(formSaw.size(), 2u);
  form.SetCaption("still mine");
  wchar_t text[32] = {};
  GetWindowTextW(form.Handle(), text, 32);
  EXPECT_STREQ(text, L"still mine");
}

TEST(Subclass, DestroyedWindowTakesTheSubclassOffAfterPassingItOn) {
  // Detaching inside WM_NCDESTROY (as a skinner does before passing it on)
  // still lets the message through to the window's own procedure.
  for (bool detachFirst : {false, true}) {
    SCOPED_TRACE(detachFirst ? "detached in the handler" : "left attached");
    HWND w = MakeWindow();
    TWindowSubclass s;
    int destroyedCalls = 0;
    bool sawNcDestroy = false;
    s.OnWindowDestroyed = [&] { ++destroyedCalls; };
    ASSERT_TRUE(s.Attach(w, [&](UINT msg, WPARAM wp, LPARAM lp) {
      if (msg == WM_NCDESTROY) {
        sawNcDestroy = true;
        if (detachFirst) s.Detach();
      }
      return s.CallPrevious(msg, wp, lp);
    }));
    DestroyWindow(w);
    EXPECT_TRUE(sawNcDestroy);
    EXPECT_FALSE(s.Attached());
    EXPECT_EQ(destroyedCalls, detachFirst ? 0 : 1);
  }
}

TEST(Subclass, WindowDestroyedInsideItsOwnMessageTakesEverySubclassOffOnTheWayOut) {
  // WM_CLOSE reaches DefWindowProc, which destroys the window while the
  // chain is still running WM_CLOSE. One layer comes off and is freed on
  // the way back out, after the window has gone; the other is left on.
  for (bool freeOneOnTheWayOut : {false, true}) {
    SCOPED_TRACE(freeOneOnTheWayOut ? "one freed after the window went" : "both left on");
    HWND w = MakeWindow();
    TWindowSubclass left;
    auto freed = std::make_unique<TWindowSubclass>();
    int leftTold = 0, freedTold = 0;
    left.OnWindowDestroyed = [&] { ++leftTold; };
    freed->OnWindowDestroyed = [&] { ++freedTold; };
    AttachAdding(left, w, 1);
    ASSERT_TRUE(freed->Attach(w, [&](UINT msg, WPARAM wp, LPARAM lp) {
      const LRESULT r = freed->CallPrevious(msg, wp, lp);
      if (msg == WM_CLOSE && freeOneOnTheWayOut) {
        EXPECT_FALSE(IsWindow(w));
        freed.reset();
      }
      return r;
    }));
    SendMessageW(w, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(w));
    EXPECT_FALSE(left.Attached());
    EXPECT_EQ(leftTold, 1);
    EXPECT_EQ(freedTold, freeOneOnTheWayOut ? 0 : 1);
    if (freed) {
      EXPECT_FALSE(freed->Attached());
    }
    // Taken off for good: attaching again elsewhere works.
    HWND other = MakeWindow();
    EXPECT_TRUE(left.Attach(other, [&](UINT msg, WPARAM wp, LPARAM lp) { return left.CallPrevious(msg, wp, lp); }));
    EXPECT_EQ(SendMessageW(other, WM_SUM, 0, 0), 1);
    DestroyWindow(other);
  }
}

TEST(Subclass, FailingHandlerIsAnsweredByThePreviousProcedureOnce) {
  struct {
    const char* Name;
    bool CallFirst;
  } cases[] = {{"fails before default handling", false}, {"fails after default handling", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    HWND w = MakeWindow();
    TWindowSubclass counter, failing;
    int previousCalls = 0;
    gBaseSums = 0;
    AttachCounting(counter, w, previousCalls);
    std::vector<std::string> errors;
    failing.OnError = [&](std::exception_ptr e) {
      try {
        std::rethrow_exception(e);
      } catch (const std::exception& x) {
        errors.push_back(x.what());
      }
    };
    ASSERT_TRUE(failing.Attach(w, [&](UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
      if (msg != WM_SUM) return failing.CallPrevious(msg, wp, lp);
      if (c.CallFirst) failing.CallPrevious(msg, wp, lp);
      throw std::runtime_error("paint failed");
    }));
    EXPECT_EQ(SendMessageW(w, WM_SUM, 0, 0), 1);
    EXPECT_EQ(previousCalls, 1);
    EXPECT_EQ(gBaseSums, 1);
    EXPECT_EQ(errors, std::vector<std::string>{"paint failed"});
    DestroyWindow(w);
  }
}

TEST(Subclass, EveryCallOfThePreviousProcedureGoesThroughEveryLayerUnder) {
  HWND w = MakeWindow();
  TWindowSubclass lower, upper;
  int lowerSums = 0;
  gBaseSums = 0;
  AttachCounting(lower, w, lowerSums);
  ASSERT_TRUE(upper.Attach(w, [&](UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_SUM) return upper.CallPrevious(msg, wp, lp);
    wchar_t text[8];
    upper.CallPrevious(WM_GETTEXT, 8, reinterpret_cast<LPARAM>(text));  // another message first
    return upper.CallPrevious(msg, wp, lp) + upper.CallPrevious(msg, wp, lp);
  }));
  EXPECT_EQ(SendMessageW(w, WM_SUM, 0, 0), 2);
  EXPECT_EQ(lowerSums, 2);
  EXPECT_EQ(gBaseSums, 2);
  DestroyWindow(w);
}

TEST(Subclass, FreedWhileHandlingItsOwnMessageAndRefusedForOtherThreads) {
  HWND w = MakeWindow();
  auto s = std::make_unique<TWindowSubclass>();
  TWindowSubclass* raw = s.get();
  ASSERT_TRUE(raw->Attach(w, [&](UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
    const LRESULT r = raw->CallPrevious(msg, wp, lp);
    if (msg == WM_SUM) s.reset();
    return r + (msg == WM_SUM ? 40 : 0);
  }));
  EXPECT_EQ(SendMessageW(w, WM_SUM, 0, 0), 41);
  EXPECT_EQ(s, nullptr);
  EXPECT_EQ(SendMessageW(w, WM_SUM, 0, 0), 1);
  DestroyWindow(w);

  // The desktop window belongs to another thread.
  TWindowSubclass other;
  EXPECT_FALSE(other.Attach(GetDesktopWindow(), [](UINT, WPARAM, LPARAM) -> LRESULT { return 0; }));
  EXPECT_FALSE(other.Attached());
}
