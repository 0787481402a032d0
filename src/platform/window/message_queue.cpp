// Sent and posted messages and the message wait. The wait takes, in Windows'
// order: posted messages, then device input (turned into mouse and keyboard
// messages as it reaches the front), then WM_QUIT, then WM_PAINT for a window
// with an invalid area, and WM_TIMER last. Everything runs on one thread, so
// a sent message is simply a call of the window procedure.

#include <algorithm>
#include <cctype>
#include <string>

#include "platform/kernel/processes.h"
#include "platform/window/clock.h"
#include "platform/window/input_queue.h"
#include "platform/window/presenter.h"
#include "platform/window/screen.h"
#include "platform/window/window_internal.h"
#include "platform/window/window_state.h"

namespace win {
namespace {

Presenter* presenter = nullptr;
IdleStepSource idleSource;
// When the screen was last shown because the program looked for messages.
std::optional<std::uint64_t> lastPollPresent;
// A program that computes still looks for messages now and then: what it drew
// meanwhile is shown about ten times a second, not only once it waits.
constexpr std::uint64_t kPollPresentMs = 100;

}  // namespace

Presenter* currentPresenter() {
    return presenter;
}
void setPresenter(Presenter* p) {
    presenter = p;
    lastPollPresent.reset();
}
void setIdleStepSource(IdleStepSource source) {
    idleSource = std::move(source);
}

namespace detail {
namespace {

std::uint64_t now() {
    return currentClock().nowMs();
}

}  // namespace

bool messageMatches(const MSG& m, HWND filter, UINT min, UINT max) {
    if (min || max)
        if (m.message < min || m.message > max) return false;
    if (filter && m.hwnd != filter && !IsChild(filter, m.hwnd)) return false;
    return true;
}

bool rangeIncludes(UINT min, UINT max, UINT first, UINT last) {
    if (!min && !max) return true;
    return !(last < min || first > max);
}

namespace {

Window* findPaintWindow(Window* w, HWND filter) {
    for (Window* c : w->children) {
        if (!(c->style & WS_VISIBLE)) continue;
        if ((c->updatePending || c->internalPaint) &&
            (!filter || c->handle == filter || IsChild(filter, c->handle)))
            return c;
        if (Window* d = findPaintWindow(c, filter)) return d;
    }
    return nullptr;
}

void record(const MSG& m) {
    auto& s = state();
    s.messageTime = m.time;
    s.messagePos = m.pt;
}

}  // namespace

LRESULT sendMessage(Window* w, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!w || !w->proc) return 0;
    return w->proc(w->handle, msg, wParam, lParam);
}

void postMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto& s = state();
    MSG m;
    m.hwnd = hwnd;
    m.message = msg;
    m.wParam = wParam;
    m.lParam = lParam;
    m.time = static_cast<DWORD>(now());
    m.pt = s.cursorPos;
    s.posted.push_back(m);
}

bool fetchMessage(MSG* out, HWND filter, UINT min, UINT max, bool remove, bool includeInput) {
    auto& s = state();
    if (presenter) presenter->poll();
    for (auto it = s.posted.begin(); it != s.posted.end(); ++it) {
        if (!messageMatches(*it, filter, min, max)) continue;
        *out = *it;
        if (remove) s.posted.erase(it);
        record(*out);
        return true;
    }
    if (includeInput && takeInputMessage(out, filter, min, max, remove)) {
        record(*out);
        return true;
    }
    if (s.quitPosted && rangeIncludes(min, max, WM_QUIT, WM_QUIT)) {
        *out = MSG{};
        out->message = WM_QUIT;
        out->wParam = static_cast<WPARAM>(s.quitCode);
        out->time = static_cast<DWORD>(now());
        if (remove) s.quitPosted = false;
        return true;
    }
    if (rangeIncludes(min, max, WM_PAINT, WM_PAINT)) {
        if (Window* w = findPaintWindow(s.desktop, filter)) {
            *out = MSG{};
            out->hwnd = w->handle;
            out->message = WM_PAINT;
            out->time = static_cast<DWORD>(now());
            out->pt = s.cursorPos;
            if (!w->updatePending) w->internalPaint = remove ? false : w->internalPaint;
            return true;
        }
    }
    if (rangeIncludes(min, max, WM_TIMER, WM_TIMER)) {
        const std::uint64_t t = now();
        for (Timer& timer : s.timers) {
            if (timer.due > t) continue;
            if (filter && timer.hwnd != filter && !IsChild(filter, timer.hwnd)) continue;
            *out = MSG{};
            out->hwnd = timer.hwnd;
            out->message = WM_TIMER;
            out->wParam = timer.id;
            out->lParam = reinterpret_cast<LPARAM>(timer.proc);
            out->time = static_cast<DWORD>(t);
            out->pt = s.cursorPos;
            if (remove) timer.due = t + std::max<UINT>(timer.elapse, 1);
            record(*out);
            return true;
        }
    }
    return false;
}

