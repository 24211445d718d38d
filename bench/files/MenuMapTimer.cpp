// Times a context menu of the focused window on an X display: presses Shift+F10 (or KEY, a
// keysym name such as Menu) through XTest and waits for the menu's window (an override-redirect
// window, as GTK maps its popovers and Qt its menus) to be mapped, then closes it with Escape and
// lets the program settle before the next try. Prints one line per try: the milliseconds from the
// key press to the map, or "timeout" after 30 s; stops after two timeouts in a row.
//
// With two more keys, each try first presses one of them, in turns, and is timed from there: for
// a file manager that builds its context menu when the selection changes rather than when the
// menu opens, keys that move the selection between two files (Home and End) make every try pay
// for building the menu. KEY "-" is Shift+F10.
//
//   tessel_menu_map_timer TRIES [SETTLE_MS [KEY [KEY KEY]]]
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <poll.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// The next event of `type` before `deadline`, or none.
std::optional<XEvent> waitFor(Display* display, int type, Clock::time_point deadline) {
  while (true) {
    while (XPending(display)) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type == type) return event;
    }
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return std::nullopt;
    pollfd descriptor{ConnectionNumber(display), POLLIN, 0};
    ::poll(&descriptor, 1, static_cast<int>(left.count()));
  }
}

void press(Display* display, KeySym modifier, KeySym key) {
  const KeyCode modifierCode = modifier ? XKeysymToKeycode(display, modifier) : 0;
  const KeyCode keyCode = XKeysymToKeycode(display, key);
  if (modifierCode) XTestFakeKeyEvent(display, modifierCode, True, CurrentTime);
  XTestFakeKeyEvent(display, keyCode, True, CurrentTime);
  XTestFakeKeyEvent(display, keyCode, False, CurrentTime);
  if (modifierCode) XTestFakeKeyEvent(display, modifierCode, False, CurrentTime);
  XFlush(display);
}

void drain(Display* display) {
  XSync(display, False);
  while (XPending(display)) {
    XEvent event;
    XNextEvent(display, &event);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s TRIES [SETTLE_MS [KEY [KEY KEY]]]\n", argv[0]);
    return 2;
  }
  const int tries = std::atoi(argv[1]);
  const int settle = argc > 2 ? std::atoi(argv[2]) : 700;
  // Dolphin opens its context menu for the Menu key alone.
  const bool named = argc > 3 && std::string_view(argv[3]) != "-";
  const KeySym modifier = named ? 0 : XK_Shift_L;
  const KeySym key = named ? XStringToKeysym(argv[3]) : XK_F10;
  const KeySym selecting[2] = {argc > 5 ? XStringToKeysym(argv[4]) : NoSymbol,
                               argc > 5 ? XStringToKeysym(argv[5]) : NoSymbol};
  if (key == NoSymbol) {
    std::fprintf(stderr, "unknown key %s\n", argv[3]);
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "cannot open the display\n");
    return 1;
  }
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
  int late = 0;
  for (int attempt = 0; attempt < tries; ++attempt) {
    drain(display);
    const Clock::time_point start = Clock::now();
    if (selecting[attempt % 2] != NoSymbol) press(display, 0, selecting[attempt % 2]);
    press(display, modifier, key);
    std::optional<XEvent> mapped;
    while ((mapped = waitFor(display, MapNotify, start + std::chrono::seconds(30)))) {
      if (mapped->xmap.override_redirect) break;
    }
    if (!mapped) {
      std::printf("timeout\n");
      std::fflush(stdout);
      // Files that took that long twice in a row is not going to answer the rest in time.
      if (++late == 2) break;
      press(display, 0, XK_Escape);  // a menu that comes later must not take the next key
      std::this_thread::sleep_for(std::chrono::milliseconds(settle));
      continue;
    }
    late = 0;
    const double millis = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    std::printf("%.2f\n", millis);
    std::fflush(stdout);
    press(display, 0, XK_Escape);
    while (auto unmapped = waitFor(display, UnmapNotify, Clock::now() + std::chrono::seconds(5))) {
      if (unmapped->xunmap.window == mapped->xmap.window) break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(settle));
  }
  XCloseDisplay(display);
  return 0;
}