// Waits until something is queued: runs script steps, lets the presenter
// bring input, or lets the clock reach the next timer.
void waitForWork() {
    auto& s = state();
    presentScreen();
    // A viewer started and already ended is no zombie while the program idles.
    reapDetached();
    if (idleSource && idleSource()) return;
    std::optional<std::uint64_t> due;
    for (const Timer& t : s.timers)
        if (!due || t.due < *due) due = t.due;
    if (presenter) {
        presenter->wait(due);
        return;
    }
    if (due) {
        currentClock().sleepUntil(*due);
        return;
    }
    throw IdleWithoutInput("the message queue is empty and no input can arrive");
}

}  // namespace detail

using namespace detail;

LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return sendMessage(findWindow(hwnd), msg, wParam, lParam);
}

BOOL PostMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (hwnd && !findWindow(hwnd)) return FALSE;
    postMessage(hwnd, msg, wParam, lParam);
    return TRUE;
}

void PostQuitMessage(int exitCode) {
    state().quitPosted = true;
    state().quitCode = exitCode;
}

BOOL GetMessageA(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax) {
    while (!fetchMessage(msg, hwnd, filterMin, filterMax, true, true))
        waitForWork();
    return msg->message == WM_QUIT ? FALSE : TRUE;
}

BOOL PeekMessageA(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
    if (presenter) {
        const std::uint64_t t = now();
        if (!lastPollPresent || t < *lastPollPresent || t - *lastPollPresent >= kPollPresentMs) {
            lastPollPresent = t;
            presentScreen();
        }
    }
    return fetchMessage(msg, hwnd, filterMin, filterMax, (removeFlags & PM_REMOVE) != 0, true)
               ? TRUE
               : FALSE;
}

BOOL WaitMessage() {
    MSG m;
    while (!fetchMessage(&m, nullptr, 0, 0, false, true))
        waitForWork();
    return TRUE;
}

LRESULT DispatchMessageA(const MSG* msg) {
    if (!msg) return 0;
    Window* w = findWindow(msg->hwnd);
    if (msg->message == WM_TIMER && msg->lParam) {
        reinterpret_cast<TIMERPROC>(msg->lParam)(msg->hwnd, WM_TIMER, msg->wParam, msg->time);
        return 0;
    }
    if (!w) return 0;
    if (msg->message == WM_PAINT && w->frameDirty) paintNonClient(w);
    if (!findWindow(msg->hwnd)) return 0;
    return sendMessage(w, msg->message, msg->wParam, msg->lParam);
}

LONG GetMessageTime() {
    return static_cast<LONG>(state().messageTime);
}
DWORD GetMessagePos() {
    const POINT p = state().messagePos;
    return static_cast<DWORD>(MAKELONG(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
}

UINT RegisterWindowMessageA(LPCSTR name) {
    if (!name || !*name) return 0;
    std::string key(name);
    for (char& c : key)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    auto& s = state();
    auto [it, inserted] = s.registeredMessages.emplace(key, s.nextRegisteredMessage);
    if (inserted) ++s.nextRegisteredMessage;
    return it->second;
}

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
    auto& s = state();
    if (hwnd && !findWindow(hwnd)) return 0;
    if (!hwnd) {
        UINT_PTR fresh = 1;
        for (const Timer& t : s.timers)
            if (!t.hwnd && t.id >= fresh) fresh = t.id + 1;
        id = fresh;
    }
    const UINT period = std::max<UINT>(elapse, 10);
    for (Timer& t : s.timers)
        if (t.hwnd == hwnd && t.id == id) {
            t.elapse = period;
            t.proc = proc;
            t.due = now() + period;
            return hwnd ? 1 : id;
        }
    s.timers.push_back(Timer{hwnd, id, period, proc, now() + period});
    return hwnd ? 1 : id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
    auto& s = state();
    const auto before = s.timers.size();
    std::erase_if(s.timers, [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
    std::erase_if(s.posted, [&](const MSG& m) {
        return m.message == WM_TIMER && m.hwnd == hwnd && m.wParam == id;
    });
    return s.timers.size() != before ? TRUE : FALSE;
}

}  // namespace win
